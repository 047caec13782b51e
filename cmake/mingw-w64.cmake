# What both MinGW-w64 cross builds share; the toolchain file of each word size
# sets QUORVANE_MINGW_TRIPLE, CMAKE_SYSTEM_PROCESSOR and QUORVANE_WINEARCH and
# includes this.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${QUORVANE_MINGW_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${QUORVANE_MINGW_TRIPLE}-g++)
set(CMAKE_RC_COMPILER  ${QUORVANE_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# ctest starts every test executable through this script, inside the
# project's own Wine prefix of the same word size.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
