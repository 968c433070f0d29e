#pragma once

#include <span>
#include <string_view>

namespace lumeno::web {

// A file compiled into the program, so that it needs no request.
struct EmbeddedResource {
    std::string_view name;
    std::string_view type;
    std::span<const unsigned char> bytes;
};

// The program's files, as lumeno_add_resources compiles them in.
std::span<const EmbeddedResource> embeddedResources();

} // namespace lumeno::web
