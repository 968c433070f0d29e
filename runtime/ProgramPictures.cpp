#include "ProgramPictures.h"

#include "BmpFile.h"
#include "Platform.h"
#include "RuntimeError.h"

#include <functional>
#include <map>
#include <string>

namespace lumeno {

const PixelImage& programPicture(std::string_view name) {
    static std::map<std::string, PixelImage, std::less<>> decoded;
    auto found = decoded.find(name);
    if (found == decoded.end()) {
        const std::vector<unsigned char> file = platform::resourceFile(name, "bmp");
        if (file.empty())
            throw RuntimeError(ErrorKind::ControlCallFailed,
                               "The program has no picture named " + std::string(name) + ".");
        found = decoded.emplace(std::string(name), decodeBmp(file)).first;
    }
    return found->second;
}

} // namespace lumeno
