#!/usr/bin/env bash
# The shipped program's event as Wine shows it. Wine stores no event: its
# ReportEventW prints each string on the "eventlog" debug channel (trace for
# information), and its own "fixme:advapi" line for the call gives the type and
# the number. A child process writes that output to the Unix standard error it
# inherited, not to the handles it was given, so this is read here, from the
# run's whole output, and not inside a test program.
#   event-channel-test.sh WINE_RUN PROGRAM
set -uo pipefail
WINE_RUN="${1:?usage: event-channel-test.sh WINE_RUN PROGRAM}"
PROGRAM="${2:?usage: event-channel-test.sh WINE_RUN PROGRAM}"
dir="$(mktemp -d /tmp/ferlane-events.XXXXXX)"
trap 'rm -rf "$dir"' EXIT
cp "$PROGRAM" "$dir/ferlane.exe"
: > "$dir/rapport.txt"
win="Z:${dir//\//\\}"
printf '%s\\rapport.txt\r\nFichier\r\n' "$win" > "$dir/liste.txt"
fail=0
expect() {  # expect TEXT OUTPUT WHAT
  if ! grep -qF -- "$1" <<<"$2"; then
    echo "event-channel-test: $3: not found: $1"
    fail=1
  fi
}

out="$(WINEDEBUG=+eventlog bash "$WINE_RUN" "$dir/ferlane.exe" /cacher "/liste:$win\\liste.txt" 2>&1)"
rc=$?
[ "$rc" = 0 ] || { echo "event-channel-test: /cacher ended with $rc"; fail=1; }
# Each string as Wine quotes it: backslashes doubled.
expect 'trace:eventlog:ReportEventW L"ligne de commande"' "$out" "/cacher"
expect "trace:eventlog:ReportEventW L\"${win//\\/\\\\}\\\\liste.txt\"" "$out" "/cacher: the list file"
expect 'trace:eventlog:ReportEventW L"1"' "$out" "/cacher: the count"
expect "trace:eventlog:ReportEventW L\"$(id -un)\"" "$out" "/cacher: the user"
expect ',0x0004,0x0000,0x000003e8,' "$out" "/cacher: information, number 1000"
# The event's user field holds the account's SID: the fifth argument of the call.
if grep -qE 'ReportEventW \([0-9A-Fa-f]+,0x0004,0x0000,0x000003e8,0+,' <<<"$out"; then
  echo "event-channel-test: /cacher: the event carries no user SID"
  fail=1
fi

# "Journal des événements" off for the machine: the job runs, nothing is written.
policy='reg add HKLM\Software\Policies\Ferlane /v EventLog /t REG_DWORD /d 0 /f'
out="$(WINEDEBUG=+eventlog bash "$WINE_RUN" cmd.exe /c \
  "$policy & $win\\ferlane.exe /voir /liste:$win\\liste.txt" 2>&1)"
rc=$?
[ "$rc" = 0 ] || { echo "event-channel-test: /voir ended with $rc"; fail=1; }
expect 'Visible : ' "$out" "/voir with the policy off: the job"
if grep -q 'ReportEventW' <<<"$out"; then
  echo "event-channel-test: /voir with the policy off wrote an event"
  fail=1
fi
[ "$fail" = 0 ] || { printf '%s\n' "$out" | tail -40; exit 1; }
echo "event-channel-test: the event's strings and number printed by Wine; none with the policy off"
