# Cross-builds lumeno for Windows with Debian's MinGW-w64 compilers, the variant with POSIX
# threads (std::thread and std::mutex through winpthreads). Included by the toolchain file of
# each architecture, which sets LUMENO_MINGW_ARCH (x86_64 or i686):
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake
#   cmake -S . -B build-windows-x86 --toolchain cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${LUMENO_MINGW_ARCH})

set(LUMENO_MINGW_PREFIX ${LUMENO_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${LUMENO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMENO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${LUMENO_MINGW_PREFIX}-windres)

# Libraries and headers come from the MinGW-w64 tree only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${LUMENO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# 32-bit x86 computes in SSE2 registers, as x86-64 does: every double step is rounded to double
# once (the x87 unit would keep extended precision). Every processor that runs Windows 8 has
# SSE2, as do all but a few pre-2003 ones that run Windows 7.
if(LUMENO_MINGW_ARCH STREQUAL i686)
  set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
  set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
endif()

# libgcc, libstdc++ and winpthreads linked in, so that a program imports nothing but
# Windows' own DLLs and runs from wherever it is copied.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
