set(CMAKE_C_COMPILER ${ADDINS_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ADDINS_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ADDINS_TRIPLE}-windres)
set(ADDINS_WIDL ${ADDINS_TRIPLE}-widl)
set(CMAKE_FIND_ROOT_PATH /usr/${ADDINS_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Static runtime: the DLLs and the sandbox need nothing beyond system DLLs at run time.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
# Tests and the sandbox run under Wine, started the project's one way.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine ${ADDINS_WINE_ARGS})
