# Cross-compiles 32-bit Windows programs (the 32-bit editor stand-in) with Debian's
# MinGW-w64 (posix thread model), as the 64-bit toolchain does the rest.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(HIVESCOUT_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)
