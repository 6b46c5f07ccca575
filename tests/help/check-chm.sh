#!/usr/bin/env bash
# Checks that the built help file is a valid .chm holding every page of its
# sources and its table of contents: chmls must read it and list each one.
set -euo pipefail
CHM="$1"
SOURCES="$2"
listing="$(chmls list "$CHM")" || { echo "chmls cannot read $CHM"; exit 1; }
missing=0
for page in "$SOURCES"/*.html "$SOURCES"/*.hhc; do
  name="/$(basename "$page")"
  if ! grep -qF " $name" <<<"$listing"; then
    echo "missing from $CHM: $name"
    missing=1
  fi
done
grep -qF "/#SYSTEM" <<<"$listing" || { echo "no #SYSTEM file: not a compiled help file"; missing=1; }
exit $missing
