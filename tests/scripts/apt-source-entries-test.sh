#!/usr/bin/env bash
# The deb-src entries setup.sh derives from a machine's apt configuration: the
# machine's own mirrors, main archive only, never a host of the script's own.
set -euo pipefail
setup="$(cd "$(dirname "$0")/../.." && pwd)/scripts/setup.sh"
etc="$(mktemp -d)"
trap 'rm -rf "$etc"' EXIT
failures=0

expect() {  # $1: what is checked; stdin: the expected entries
  local want got
  want="$(cat)"
  got="$(bash "$setup" --apt-source-entries "$etc")"
  if [ "$got" != "$want" ]; then
    printf 'FAILED: %s\n--- expected\n%s\n--- got\n%s\n' "$1" "$want" "$got"
    failures=$((failures + 1))
  fi
}

# deb822: every URI with every suite; security, disabled and deb-src-only
# stanzas and other archives' components are left out; the keyring is kept.
mkdir -p "$etc/sources.list.d"
cat > "$etc/sources.list.d/debian.sources" <<'SRC'
# a comment
Types: deb
URIs: http://mirror-a.example/debian http://mirror-b.example/debian
Suites: bookworm bookworm-updates
Components: main contrib
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://mirror-a.example/debian-security
Suites: bookworm-security
Components: main

Enabled: no
Types: deb
URIs: http://disabled.example/debian
Suites: bookworm
Components: main

Types: deb-src
URIs: http://src-only.example/debian
Suites: bookworm
Components: main

Types: deb
URIs: http://other.example/repo
Suites: stable
Components: contrib
SRC
expect "deb822 stanzas" <<'WANT'
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://mirror-a.example/debian bookworm main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://mirror-a.example/debian bookworm-updates main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://mirror-b.example/debian bookworm main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://mirror-b.example/debian bookworm-updates main
WANT

# One-line format, options kept; with no .sources file at all.
rm "$etc/sources.list.d/debian.sources"
cat > "$etc/sources.list" <<'SRC'
deb http://mirror-c.example/debian bookworm main non-free-firmware
deb [arch=amd64 signed-by=/k.gpg] http://mirror-d.example/debian bookworm-updates contrib main
# deb http://commented.example/debian bookworm main
deb http://mirror-c.example/debian-security bookworm-security main
deb cdrom:[Debian 12]/ bookworm main
deb http://mirror-c.example/debian bookworm contrib
SRC
expect "sources.list lines" <<'WANT'
deb-src [arch=amd64 signed-by=/k.gpg] http://mirror-d.example/debian bookworm-updates main
deb-src http://mirror-c.example/debian bookworm main
WANT

# Nothing usable: no entry, and setup.sh then stops with a message.
: > "$etc/sources.list"
expect "no entries" < /dev/null

[ "$failures" -eq 0 ] && echo "apt source entries: all cases pass"
exit "$failures"
