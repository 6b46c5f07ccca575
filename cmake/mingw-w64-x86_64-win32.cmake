# Cross compiling for 64-bit Windows with MinGW-w64 (win32 threads): the shipped ferlane64.exe.
set(FERLANE_MINGW_ARCH x86_64)
set(FERLANE_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
