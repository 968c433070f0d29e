#include "FloatingPointStatus.h"

#include <cfenv>

#if defined(__MINGW32__) && (defined(__x86_64__) || (defined(__i386__) && defined(__SSE2__)))
#define LUMENO_SSE_STATUS 1
#include <xmmintrin.h>
#endif

namespace lumeno {

namespace {

constexpr int errorFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

} // namespace

#ifdef LUMENO_SSE_STATUS
// MinGW-w64's <cfenv> functions execute cpuid on every call to find out whether there is an
// SSE unit, which takes microseconds in a virtual machine, ten times a colour. x86-64 and a
// 32-bit build with SSE2 arithmetic have one and do all double arithmetic in it, so its
// status register holds every flag the curve's steps can raise; it is read and cleared here
// directly. On 32-bit x86 the x87 unit still loads and stores the double results that
// functions return in st(0), and the run-time's long-integer conversions and rounding run on
// it, so its status word is read and cleared too, as <cfenv> does. Both hold the flags at the
// same bits.
static_assert(FE_INVALID == _MM_EXCEPT_INVALID && FE_DIVBYZERO == _MM_EXCEPT_DIV_ZERO &&
              FE_OVERFLOW == _MM_EXCEPT_OVERFLOW);

void clearFloatingPointStatus() {
#ifdef __i386__
    __asm__ volatile("fnclex" ::: "memory");
#endif
    _mm_setcsr(_mm_getcsr() & ~unsigned{_MM_EXCEPT_MASK});
}

int raisedFloatingPointErrors() {
    unsigned raised = _mm_getcsr();
#ifdef __i386__
    unsigned short x87Status = 0;
    __asm__ volatile("fnstsw %0" : "=am"(x87Status)::"memory");
    raised |= x87Status;
#endif
    return static_cast<int>(raised) & errorFlags;
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
