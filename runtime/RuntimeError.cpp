#include "RuntimeError.h"

namespace lumeno {

const char* errorName(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::TypeMismatch:
        return "Type mismatch";
    case ErrorKind::Overflow:
        return "Overflow";
    case ErrorKind::FloatingPoint:
        return "Floating-point error";
    case ErrorKind::ControlCallFailed:
        return "Control call failed";
    }
    return "Run-time error";
}

} // namespace lumeno
