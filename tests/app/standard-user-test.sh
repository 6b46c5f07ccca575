#!/usr/bin/env bash
# The shipped program's command line run by a standard user, refused as
# Windows refuses one: Wine run as uid 65534 in a prefix that user owns refuses
# what Unix permissions refuse, with ERROR_ACCESS_DENIED, and the folders a
# standard user may not write on Windows are root's, mode 755 here: the
# program's folder with the lists beside it, the hidden store's folders, the
# all-users Desktop and Start menu. One difference stays: Unix refuses
# removing a file of a folder the user may not write even when the user owns
# the file, where Windows lets a user holding DELETE remove it; the program
# keeps the user's data under both rules.
# One table of cases, each with its exit code and what must be on disk after
# it; the prefix is made once and the files are laid out again for each case.
#   standard-user-test.sh PROGRAM
# Exits with 77 (skipped) unless run as root: only root can start a program as
# another uid and own the folders that uid may not write.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
PROGRAM="${1:?usage: standard-user-test.sh PROGRAM}"
SKIPPED=77
if [ "$(id -u)" != 0 ]; then
  echo "standard-user-test: skipped: the test runs as uid $(id -u), not root; only root can run the program as the standard user (uid 65534) and own the folders that user may not write"
  exit $SKIPPED
fi
command -v setpriv >/dev/null || { echo "standard-user-test: skipped: no setpriv (util-linux)"; exit $SKIPPED; }

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
source "$ROOT/scripts/wine-prefix.sh"
SU=65534
dir="$(mktemp -d /tmp/ferlane-standard-user.XXXXXX)"
chmod 755 "$dir"  # the user goes through it to its home
home="$dir/home"
pfx="$home/pfx"
mkdir -p "$home"
chown "$SU:$SU" "$home"

# Everything Wine does stays in the test's own folder: HOME there, TMPDIR unset.
as_user() {
  setpriv --reuid=$SU --regid=$SU --clear-groups env -u TMPDIR HOME="$home" WINEPREFIX="$pfx" \
    XDG_DATA_HOME="$home/xdg-data" XDG_CONFIG_HOME="$home/xdg-config" XDG_CACHE_HOME="$home/xdg-cache" \
    WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d' \
    WINE="$WINE" WINESERVER="$WINESERVER" "$@"
}
cleanup() { as_user "$WINESERVER" -k >/dev/null 2>&1; rm -rf "$dir"; }
trap cleanup EXIT

as_user bash -c 'source "$1"; prepare_wine_prefix "$WINEPREFIX"' _ "$ROOT/scripts/wine-prefix.sh"
user="$(getent passwd $SU | cut -d: -f1)"  # Wine's user name, and the list file's
[ -d "$pfx/drive_c/users/$user" ] || { echo "standard-user-test: no prefix for $user was made"; exit 1; }
# Kept running between the cases: each start then takes a second, not five.
as_user "$WINESERVER" -p

C="$pfx/drive_c"
PF="$C/Program Files/Ferlane"
STORE="$PF/Ferlane Administrateur $user"
PUBLIC_DESKTOP="$C/users/Public/Desktop"
START_MENU="$C/ProgramData/Microsoft/Windows/Start Menu"
DOCS="$C/users/$user/Documents"
WDOCS="C:\\users\\$user\\Documents"
EXE='C:\Program Files\Ferlane\ferlane.exe'
# The list beside the program: a file of the user's, and the program itself,
# which a standard user cannot hide.
LIST="$WDOCS\\paie.xls"$'\r\nFichier\r\n'"$EXE"$'\r\nFichier\r\n'
# A list already in the policy's folder, naming another file.
FOLDER_LIST="$WDOCS\\notes.txt"$'\r\nFichier\r\n'
# A list given by /liste:, naming a shortcut on the all-users Desktop too.
GIVEN_LIST="$WDOCS\\paie.xls"$'\r\nFichier\r\nC:\\users\\Public\\Desktop\\Commun.lnk\r\nFichier\r\n'

root_folder() { mkdir -p "$1"; chown root:root "$1"; chmod 755 "$1"; }
user_file() {  # user_file PATH TEXT
  mkdir -p "$(dirname "$1")"
  printf '%s' "$2" >"$1"
  chown "$SU:$SU" "$1"
}

# The layout every case starts from: what a standard user meets after an
# administrator installed Ferlane, the user made a list and parked a shortcut.
reset_files() {
  rm -rf "$PF" "$C/Listes" "$C/Verrou" "$DOCS" "$C/users/$user/Listes" "$C/users/$user/Desktop"/*
  root_folder "$PF"
  cp "$PROGRAM" "$PF/ferlane.exe"
  root_folder "$STORE/Desktop"
  root_folder "$STORE/Programs"
  printf 'lnk' >"$STORE/Desktop/Parc.lnk"
  # The list is the user's own file, in a folder that is not.
  user_file "$PF/$user" "$LIST"
  chmod 600 "$PF/$user"
  root_folder "$PUBLIC_DESKTOP"
  printf 'lnk' >"$PUBLIC_DESKTOP/Commun.lnk"
  root_folder "$START_MENU"
  root_folder "$START_MENU/Programs"
  root_folder "$C/Verrou"
  user_file "$DOCS/paie.xls" 'paie'
  user_file "$DOCS/notes.txt" 'notes'
  user_file "$DOCS/autre.txt" "$GIVEN_LIST"
}

# Wine keeps the hidden attribute in the user.DOSATTRIB extended attribute.
is_hidden() {
  python3 -c 'import os, sys
try: v = int(os.getxattr(sys.argv[1], "user.DOSATTRIB").split(b"\0")[0], 16)
except OSError: v = 0
sys.exit(0 if v & 2 else 1)' "$1"
}

# One row a case: what it is | the ListFolder policy (none: unset) | the
# arguments | the exit code | what must be true after it, as checks:
#   hidden:FILE  visible:FILE  same:FILE=TEXTVAR  absent:FILE  present:FILE
#   says:TEXT  quiet:TEXT (files are Unix paths under drive_c, C/... )
# and, before the run, "pre:hide:FILE", "pre:list" (a list in C:\Listes),
# "pre:rootlist" (the list beside the program root's, unreadable).
CASES=(
  "no policy: /cacher hides the user's file, not the program; the list stays|none|/cacher|1|hidden:C/users/{u}/Documents/paie.xls visible:C/Program Files/Ferlane/ferlane.exe same:C/Program Files/Ferlane/{u}=LIST says:Access denied"
  "no policy: /voir shows it again|none|/voir|0|pre:hide:C/users/{u}/Documents/paie.xls visible:C/users/{u}/Documents/paie.xls same:C/Program Files/Ferlane/{u}=LIST"
  "the policy's folder: the list is copied there, the old one left beside the program is said|C:\\Listes|/cacher|1|hidden:C/users/{u}/Documents/paie.xls same:C/Listes/{u}=LIST same:C/Program Files/Ferlane/{u}=LIST says:n'est plus utilis quiet:ne peut pas être atteint"
  "the policy's folder holds a list: that one is applied, the one beside the program untouched|C:\\Listes|/cacher|0|pre:list hidden:C/users/{u}/Documents/notes.txt visible:C/users/{u}/Documents/paie.xls same:C/Listes/{u}=FOLDER_LIST same:C/Program Files/Ferlane/{u}=LIST quiet:copi"
  "the list beside the program unreadable to its user, with the policy: code 4, that list named, not the folder|C:\\Listes|/cacher|4|pre:rootlist visible:C/users/{u}/Documents/paie.xls absent:C/Listes/{u} says:ne peut pas être copiée vers le dossier des listes quiet:ne peut pas être atteint"
  "a policy's folder the user may not make: code 4, the folder named, nothing hidden|C:\\Verrou\\Listes|/cacher|4|visible:C/users/{u}/Documents/paie.xls absent:C/Verrou/Listes same:C/Program Files/Ferlane/{u}=LIST says:C:\\Verrou\\Listes"
  "a relative policy folder is refused, never made in the current folder|Listes|/cacher|4|visible:C/users/{u}/Documents/paie.xls absent:C/users/{u}/Listes same:C/Program Files/Ferlane/{u}=LIST"
  "/liste: with the policy set: the given list, the policy's folder not made; the all-users shortcut refused|C:\\Listes|/cacher /liste:$WDOCS\\autre.txt|1|hidden:C/users/{u}/Documents/paie.xls visible:C/users/Public/Desktop/Commun.lnk absent:C/Listes same:C/Program Files/Ferlane/{u}=LIST"
  "/retablir: the parked shortcut the system will not let go stays in the store, named|none|/retablir|1|present:C/Program Files/Ferlane/Ferlane Administrateur {u}/Desktop/Parc.lnk absent:C/users/{u}/Desktop/Parc.lnk says:Parc.lnk"
)

unix_path() { local p="${1//\{u\}/$user}"; printf '%s' "$pfx/drive_c${p#C}"; }

fail=0
ran=0
for row in "${CASES[@]}"; do
  IFS='|' read -r what policy args code checks <<<"$row"
  # The checks hold blanks in paths: split before each check's name.
  mapfile -t items < <(sed -E 's/ (pre|hidden|visible|absent|present|same|says|quiet):/\n\1:/g' <<<"$checks")
  reset_files
  if [ "$policy" = none ]; then
    as_user "$WINE" reg delete 'HKLM\Software\Policies\Ferlane' /f >/dev/null 2>&1
  else
    as_user "$WINE" reg add 'HKLM\Software\Policies\Ferlane' /v ListFolder /d "$policy" /f >/dev/null 2>&1
  fi
  for check in "${items[@]}"; do
    case "$check" in
      pre:hide:*) python3 -c 'import os, sys; os.setxattr(sys.argv[1], "user.DOSATTRIB", b"0x2")' \
                    "$(unix_path "${check#pre:hide:}")" ;;
      pre:rootlist) chown root:root "$PF/$user" ;;
      pre:list) mkdir -p "$C/Listes"; chown "$SU:$SU" "$C/Listes"; user_file "$C/Listes/$user" "$FOLDER_LIST" ;;
    esac
  done
  read -ra argv <<<"$args"
  # The current folder is the user's own, where a relative folder would be made.
  (cd "$C/users/$user" && as_user "$WINE" "$EXE" "${argv[@]}") >"$dir/output" 2>&1
  rc=$?
  # The console's code page, as a French Windows's cmd shows it.
  out="$(iconv -f CP850 -t UTF-8 <"$dir/output")"
  ran=$((ran + 1))
  bad=()
  [ "$rc" = "$code" ] || bad+=("ended with $rc, not $code")
  for check in "${items[@]}"; do
    case "$check" in
      hidden:*) f="$(unix_path "${check#hidden:}")"; [ -e "$f" ] && is_hidden "$f" || bad+=("not hidden: ${check#*:}") ;;
      visible:*) f="$(unix_path "${check#visible:}")"; [ -e "$f" ] && ! is_hidden "$f" || bad+=("not visible: ${check#*:}") ;;
      absent:*) [ ! -e "$(unix_path "${check#absent:}")" ] || bad+=("there: ${check#*:}") ;;
      present:*) [ -e "$(unix_path "${check#present:}")" ] || bad+=("missing: ${check#*:}") ;;
      same:*)
        pair="${check#same:}"; f="$(unix_path "${pair%=*}")"; var="${pair##*=}"
        [ -f "$f" ] && [ "$(cat "$f")" = "$(printf '%s' "${!var}")" ] || bad+=("not the $var rows: ${pair%=*}") ;;
      says:*) grep -qF -- "${check#says:}" <<<"$out" || bad+=("does not say: ${check#says:}") ;;
      quiet:*) ! grep -qF -- "${check#quiet:}" <<<"$out" || bad+=("says: ${check#quiet:}") ;;
    esac
  done
  if [ ${#bad[@]} -gt 0 ]; then
    fail=1
    echo "standard-user-test: FAILED: $what ($args): $(IFS=';'; echo "${bad[*]}")"
    printf '%s\n' "$out" | sed 's/^/    /'
  else
    echo "standard-user-test: ok: $what"
  fi
done
[ "$fail" = 0 ] || exit 1
echo "standard-user-test: $ran cases as uid $SU, each with its exit code and what it left on disk"
