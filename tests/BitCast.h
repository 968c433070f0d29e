#pragma once

#include <bit>

// std::bit_cast, which libc++ 13 lacks; its compiler has the builtin the standard one is made
// of.
template <typename To, typename From> constexpr To bitCast(const From& from) noexcept {
#ifdef __cpp_lib_bit_cast
    return std::bit_cast<To>(from);
#else
    return __builtin_bit_cast(To, from);
#endif
}
