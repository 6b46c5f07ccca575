#!/usr/bin/env bash
# The packaging's signing path, with a throwaway self-signed code-signing
# certificate made here (never kept), on a copy of the shipped programs so the
# build's own stay as they are: scripts/package.sh signs both programs in the
# build folder before it packages them, then both packages; the key's password
# comes from a file or from the environment; a build without a time-stamping
# server warns, one whose server cannot be reached fails; a wrong password
# fails; a failing signer leaves no partial output and says which file and
# why; without a certificate it signs nothing and says so in one line.
# Needs the shipped programs built (scripts/build.sh).
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
WORK="$(mktemp -d /tmp/ferlane-signing-test.XXXXXX)"
trap 'rm -rf "$WORK"' EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok   : $*"; }
expect() {
  local what="$1"; shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

PASSWORD='mot de passe du certificat'
make_cert() {  # make_cert NAME: a self-signed code-signing certificate, its key encrypted
  openssl req -x509 -newkey rsa:2048 -passout "pass:$PASSWORD" -days 2 -subj "/CN=$1" \
    -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=digitalSignature" \
    -keyout "$WORK/$1.key" -out "$WORK/$1.pem" >/dev/null 2>&1
}
make_cert "Ferlane test signing" && make_cert "Someone else" || { echo "FAIL: openssl made no certificate"; exit 1; }
CERT="$WORK/Ferlane test signing.pem"
openssl pkcs12 -export -in "$CERT" -inkey "$WORK/Ferlane test signing.key" -passin "pass:$PASSWORD" \
  -passout "pass:$PASSWORD" -out "$WORK/ferlane.p12" || { echo "FAIL: openssl made no PKCS#12 file"; exit 1; }
printf '%s\n' "$PASSWORD" >"$WORK/password.txt"  # as an editor saves it, with a line end

# A self-signed certificate is its own root: verify trusts it only when given
# as the CA file, and then reports "Signature verification: ok".
verified_by() {  # verified_by CA FILE
  osslsigncode verify -CAfile "$1" -in "$2" 2>&1 | grep -q '^Signature verification: ok'
}
signer_is_test_cert() {
  osslsigncode verify -CAfile "$CERT" -in "$1" 2>&1 | grep -q 'Subject: /CN=Ferlane test signing'
}

# A fresh copy of what the build made, for package.sh to sign and package.
fresh_build() {
  rm -rf "$WORK/build"
  mkdir -p "$WORK/build/xp32/generated" "$WORK/build/xp64"
  cp "$ROOT/build/xp32/ferlane.exe" "$ROOT/build/xp32/ferlane.chm" "$WORK/build/xp32/"
  cp "$ROOT/build/xp32/generated/version.h" "$WORK/build/xp32/generated/"
  cp "$ROOT/build/xp64/ferlane64.exe" "$ROOT/build/xp64/ferlane.chm" "$WORK/build/xp64/"
}
package() {  # package OUT [VAR=VALUE...]: package.sh on the copy; output in $out, status in $rc
  local dest="$1"; shift
  out="$(env -u FERLANE_SIGN_CERT -u FERLANE_SIGN_KEY -u FERLANE_SIGN_PKCS12 -u FERLANE_SIGN_PASSWORD \
             -u FERLANE_SIGN_PASSWORD_FILE -u FERLANE_SIGN_TIMESTAMP_URL FERLANE_BUILD_DIR="$WORK/build" "$@" \
             bash "$ROOT/scripts/package.sh" "$WORK/$dest" 2>&1)"
  rc=$?
}

check_signed() {  # check_signed FOLDER HOW
  local msi name exe built
  for msi in "$WORK/$1"/*.msi; do
    name="$(basename "$msi") ($2)"
    expect "$name: signed by the given certificate" eval 'verified_by "$CERT" "$msi" && signer_is_test_cert "$msi"'
    expect "$name: not trusted through another certificate" eval '! verified_by "$WORK/Someone else.pem" "$msi"'
    rm -rf "$WORK/x"; mkdir -p "$WORK/x"
    msiextract -C "$WORK/x" "$msi" >/dev/null
    exe="$(find "$WORK/x" -name 'ferlane*.exe')"
    built="$(find "$WORK/build" -name "$(basename "$exe")")"
    expect "$name: the program inside is the signed one of the build folder" \
      eval 'test -n "$exe" && verified_by "$CERT" "$built" && cmp -s "$exe" "$built"'
  done
  expect "both packages were made ($2)" test "$(ls "$WORK/$1"/*.msi 2>/dev/null | wc -l)" = 2
}

fresh_build
package pfx FERLANE_SIGN_PKCS12="$WORK/ferlane.p12" FERLANE_SIGN_PASSWORD_FILE="$WORK/password.txt"
expect "a PKCS#12 file whose password is in a file signs" test $rc = 0
[ $rc = 0 ] || printf '%s\n' "$out"
expect "without a time-stamping server the build warns" grep -q 'warning: FERLANE_SIGN_TIMESTAMP_URL is not set' <<<"$out"
check_signed pfx "PKCS#12, password file"
# Again over the signed build: each file is signed afresh, not twice; here
# with a certificate and an encrypted key, the password in the environment.
package pem FERLANE_SIGN_CERT="$CERT" FERLANE_SIGN_KEY="$WORK/Ferlane test signing.key" FERLANE_SIGN_PASSWORD="$PASSWORD"
expect "a certificate and its encrypted key, the password in the environment, sign" test $rc = 0
check_signed pem "password in the environment"
expect "a program signed again carries one signature" \
  test "$(osslsigncode verify -CAfile "$CERT" -in "$WORK/build/xp32/ferlane.exe" 2>&1 | grep -c '^Signature Index: ')" = 1

package wrong FERLANE_SIGN_PKCS12="$WORK/ferlane.p12" FERLANE_SIGN_PASSWORD="not it"
expect "a wrong password fails the build" test $rc != 0
package ts FERLANE_SIGN_PKCS12="$WORK/ferlane.p12" FERLANE_SIGN_PASSWORD="$PASSWORD" FERLANE_SIGN_TIMESTAMP_URL=http://127.0.0.1:9/
expect "a time-stamping server that cannot be reached fails the build" test $rc != 0
expect "a configured server gives no warning" eval '! grep -q warning <<<"$out"'

# A signer that fails half-way, after writing part of its output: the build
# stops, no partial file stays, the program is left as it was, and one line
# names the file, followed by the signer's own reason.
mkdir -p "$WORK/failing-signer"
cat >"$WORK/failing-signer/osslsigncode" <<'SIGNER'
#!/bin/sh
while [ $# -gt 0 ]; do [ "$1" = -out ] && printf 'partial' >"$2"; shift; done
echo "Failed to read certificate file: the signer broke off" >&2
exit 3
SIGNER
chmod +x "$WORK/failing-signer/osslsigncode"
fresh_build
cp "$WORK/build/xp32/ferlane.exe" "$WORK/unsigned-copy.exe"
package failing PATH="$WORK/failing-signer:$PATH" FERLANE_SIGN_PKCS12="$WORK/ferlane.p12" \
  FERLANE_SIGN_PASSWORD="$PASSWORD" FERLANE_SIGN_TIMESTAMP_URL=http://127.0.0.1:9/
expect "a failing signer fails the build" test $rc != 0
expect "a failing signer leaves no partial output" \
  eval '! ls "$WORK"/build/xp32/*.signed "$WORK"/build/xp64/*.signed >/dev/null 2>&1'
expect "a failing signer leaves the program as it was" cmp -s "$WORK/build/xp32/ferlane.exe" "$WORK/unsigned-copy.exe"
expect "a signing failure names the file" grep -qF "package: signing $WORK/build/xp32/ferlane.exe failed" <<<"$out"
expect "a signing failure says why" grep -q 'package:   Failed to read certificate file: the signer broke off' <<<"$out"
expect "no package is made after a signing failure" eval '! ls "$WORK"/failing/*.msi >/dev/null 2>&1'

fresh_build
package unsigned
expect "packaging without a certificate succeeds" test $rc = 0
expect "without a certificate one line says nothing is signed" test "$(grep -c 'not signed' <<<"$out")" = 1
for msi in "$WORK"/unsigned/*.msi; do
  expect "$(basename "$msi"): unsigned" eval '! osslsigncode verify -CAfile "$CERT" -in "$msi" >/dev/null 2>&1'
done

if [ $failures = 0 ]; then echo "signing tests: all passed"; else echo "signing tests: $failures failed"; fi
[ $failures = 0 ]
