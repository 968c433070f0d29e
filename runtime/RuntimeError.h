#pragma once

#include <stdexcept>
#include <string>

namespace lumeno {

class TextBox;

// The four kinds of run-time error. Handlers do not return error codes: every
// failure travels as a RuntimeError to the error report.
enum class ErrorKind {
    TypeMismatch,      // a text that is not a number
    Overflow,          // a value that does not fit a 16-bit integer
    FloatingPoint,     // division by zero, overflow or invalid operation in the curve
    ControlCallFailed, // a property or method call on the window or a control failed
};

// The name the error report gives to each kind, e.g. "Type mismatch".
const char* errorName(ErrorKind kind);

class RuntimeError : public std::runtime_error {
public:
    // `cause` says in plain words what went wrong; it becomes the report's second line.
    RuntimeError(ErrorKind kind, const std::string& cause)
        : std::runtime_error(cause), kind_(kind) {}

    ErrorKind kind() const { return kind_; }
    std::string cause() const { return what(); }
    // For a type mismatch in a text box's text, the box, to be corrected; otherwise null.
    const TextBox* textToCorrect() const { return textToCorrect_; }
    void setTextToCorrect(const TextBox* box) { textToCorrect_ = box; }

private:
    ErrorKind kind_;
    const TextBox* textToCorrect_ = nullptr;
};

} // namespace lumeno
