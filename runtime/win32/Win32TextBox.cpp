#include "Win32TextBox.h"

#include "WideText.h"
#include "Win32FormWindow.h"

namespace lumeno {

std::string Win32TextBox::text() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
    return toUtf8(text);
}

void Win32TextBox::focusWithTextSelected() {
    SendMessageW(window_, EM_SETSEL, 0, -1);
    form_.focusControl(window_);
}

} // namespace lumeno
