#include "ProgramResources.h"

#include "BmpFile.h"
#include "RuntimeError.h"
#include "WideText.h"

#include <span>
#include <string>

namespace lumeno {

PixelImage loadPicture(std::string_view name) {
    const HMODULE program = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(program, toWide(name).c_str(), RT_RCDATA);
    HGLOBAL loaded = found != nullptr ? LoadResource(program, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr)
        throw RuntimeError(ErrorKind::ControlCallFailed,
                           "The program has no picture named " + std::string(name) + ".");
    return decodeBmp(
        std::span(static_cast<const unsigned char*>(bytes), SizeofResource(program, found)));
}

OwnedIcon loadIcon(std::string_view name, int size) {
    return OwnedIcon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), toWide(name).c_str(), IMAGE_ICON, size, size, 0)));
}

} // namespace lumeno
