#!/usr/bin/env bash
# The packaging's signing path, with a throwaway self-signed code-signing
# certificate made here (never kept): with FERLANE_SIGN_CERT and
# FERLANE_SIGN_KEY set, scripts/package.sh signs both programs before it
# packages them, then both packages, and osslsigncode verifies each against
# that certificate; without them it signs nothing and says so in one line.
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

make_cert() {  # make_cert NAME: a self-signed code-signing certificate and its key
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=$1" \
    -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=digitalSignature" \
    -keyout "$WORK/$1.key" -out "$WORK/$1.pem" >/dev/null 2>&1
}
make_cert "Ferlane test signing" && make_cert "Someone else" || { echo "FAIL: openssl made no certificate"; exit 1; }
CERT="$WORK/Ferlane test signing.pem"

# A self-signed certificate is its own root: verify trusts it only when given
# as the CA file, and then reports "Signature verification: ok".
verified_by() {  # verified_by CA FILE
  osslsigncode verify -CAfile "$1" -in "$2" 2>&1 | grep -q '^Signature verification: ok'
}
signer_is_test_cert() {
  osslsigncode verify -CAfile "$CERT" -in "$1" 2>&1 | grep -q 'Subject: /CN=Ferlane test signing'
}

out="$(FERLANE_SIGN_CERT="$CERT" FERLANE_SIGN_KEY="$WORK/Ferlane test signing.key" \
       bash "$ROOT/scripts/package.sh" "$WORK/signed" 2>&1)"
rc=$?
expect "packaging with a certificate succeeds" test $rc = 0
[ $rc = 0 ] || printf '%s\n' "$out"
for msi in "$WORK"/signed/*.msi; do
  name="$(basename "$msi")"
  expect "$name: signed by the given certificate" eval 'verified_by "$CERT" "$msi" && signer_is_test_cert "$msi"'
  expect "$name: not trusted through another certificate" eval '! verified_by "$WORK/Someone else.pem" "$msi"'
  rm -rf "$WORK/x"; mkdir -p "$WORK/x"
  msiextract -C "$WORK/x" "$msi" >/dev/null
  exe="$(find "$WORK/x" -name 'ferlane*.exe')"
  expect "$name: the program inside was signed before packaging" eval 'test -n "$exe" && verified_by "$CERT" "$exe"'
done
expect "both packages were made and signed" test "$(ls "$WORK"/signed/*.msi 2>/dev/null | wc -l)" = 2

out="$(env -u FERLANE_SIGN_CERT -u FERLANE_SIGN_KEY bash "$ROOT/scripts/package.sh" "$WORK/unsigned" 2>&1)"
rc=$?
expect "packaging without a certificate succeeds" test $rc = 0
expect "without a certificate one line says nothing is signed" \
  test "$(grep -c 'not signed' <<<"$out")" = 1
for msi in "$WORK"/unsigned/*.msi; do
  expect "$(basename "$msi"): unsigned" eval '! osslsigncode verify -CAfile "$CERT" -in "$msi" >/dev/null 2>&1'
done

if [ $failures = 0 ]; then echo "signing tests: all passed"; else echo "signing tests: $failures failed"; fi
[ $failures = 0 ]
