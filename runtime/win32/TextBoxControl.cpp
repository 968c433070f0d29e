#include "TextBoxControl.h"

#include "WideText.h"

namespace lumeno::win32 {

std::string TextBoxControl::text() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
    return toUtf8(text);
}

} // namespace lumeno::win32
