#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12 machine (run as root).
# Idempotent: each step is skipped when its result is already there.
set -euo pipefail

DEPS_PREFIX="${FERLANE_DEPS:-/opt/ferlane-deps}"
WORK="$DEPS_PREFIX/src"
CMAKE_DIR="$(cd "$(dirname "$0")/.." && pwd)/cmake"

log() { printf '[setup] %s\n' "$*"; }
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }
export DEBIAN_FRONTEND=noninteractive

# The deb-src entries that mirror the machine's own Debian main-archive entries
# (deb822 .sources files and one-line .list files alike), so the sources come
# from whatever mirror the machine uses. $1: the apt configuration folder.
apt_source_entries() {
  local etc="$1" f
  for f in "$etc"/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    # One stanza per paragraph; keep the enabled ones of type deb on the main archive.
    awk '
      function flush() {
        n = split(uris, u, " "); m = split(suites, s, " ")
        if (!off && types ~ /(^| )deb( |$)/ && comps ~ /(^| )main( |$)/)
          for (i = 1; i <= n; i++)
            for (j = 1; j <= m; j++)
              if (s[j] !~ /-security$/ && u[i] !~ /security/ && u[i] !~ /^cdrom:/)
                print "deb-src " (key != "" ? "[signed-by=" key "] " : "") u[i] " " s[j] " main"
        types = uris = suites = comps = key = ""; off = 0
      }
      /^[ \t]*#/ { next }
      /^[ \t]*$/ { flush(); next }
      tolower($1) == "types:"      { $1 = ""; types = $0 }
      tolower($1) == "uris:"       { $1 = ""; uris = $0 }
      tolower($1) == "suites:"     { $1 = ""; suites = $0 }
      tolower($1) == "components:" { $1 = ""; comps = $0 }
      tolower($1) == "signed-by:" && $2 ~ /^\// { key = $2 }
      tolower($1) == "enabled:" && tolower($2) == "no" { off = 1 }
      END { flush() }' "$f"
  done
  for f in "$etc"/sources.list "$etc"/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    # "deb [options] URI suite components...": the same line as deb-src, main only.
    awk '$1 == "deb" {
           i = 2; opts = ""
           if ($2 ~ /^\[/) { while (i < NF && $i !~ /\]$/) { opts = opts " " $i; i++ } opts = opts " " $i; i++ }
           uri = $i; suite = $(i + 1); hasmain = 0
           for (k = i + 2; k <= NF; k++) if ($k == "main") hasmain = 1
           if (hasmain && suite !~ /-security$/ && uri !~ /security/ && uri !~ /^cdrom:/)
             print "deb-src" opts " " uri " " suite " main"
         }' "$f"
  done | LC_ALL=C sort -u
}

# "setup.sh --apt-source-entries [DIR]" only prints those entries (for the tests).
if [ "${1:-}" = "--apt-source-entries" ]; then
  apt_source_entries "${2:-/etc/apt}"
  exit 0
fi

# The 32-bit programs run under Debian's 32-bit Wine, from the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  log "adding the i386 architecture (32-bit Wine)"
  dpkg --add-architecture i386
  apt-get update -qq
fi

need_apt=()
for pkg in cmake ninja-build make g++ libgtest-dev mingw-w64 \
           g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
           g++-mingw-w64-x86-64-win32 gcc-mingw-w64-x86-64-win32 \
           g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix \
           g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 \
           wine64 wine32:i386 xvfb xauth x11-utils imagemagick dpkg-dev \
           fonts-wine fp-utils-3.2.2 clang-14 \
           msitools wixl osslsigncode openssl python3 libxml2-utils \
           autoconf automake libtool libsodium-dev; do
  installed "$pkg" || need_apt+=("$pkg")
done
if [ ${#need_apt[@]} -gt 0 ]; then
  log "installing ${need_apt[*]}"
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need_apt[@]}"
fi

# A Debian source package, unpacked once into $WORK/$2/src, from the mirror the
# machine's own apt configuration names. $1: the source package.
fetch_source() {
  local package="$1" dir="$WORK/$2"
  [ -f "$dir/src/debian/changelog" ] && return 0
  local aptdir="$WORK/apt"
  mkdir -p "$aptdir/lists/partial" "$aptdir/cache/archives/partial"
  # A private apt configuration carries the deb-src entries: the machine's own stays untouched.
  apt_source_entries /etc/apt > "$aptdir/sources.list"
  if [ ! -s "$aptdir/sources.list" ]; then
    echo "[setup] no Debian main-archive entry in /etc/apt to take $package's source from" >&2
    return 1
  fi
  local aptopt=(-o "Dir::Etc::SourceList=$aptdir/sources.list" -o "Dir::Etc::SourceParts=/nonexistent"
                -o "Dir::State::Lists=$aptdir/lists" -o "Dir::Cache=$aptdir/cache")
  log "fetching $package sources"
  apt-get "${aptopt[@]}" update -qq
  rm -rf "$dir" && mkdir -p "$dir"
  # dpkg-source applies Debian's own patches (security fixes among them).
  (cd "$dir" && apt-get "${aptopt[@]}" source --download-only "$package" >/dev/null \
     && dpkg-source --no-check -x ./*.dsc src >/dev/null)
}
JPEG_SRC="$WORK/jpeg/src"
SODIUM_SRC="$WORK/sodium/src"

# libsodium's source carries no configure script: made once, as Debian's own
# build does (autoreconf).
fetch_sodium() {
  fetch_source libsodium sodium
  [ -x "$SODIUM_SRC/configure" ] && return 0
  log "making libsodium's configure script"
  (cd "$SODIUM_SRC" && autoreconf -fi >"$WORK/sodium-autoreconf.log" 2>&1) \
    || { tail -20 "$WORK/sodium-autoreconf.log" >&2; return 1; }
}

# libsodium (the password's Argon2id) for one toolchain, static, into its
# prefix. No stack protector (it would need libssp) and no pthreads: on Windows
# libsodium locks and draws random bytes with the system's own calls, which
# Windows XP has.
build_sodium() {
  local name="$1" prefix="$2" arch="${1%-win32}" threads=posix
  [ "$arch" != "$1" ] && threads=win32
  [ -f "$prefix/lib/libsodium.a" ] && return 0
  fetch_sodium
  log "building libsodium for $name (static)"
  local dir="$WORK/sodium-build-$name"
  rm -rf "$dir" && mkdir -p "$dir"
  (cd "$dir" \
     && "$SODIUM_SRC/configure" --host="$arch-w64-mingw32" CC="$arch-w64-mingw32-gcc-$threads" \
          --prefix="$prefix" --disable-shared --enable-static --disable-ssp --disable-pthreads \
     && make -j 2 && make install) >"$dir.log" 2>&1 || { tail -20 "$dir.log" >&2; return 1; }
}

# libjpeg, libsodium (and GoogleTest for the test toolchains) built with one toolchain into
# its own prefix: the toolchain file names the prefix the build then looks in.
build_deps() {
  local toolchain="$CMAKE_DIR/mingw-w64-$1.cmake" prefix="$DEPS_PREFIX/$2" with_gtest="$3"
  mkdir -p "$prefix"
  if [ ! -f "$prefix/lib/libjpeg.a" ]; then
    fetch_source libjpeg-turbo jpeg
    log "building libjpeg-turbo for $1 (static, no SIMD)"
    rm -rf "$WORK/jpeg-build-$1"
    cmake -S "$JPEG_SRC" -B "$WORK/jpeg-build-$1" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
      -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=ON -Wno-dev >/dev/null
    cmake --build "$WORK/jpeg-build-$1" -j 2 --target install >/dev/null
  fi
  build_sodium "$1" "$prefix"
  if [ "$with_gtest" = 1 ] && [ ! -f "$prefix/lib/libgtest.a" ]; then
    log "building googletest for $1"
    rm -rf "$WORK/gtest-build-$1"
    cmake -S /usr/src/googletest -B "$WORK/gtest-build-$1" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$prefix" -Dgtest_disable_pthreads=OFF -DBUILD_GMOCK=ON >/dev/null
    cmake --build "$WORK/gtest-build-$1" -j 2 --target install >/dev/null
  fi
}

# Test programs: posix threads (GoogleTest needs std::mutex). Shipped programs:
# win32 threads, whose runtime imports only what Windows XP has.
build_deps x86_64       mingw64       1
build_deps i686         mingw32       1
build_deps x86_64-win32 mingw64-win32 0
build_deps i686-win32   mingw32-win32 0
log "dependencies ready in $DEPS_PREFIX"
