# Cross build for 64-bit (x86_64) Windows with Debian's mingw-w64 compilers.
#   cmake -S . -B build/win-... \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake

set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(VELKARO_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
