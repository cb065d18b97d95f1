# Cross build for 64-bit (x86_64) Windows with Debian's mingw-w64 compilers
# of the posix thread model. Everything is linked statically, so the
# programs need nothing but the DLLs of Windows itself.
#   cmake -S . -B build/win-... \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(VELKARO_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELKARO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELKARO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VELKARO_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELKARO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# A release program carries no symbols.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
