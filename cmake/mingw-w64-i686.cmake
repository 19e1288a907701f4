# Cross-compiles 32-bit Windows programs (the 32-bit editor stand-in) with Debian's MinGW-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(HIVESCOUT_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${HIVESCOUT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HIVESCOUT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${HIVESCOUT_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HIVESCOUT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Static runtime, so that the programs need no MinGW DLLs inside Wine or on Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

