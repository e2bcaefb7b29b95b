# Cross build of the Windows program with mingw-w64 (64-bit, x86-64 SSE2).
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The compilers of the posix-threads flavour (Debian's g++-mingw-w64-x86-64-posix):
# their C++ library has std::thread and std::mutex, on which the local server of
# `autore serve` runs. Their threads library is linked statically like the rest,
# so the programs still need no DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
find_program(CMAKE_CXX_COMPILER NAMES ${MINGW_TRIPLET}-g++-posix)
if(NOT CMAKE_CXX_COMPILER)
  message(FATAL_ERROR "${MINGW_TRIPLET}-g++-posix is missing: apt-get install g++-mingw-w64-x86-64-posix")
endif()
find_program(CMAKE_C_COMPILER NAMES ${MINGW_TRIPLET}-gcc-posix)
find_program(CMAKE_RC_COMPILER NAMES ${MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Lets the build run its Windows programs (the test probe) through wine.
find_program(WINE_PROGRAM NAMES wine64 wine)
if(WINE_PROGRAM)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_PROGRAM})
endif()
