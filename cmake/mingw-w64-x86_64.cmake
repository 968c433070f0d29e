# Cross-builds lumeno for 64-bit Windows with Debian's MinGW-w64 compilers, the variant
# with POSIX threads (std::thread and std::mutex through winpthreads):
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LUMENO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LUMENO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMENO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${LUMENO_MINGW_PREFIX}-windres)

# Libraries and headers come from the MinGW-w64 tree only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${LUMENO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthreads linked in, so that a program imports nothing but
# Windows' own DLLs and runs from wherever it is copied.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
