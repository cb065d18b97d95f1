# What both mingw-w64 toolchain files share; each sets
# VELKARO_MINGW_TRIPLET and the processor first, then includes this file.
# Compilers of the posix thread model; everything linked statically, so the
# programs need nothing but the DLLs of Windows itself.

set(CMAKE_SYSTEM_NAME Windows)
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
