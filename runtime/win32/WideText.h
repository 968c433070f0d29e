#pragma once

#include <string>
#include <string_view>

namespace lumeno::win32 {

// The run-time's UTF-8 text and the UTF-16 text of the Windows API. Invalid sequences
// become U+FFFD.
std::wstring toWide(std::string_view text);
std::string toUtf8(std::wstring_view text);

} // namespace lumeno::win32
