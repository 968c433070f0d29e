#pragma once

#include <charconv>
#include <string>
#include <type_traits>

#ifndef __cpp_lib_to_chars
#include "DecimalText.h"
#endif

namespace lumeno {

// A number as messages show it: the shortest text that reads back as the same value ("40000",
// "-0.5", "3.4028235e+38"), always with a point. std::to_string follows the C locale, which Qt
// sets from the environment, and would write "40000,000000" under a German one.
template <typename Number> std::string numberText(Number value) {
#ifndef __cpp_lib_to_chars // no floating-point std::to_chars
    if constexpr (std::is_floating_point_v<Number>) {
        return shortestDecimal(value);
    } else
#endif
    {
        char text[32];
        return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
    }
}

} // namespace lumeno
