# Cross build for 32-bit Windows with MinGW-w64: the release that users run.
# Its tests can run under 32-bit Wine, where the host runs 32-bit code.
set(QUORVANE_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUORVANE_WINEARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
