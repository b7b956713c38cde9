# 32-bit Windows (32-bit Office) with Debian's mingw-w64 posix compilers.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ADDINS_TRIPLE i686-w64-mingw32)
# Where this machine runs no 32-bit programs, the tests under Wine are skipped.
set(ADDINS_WINE_ARGS --x86)
set(ADDINS_WIDL_FLAGS -m32 -L /usr/lib/i386-linux-gnu/wine/i386-windows)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
