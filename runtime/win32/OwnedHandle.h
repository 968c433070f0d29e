#pragma once

#include <memory>
#include <type_traits>
#include <windows.h>

namespace lumeno::win32 {

// Windows handles that are released with the object owning them.
struct WindowDestroyer {
    void operator()(HWND window) const { DestroyWindow(window); }
};
struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
};
struct IconDestroyer {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};

using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;
using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

} // namespace lumeno::win32
