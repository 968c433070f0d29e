#include "TextBoxControl.h"

#include "WideText.h"
#include "Window.h"

namespace lumeno::win32 {

std::string TextBoxControl::text() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
    return toUtf8(text);
}

void TextBoxControl::focusWithTextSelected() {
    SendMessageW(window_, EM_SETSEL, 0, -1);
    form_.focusControl(window_);
}

} // namespace lumeno::win32
