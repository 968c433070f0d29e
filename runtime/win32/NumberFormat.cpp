// The user's number format on the Win32 API.
#include "Platform.h"
#include "WideText.h"

#include <iterator>
#include <windows.h>

namespace lumeno::platform {

std::string decimalSeparator() {
    // The user's number format, with the decimal symbol they may have set themselves; at most
    // three characters and the terminating null.
    wchar_t separator[8];
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                                       static_cast<int>(std::size(separator)));
    return length > 0 ? win32::toUtf8(std::wstring_view(separator, length - 1)) : std::string();
}

} // namespace lumeno::platform
