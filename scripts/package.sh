#!/usr/bin/env bash
# Makes the two Windows Installer packages from the shipped programs that
# scripts/build.sh built, with Debian's wixl (resources/installer/ferlane.wxs):
#   ferlane-<version>-x86.msi  build/xp32/ferlane.exe, for 32-bit Windows (XP SP2 and later)
#   ferlane-<version>-x64.msi  build/xp64/ferlane64.exe, for 64-bit Windows
# each with ferlane.chm and the administrative templates (policies\), into
# build/packages (or the folder given as $1), with the templates beside them.
# The version is the project version, read from the header CMake made of it.
#
# Signing, when a certificate is given: FERLANE_SIGN_PKCS12 names a PKCS#12
# file (.pfx, .p12) holding the code-signing certificate and its key, or
# FERLANE_SIGN_CERT and FERLANE_SIGN_KEY name them apart (PEM or DER). A
# password for the key is read from the file FERLANE_SIGN_PASSWORD_FILE names,
# or from the environment variable FERLANE_SIGN_PASSWORD; it is handed to
# osslsigncode on its standard input, never on a command line that other
# processes can read. FERLANE_SIGN_TIMESTAMP_URL names an RFC 3161
# time-stamping server; without one the build warns that the signatures end
# with the certificate. The shipped programs are signed in place, in
# build/xp32 and build/xp64, before they are packaged, so that those handed out
# from build/ and those in the packages are the same files; then the packages
# are signed. Without a certificate nothing is signed, and this says so in
# one line.
# FERLANE_BUILD_DIR names another build folder (the signing test's copy).
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

# installed_kb STAGE: what the package puts in the program's folder and
# below it (every staged file but the icon, which Windows Installer keeps
# apart), in KB rounded up, as Add/Remove Programs shows it.
installed_kb() {
  local bytes
  bytes="$(find "$1" -type f ! -name ferlane.ico -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')"
  echo $(( (bytes + 1023) / 1024 ))
}

# make_msi ARCH VERSION STAGE OUT: compiles the package of one width from the
# files in STAGE (the program, ferlane.chm, ferlane.ico, policies\). wixl finds the files
# a source names in the folder it runs in.
make_msi() {
  local arch="$1" version="$2" stage="$3" out
  out="$(realpath -m "$4")"
  (cd "$stage" && wixl --arch "$arch" -D Arch="$arch" -D Version="$version" \
     -D ProductCode="$(product_code "$arch" "$version")" -D EstimatedSize="$(installed_kb "$stage")" \
     -o "$out" "$WXS") || return 1
  # wixl always declares the package English (1033) in its platform and
  # language summary; the product is French. Everything else is kept.
  local summary platform
  summary="$(msiinfo suminfo "$out")"
  platform="$(sed -n 's/^Template: \([^;]*\);.*/\1/p' <<<"$summary")"
  msibuild "$out" -s "$(sed -n 's/^Subject: //p' <<<"$summary")" "$(sed -n 's/^Author: //p' <<<"$summary")" \
    "$platform;1036" "$(sed -n 's/^Revision number (UUID): //p' <<<"$summary")"
}

signing_configured() {
  [ -n "${FERLANE_SIGN_PKCS12:-}" ] || { [ -n "${FERLANE_SIGN_CERT:-}" ] && [ -n "${FERLANE_SIGN_KEY:-}" ]; }
}

# sign_file FILE: signs an exe or a package in place with the configured
# certificate; osslsigncode replaces a signature an earlier build left. A
# failure removes the partial output, says which file and why, and returns 1.
sign_file() {
  local file="$1" signed="$1.signed" rc=0 said
  local args=(sign -h sha256 -n "Ferlane")
  if [ -n "${FERLANE_SIGN_PKCS12:-}" ]; then
    args+=(-pkcs12 "$FERLANE_SIGN_PKCS12")
  else
    args+=(-certs "$FERLANE_SIGN_CERT" -key "$FERLANE_SIGN_KEY")
  fi
  [ -n "${FERLANE_SIGN_TIMESTAMP_URL:-}" ] && args+=(-ts "$FERLANE_SIGN_TIMESTAMP_URL")
  rm -f "$signed"
  args+=(-in "$file" -out "$signed")
  # The status is taken, not left to set -e: that would end the build here,
  # before the partial output is removed and the failure named.
  if [ -n "${FERLANE_SIGN_PASSWORD_FILE:-}" ]; then
    said="$(osslsigncode "${args[@]}" -readpass "$FERLANE_SIGN_PASSWORD_FILE" 2>&1)" || rc=$?
  elif [ -n "${FERLANE_SIGN_PASSWORD+set}" ]; then
    said="$(printf '%s' "$FERLANE_SIGN_PASSWORD" | osslsigncode "${args[@]}" -readpass - 2>&1)" || rc=$?
  else
    said="$(osslsigncode "${args[@]}" 2>&1)" || rc=$?
  fi
  if [ "$rc" != 0 ]; then
    rm -f "$signed"
    echo "package: signing $file failed (osslsigncode exit code $rc):" >&2
    { grep -v '^[[:space:]]*$' <<<"$said" || true; } | sed 's/^/package:   /' >&2
    return 1
  fi
  mv -f "$signed" "$file"
}

if [[ "${BASH_SOURCE[0]}" != "$0" ]]; then return 0; fi
set -euo pipefail

BUILD="${FERLANE_BUILD_DIR:-$ROOT/build}"
OUT="${1:-$BUILD/packages}"
read -r VERSION_TEXT VERSION < <(version_of "$BUILD/xp32/generated/version.h")
STAGE="$(mktemp -d)"
trap 'rm -rf "$STAGE"' EXIT
mkdir -p "$OUT"
PROGRAMS=(x86:xp32/ferlane.exe x64:xp64/ferlane64.exe)
if signing_configured; then
  echo "package: signing with ${FERLANE_SIGN_PKCS12:-$FERLANE_SIGN_CERT}"
  if [ -z "${FERLANE_SIGN_TIMESTAMP_URL:-}" ]; then
    echo "package: warning: FERLANE_SIGN_TIMESTAMP_URL is not set: the signatures carry no time stamp and stop being valid when the certificate expires" >&2
  fi
  # The programs in build/ first: the packages then hold these very files.
  for pair in "${PROGRAMS[@]}"; do sign_file "$BUILD/${pair#*:}"; done
else
  echo "package: no certificate (FERLANE_SIGN_PKCS12, or FERLANE_SIGN_CERT and FERLANE_SIGN_KEY): the programs and the packages are not signed"
fi
for pair in "${PROGRAMS[@]}"; do
  arch="${pair%%:*}"
  program="$BUILD/${pair#*:}"
  mkdir -p "$STAGE/$arch"
  cp "$program" "$(dirname "$program")/ferlane.chm" "$ROOT/resources/ferlane.ico" "$STAGE/$arch/"
  cp -r "$ROOT/policies" "$STAGE/$arch/"
  msi="$OUT/ferlane-$VERSION_TEXT-$arch.msi"
  make_msi "$arch" "$VERSION" "$STAGE/$arch" "$msi"
  if signing_configured; then sign_file "$msi"; fi
  echo "package: $msi"
done
# The administrative templates beside the packages too, as the folder an
# administrator copies to the central store.
rm -rf "$OUT/policies"
cp -r "$ROOT/policies" "$OUT/policies"
echo "package: $OUT/policies"
