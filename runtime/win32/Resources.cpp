#include "Resources.h"

#include "Platform.h"
#include "WideText.h"

namespace lumeno::win32 {

OwnedIcon loadIcon(std::string_view name, int size) {
    return OwnedIcon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), toWide(name).c_str(), IMAGE_ICON, size, size, 0)));
}

} // namespace lumeno::win32

namespace lumeno::platform {

// Files are stored as raw data under their name alone: the type is the program's to know.
std::vector<unsigned char> resourceFile(std::string_view name, std::string_view /*type*/) {
    const HMODULE program = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(program, win32::toWide(name).c_str(), RT_RCDATA);
    HGLOBAL loaded = found != nullptr ? LoadResource(program, found) : nullptr;
    const auto* bytes =
        static_cast<const unsigned char*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (bytes == nullptr)
        return {};
    return {bytes, bytes + SizeofResource(program, found)};
}

} // namespace lumeno::platform
