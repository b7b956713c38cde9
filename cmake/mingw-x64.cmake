# 64-bit Windows (64-bit Office) with Debian's mingw-w64 posix compilers.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ADDINS_TRIPLE x86_64-w64-mingw32)
set(ADDINS_WIDL_FLAGS -m64 -L /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
