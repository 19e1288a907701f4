# Cross-compiles the 64-bit Windows programs with Debian's MinGW-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
# The 32-bit toolchain sets its own processor and prefix and includes this file.
if(NOT HIVESCOUT_MINGW_PREFIX)
  set(CMAKE_SYSTEM_PROCESSOR x86_64)
  set(HIVESCOUT_MINGW_PREFIX x86_64-w64-mingw32)
endif()
set(CMAKE_C_COMPILER ${HIVESCOUT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HIVESCOUT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${HIVESCOUT_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HIVESCOUT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages of the build machine (its own GoogleTest, say) cannot link into Windows programs.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime, so that the programs need no MinGW DLLs inside Wine or on Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# CTest runs the Windows test programs through Wine on the private bench.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
