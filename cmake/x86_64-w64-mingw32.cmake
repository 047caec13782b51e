# Cross build for 64-bit Windows with MinGW-w64: the build that the tests run
# under 64-bit Wine, on hosts that run no 32-bit code. Same sources as the
# 32-bit release.
set(QUORVANE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUORVANE_WINEARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
