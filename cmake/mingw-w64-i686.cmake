# The Windows program for 32-bit x86 (32-bit Windows): see mingw-w64.cmake.
set(LUMENO_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
