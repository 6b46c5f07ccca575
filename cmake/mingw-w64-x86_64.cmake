# Cross compiling for 64-bit Windows with MinGW-w64 (posix threads): the test programs, run under Wine.
set(FERLANE_MINGW_ARCH x86_64)
set(FERLANE_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
