# Cross build for 32-bit (i686) Windows with Debian's mingw-w64 compilers.
#   cmake -S . -B build/win-... \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake

set(CMAKE_SYSTEM_PROCESSOR x86)
set(VELKARO_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
