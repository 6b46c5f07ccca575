#!/usr/bin/env bash
# Makes the two Windows Installer packages from the shipped programs that
# scripts/build.sh built, with Debian's wixl (resources/installer/ferlane.wxs):
#   ferlane-<version>-x86.msi  build/xp32/ferlane.exe, for 32-bit Windows (XP SP2 and later)
#   ferlane-<version>-x64.msi  build/xp64/ferlane64.exe, for 64-bit Windows
# each with ferlane.chm, into build/packages (or the folder given as $1).
# The version is the project version, read from the header CMake made of it.
#
# Signing: when FERLANE_SIGN_CERT and FERLANE_SIGN_KEY name a code-signing
# certificate and its private key (PEM or DER; FERLANE_SIGN_TIMESTAMP_URL, if
# set, an RFC 3161 time-stamping server), both programs are signed before they
# are packaged, then both packages, with osslsigncode. Otherwise nothing is
# signed, and this says so in one line.
#
# Sourced, it only defines its functions (the installer tests use them) and
# leaves the shell's options alone.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
WXS="$ROOT/resources/installer/ferlane.wxs"

# version_of HEADER: the version as people read it ("1.0"), then the package
# version ("1.0.0"), from the header CMake configured.
version_of() {
  local header="$1" text major minor patch
  text="$(sed -n 's/^#define FERLANE_VERSION_TEXT "\(.*\)"$/\1/p' "$header")"
  major="$(sed -n 's/^#define FERLANE_VERSION_MAJOR \([0-9]*\)$/\1/p' "$header")"
  minor="$(sed -n 's/^#define FERLANE_VERSION_MINOR \([0-9]*\)$/\1/p' "$header")"
  patch="$(sed -n 's/^#define FERLANE_VERSION_PATCH \([0-9]*\)$/\1/p' "$header")"
  if [ -z "$text" ] || [ -z "$major" ] || [ -z "$minor" ] || [ -z "$patch" ]; then
    echo "package: no version in $header" >&2
    return 1
  fi
  echo "$text $major.$minor.$patch"
}

# product_code ARCH VERSION: a name-based GUID, the same for every build of one
# version and width, so that a rebuilt package is recognised as the product
# already installed instead of being added beside it.
product_code() {
  local h
  h="$(printf 'Ferlane %s %s' "$1" "$2" | sha1sum | cut -c1-32 | tr a-f A-F)"
  # The GUID's version (5, name-based) and variant bits.
  printf '%s-%s-5%s-%X%s-%s\n' "${h:0:8}" "${h:8:4}" "${h:13:3}" $(( (0x${h:16:1} & 3) | 8 )) "${h:17:3}" "${h:20:12}"
}

# make_msi ARCH VERSION STAGE OUT: compiles the package of one width from the
# files in STAGE (the program, ferlane.chm, ferlane.ico). wixl finds the files
# a source names in the folder it runs in.
make_msi() {
  local arch="$1" version="$2" stage="$3" out
  out="$(realpath -m "$4")"
  (cd "$stage" && wixl --arch "$arch" -D Arch="$arch" -D Version="$version" \
     -D ProductCode="$(product_code "$arch" "$version")" -o "$out" "$WXS") || return 1
  # wixl always declares the package English (1033) in its platform and
  # language summary; the product is French. Everything else is kept.
  local summary platform
  summary="$(msiinfo suminfo "$out")"
  platform="$(sed -n 's/^Template: \([^;]*\);.*/\1/p' <<<"$summary")"
  msibuild "$out" -s "$(sed -n 's/^Subject: //p' <<<"$summary")" "$(sed -n 's/^Author: //p' <<<"$summary")" \
    "$platform;1036" "$(sed -n 's/^Revision number (UUID): //p' <<<"$summary")"
}

signing_configured() { [ -n "${FERLANE_SIGN_CERT:-}" ] && [ -n "${FERLANE_SIGN_KEY:-}" ]; }

# sign_file FILE: signs an exe or a package in place with the configured certificate.
sign_file() {
  local file="$1" signed="$1.signed"
  local args=(sign -certs "$FERLANE_SIGN_CERT" -key "$FERLANE_SIGN_KEY" -h sha256
              -n "Ferlane" -in "$file" -out "$signed")
  [ -n "${FERLANE_SIGN_TIMESTAMP_URL:-}" ] && args+=(-ts "$FERLANE_SIGN_TIMESTAMP_URL")
  rm -f "$signed"
  if ! osslsigncode "${args[@]}" >/dev/null; then
    rm -f "$signed"
    echo "package: signing $file failed" >&2
    return 1
  fi
  mv -f "$signed" "$file"
}

if [[ "${BASH_SOURCE[0]}" != "$0" ]]; then return 0; fi
set -euo pipefail

OUT="${1:-$ROOT/build/packages}"
read -r VERSION_TEXT VERSION < <(version_of "$ROOT/build/xp32/generated/version.h")
STAGE="$(mktemp -d)"
trap 'rm -rf "$STAGE"' EXIT
mkdir -p "$OUT"
if signing_configured; then
  echo "package: signing with $FERLANE_SIGN_CERT"
else
  echo "package: FERLANE_SIGN_CERT and FERLANE_SIGN_KEY are not set: the programs and the packages are not signed"
fi
for pair in x86:xp32/ferlane.exe x64:xp64/ferlane64.exe; do
  arch="${pair%%:*}"
  program="$ROOT/build/${pair#*:}"
  mkdir -p "$STAGE/$arch"
  cp "$program" "$(dirname "$program")/ferlane.chm" "$ROOT/resources/ferlane.ico" "$STAGE/$arch/"
  # The program inside the package is signed too, so Windows shows its
  # publisher when it starts, not only when the package installs.
  if signing_configured; then sign_file "$STAGE/$arch/$(basename "$program")"; fi
  msi="$OUT/ferlane-$VERSION_TEXT-$arch.msi"
  make_msi "$arch" "$VERSION" "$STAGE/$arch" "$msi"
  if signing_configured; then sign_file "$msi"; fi
  echo "package: $msi"
done
