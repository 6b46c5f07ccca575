# Cross compiling for 32-bit Windows with MinGW-w64 (win32 threads): the shipped ferlane.exe.
set(FERLANE_MINGW_ARCH i686)
set(FERLANE_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
