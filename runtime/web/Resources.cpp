// The program's resources in a browser: compiled into the program (EmbeddedResource.h).
#include "EmbeddedResource.h"
#include "Platform.h"

#include <algorithm>

namespace lumeno::platform {

std::vector<unsigned char> resourceFile(std::string_view name, std::string_view type) {
    for (const web::EmbeddedResource& resource : web::embeddedResources())
        if (resource.name == name && resource.type == type)
            return {resource.bytes.begin(), resource.bytes.end()};
    return {};
}

} // namespace lumeno::platform
