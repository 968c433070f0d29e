# What the build needs for the browser platform (emscripten, cmake/emscripten.cmake), included
# by the top-level CMakeLists.txt before any target is made.
set(LUMENO_PACKAGING_DIR packaging/web)

# Compiles the program's pictures into a target, where the backend finds them by name:
# the program asks for nothing once its own files are loaded.
function(lumeno_add_resources target)
  set(pictures ${LUMENO_RESOURCE_FILES})
  list(FILTER pictures INCLUDE REGEX "\\.bmp$")
  set(code ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  add_custom_command(OUTPUT ${code}
    COMMAND ${CMAKE_COMMAND} "-DFILES=${pictures}" -DOUTPUT=${code}
      -P ${PROJECT_SOURCE_DIR}/runtime/web/EmbedResources.cmake
    DEPENDS ${pictures} ${PROJECT_SOURCE_DIR}/runtime/web/EmbedResources.cmake VERBATIM)
  target_sources(${target} PRIVATE ${code})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/runtime/web)
endfunction()
