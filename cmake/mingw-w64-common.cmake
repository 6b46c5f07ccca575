# Shared by the four MinGW-w64 toolchains. The including file sets
# FERLANE_MINGW_ARCH (x86_64 or i686) and FERLANE_MINGW_THREADS (posix or win32).
#
# The win32 thread model is the one that starts on Windows XP: the posix model's
# runtime (libwinpthread) imports GetTickCount64, which XP lacks. GCC 12's win32
# model has no std::thread/std::mutex, which GoogleTest needs, so the shipped
# programs use win32 and the test programs posix, from the same sources.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${FERLANE_MINGW_ARCH})
set(FERLANE_MINGW_TRIPLET ${FERLANE_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${FERLANE_MINGW_TRIPLET}-gcc-${FERLANE_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${FERLANE_MINGW_TRIPLET}-g++-${FERLANE_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${FERLANE_MINGW_TRIPLET}-windres)

# Each (architecture, thread model) pair has its own build of the libraries
# (libjpeg, GoogleTest) in a prefix of its own, made by scripts/setup.sh.
if(FERLANE_MINGW_ARCH STREQUAL "x86_64")
  set(FERLANE_DEPS_NAME mingw64)
else()
  set(FERLANE_DEPS_NAME mingw32)
endif()
if(FERLANE_MINGW_THREADS STREQUAL "win32")
  string(APPEND FERLANE_DEPS_NAME -win32)
endif()
if(DEFINED ENV{FERLANE_DEPS})
  set(FERLANE_DEPS_PREFIX $ENV{FERLANE_DEPS}/${FERLANE_DEPS_NAME})
else()
  set(FERLANE_DEPS_PREFIX /opt/ferlane-deps/${FERLANE_DEPS_NAME})
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${FERLANE_MINGW_TRIPLET} ${FERLANE_DEPS_PREFIX})
list(APPEND CMAKE_PREFIX_PATH ${FERLANE_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
