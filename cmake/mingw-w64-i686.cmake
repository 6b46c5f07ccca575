# Cross compiling for 32-bit Windows with MinGW-w64 (posix threads): the 32-bit test programs, run under 32-bit Wine.
set(FERLANE_MINGW_ARCH i686)
set(FERLANE_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
