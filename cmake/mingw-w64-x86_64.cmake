# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 compilers. The
# POSIX-threads variant gives the standard library its threads; everything is
# linked statically, so the .exe files run without any DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KORVEX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KORVEX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVEX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KORVEX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KORVEX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
