# The Windows program for x86-64 (64-bit Windows): see mingw-w64.cmake.
set(LUMENO_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
