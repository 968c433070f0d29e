#include "FloatingPointStatus.h"

#include <cfenv>

#if defined(__MINGW64__) && defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace lumeno {

namespace {

constexpr int errorFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

} // namespace

#if defined(__MINGW64__) && defined(__x86_64__)
// MinGW-w64's <cfenv> functions execute cpuid on every call to find out whether there is an
// SSE unit, which takes microseconds in a virtual machine, ten times a colour. x86-64 always
// has one and does all double arithmetic in it, so its status register holds every flag the
// curve's steps can raise; it is read and cleared here directly.
static_assert(FE_INVALID == _MM_EXCEPT_INVALID && FE_DIVBYZERO == _MM_EXCEPT_DIV_ZERO &&
              FE_OVERFLOW == _MM_EXCEPT_OVERFLOW);

void clearFloatingPointStatus() {
    _mm_setcsr(_mm_getcsr() & ~unsigned{_MM_EXCEPT_MASK});
}

int raisedFloatingPointErrors() {
    return static_cast<int>(_mm_getcsr()) & errorFlags;
}
#else
void clearFloatingPointStatus() {
    std::feclearexcept(FE_ALL_EXCEPT);
}

int raisedFloatingPointErrors() {
    return std::fetestexcept(errorFlags);
}
#endif

} // namespace lumeno
