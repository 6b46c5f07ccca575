#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12 machine (run as root).
# Idempotent: each step is skipped when its result is already there.
set -euo pipefail

DEPS_PREFIX="${FERLANE_DEPS:-/opt/ferlane-deps}"
MINGW_PREFIX="$DEPS_PREFIX/mingw64"
WORK="$DEPS_PREFIX/src"

log() { printf '[setup] %s\n' "$*"; }

need_apt=()
for pkg in cmake ninja-build make g++ libgtest-dev mingw-w64 g++-mingw-w64-x86-64-posix \
           gcc-mingw-w64-x86-64-posix wine64 xvfb xauth x11-utils imagemagick dpkg-dev \
           fonts-wine fp-utils-3.2.2; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "ok installed" || need_apt+=("$pkg")
done
if [ ${#need_apt[@]} -gt 0 ]; then
  log "installing ${need_apt[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need_apt[@]}"
fi

mkdir -p "$WORK" "$MINGW_PREFIX"
TOOLCHAIN="$(cd "$(dirname "$0")/.." && pwd)/cmake/mingw-w64-x86_64.cmake"

# libjpeg for the Windows target, from Debian's own source package. A private apt
# configuration carries the deb-src entry so the machine's sources stay untouched.
if [ ! -f "$MINGW_PREFIX/lib/libjpeg.a" ]; then
  APTDIR="$WORK/apt"
  mkdir -p "$APTDIR/lists/partial" "$APTDIR/cache/archives/partial"
  echo "deb-src http://deb.debian.org/debian bookworm main" > "$APTDIR/sources.list"
  APTOPT=(-o "Dir::Etc::SourceList=$APTDIR/sources.list" -o "Dir::Etc::SourceParts=/nonexistent"
          -o "Dir::State::Lists=$APTDIR/lists" -o "Dir::Cache=$APTDIR/cache")
  log "fetching libjpeg-turbo sources"
  apt-get "${APTOPT[@]}" update -qq
  rm -rf "$WORK/jpeg" && mkdir -p "$WORK/jpeg"
  (cd "$WORK/jpeg" && apt-get "${APTOPT[@]}" source --download-only libjpeg-turbo >/dev/null \
     && dpkg-source --no-check -x ./*.dsc src >/dev/null)
  log "building libjpeg-turbo (static, no SIMD)"
  cmake -S "$WORK/jpeg/src" -B "$WORK/jpeg/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$MINGW_PREFIX" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=ON -Wno-dev >/dev/null
  cmake --build "$WORK/jpeg/build" --target install >/dev/null
fi

# clang with libFuzzer for the fuzz targets.
for pkg in clang-14; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "ok installed"; then
    log "installing $pkg"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$pkg"
  fi
done

# GoogleTest for the Windows target, from Debian's sources.
if [ ! -f "$MINGW_PREFIX/lib/libgtest.a" ]; then
  log "building googletest for the Windows target"
  cmake -S /usr/src/googletest -B "$WORK/gtest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$MINGW_PREFIX" -Dgtest_disable_pthreads=OFF -DBUILD_GMOCK=ON >/dev/null
  cmake --build "$WORK/gtest-build" --target install >/dev/null
fi
log "dependencies ready in $MINGW_PREFIX"
