# Cross-building for the browser (WebAssembly) with Debian's emscripten, whose system libraries
# come prebuilt in its frozen cache:
#   cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake -DBUILD_TESTING=ON
# ctest runs the tests under Node.js.
set(LUMENO_PLATFORM web CACHE STRING "The run-time's platform: a folder of runtime/")

find_program(LUMENO_EMXX em++ REQUIRED)
get_filename_component(lumeno_emscripten_root ${LUMENO_EMXX} REALPATH)
get_filename_component(lumeno_emscripten_root ${lumeno_emscripten_root} DIRECTORY)
find_program(LUMENO_NODE NAMES node nodejs REQUIRED)
# Emscripten 3.1.6's loader fetches the .wasm file with fetch when there is one, and Node 18 and
# later have one that takes no file paths; without it the loader reads the file.
set(CMAKE_CROSSCOMPILING_EMULATOR ${LUMENO_NODE} --no-experimental-fetch)
include(${lumeno_emscripten_root}/cmake/Modules/Platform/Emscripten.cmake)

# The optimising linker runs JavaScript passes that need acorn, which Debian keeps where Node
# does not look for it.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
# The run-time's errors are exceptions, thrown and caught. The programs exit with their status
# and take the memory they need.
set(CMAKE_CXX_FLAGS_INIT "-fexceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT
  "-fexceptions -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1")
