# Writes OUTPUT, a C++ file that defines lumeno::web::embeddedResources() with the bytes of
# each file of FILES (a list), named by its file name without extension and typed by the
# extension. Run as cmake -DFILES=... -DOUTPUT=... -P EmbedResources.cmake.
set(arrays "")
set(entries "")
set(index 0)
foreach(file IN LISTS FILES)
  get_filename_component(name ${file} NAME_WE)
  get_filename_component(type ${file} LAST_EXT)
  string(SUBSTRING ${type} 1 -1 type)
  file(READ ${file} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
  string(APPEND arrays "constexpr unsigned char file${index}[] = {\n${bytes}};\n")
  string(APPEND entries "    {\"${name}\", \"${type}\", file${index}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.new "// Made by EmbedResources.cmake from the program's resources.
#include \"EmbeddedResource.h\"

namespace lumeno::web {

namespace {

${arrays}
constexpr EmbeddedResource resources[] = {
${entries}};

} // namespace

std::span<const EmbeddedResource> embeddedResources() {
    return resources;
}

} // namespace lumeno::web
")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
