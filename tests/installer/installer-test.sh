#!/usr/bin/env bash
# The two installer packages as an administrator uses them, under Wine, each in
# a fresh 64-bit prefix of the project's own: a silent install puts the program,
# its help and one all-users Start-menu shortcut in place and registers the
# product in Add/Remove Programs; the installed program starts and shows its
# main window; a silent uninstall removes what the package installed and keeps
# the users' list file, the hidden store and the settings; installing again
# finds the list file; a newer package replaces the installed one and an older
# one is refused; the uninstall removes the autostart value; the event source
# "Ferlane" is registered and removed with the program; with one width
# installed, the other's package is refused.
#   installer-test.sh [PACKAGE_FOLDER [ARCH...]]
# PACKAGE_FOLDER: default build/packages, made by scripts/build.sh; ARCH: x86,
# x64 (default both).
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
PACKAGES="${1:-$ROOT/build/packages}"

# The program's windows need an X server; the whole run shares one.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash "$0" "$@"
fi

source "$ROOT/scripts/package.sh"
source "$ROOT/scripts/wine-prefix.sh"
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEARCH=win64 WINEDEBUG=-all
# No Linux .desktop files for the shortcuts the packages make.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
USER_NAME="$(id -un)"
read -r VERSION_TEXT VERSION < <(version_of "$ROOT/build/xp32/generated/version.h") || exit 1

WORK="$(mktemp -d /tmp/ferlane-installer-test.XXXXXX)"
PREFIX=""
end_prefix() {  # stops the current prefix's programs and deletes it
  [ -n "$PREFIX" ] || return 0
  WINEPREFIX="$PREFIX" "$WINESERVER" -k >/dev/null 2>&1
  rm -rf "$PREFIX"
  PREFIX=""
}
trap 'end_prefix; rm -rf "$WORK"' EXIT

failures=0
fail() { echo "FAIL [$ARCH]: $*"; failures=$((failures + 1)); }
pass() { echo "ok   [$ARCH]: $*"; }
expect() {  # expect DESCRIPTION COMMAND...: passes when the command succeeds
  local what="$1"; shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

x86_64-w64-mingw32-gcc-win32 -municode -O2 -Wall -o "$WORK/window-probe.exe" "$ROOT/tests/installer/window-probe.c" ||
  { echo "FAIL: the window probe does not build"; exit 1; }

wine() { "$WINE" "$@"; }
msiexec() { wine msiexec "$@" >/dev/null 2>&1; }
reg_value() {  # reg_value KEY NAME: the value's data, nothing when it is missing
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
has_key() { wine reg query "$1" >/dev/null 2>&1; }
product_code_of() { msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }
same_file() { cmp -s "$1" "$2"; }
unix_path() {  # unix_path 'C:\x\y': that file inside the prefix
  local p="${1#[Cc]:\\}"
  echo "$PREFIX/drive_c/${p//\\//}"
}
# The product code as Windows Installer writes it in its registry keys.
packed_guid() {
  local g="${1//[\{\}-]/}"
  printf '%s%s%s%s\n' "$(rev <<<"${g:0:8}")" "$(rev <<<"${g:8:4}")" "$(rev <<<"${g:12:4}")" \
    "$(sed 's/\(.\)\(.\)/\2\1/g' <<<"${g:16:16}")"
}

# The version the project sets reaches the package, the program's version
# resource and the "A &Propos" text.
check_versions() {
  local msi="$1" program="$2"
  expect "package version $VERSION" test "$(msiinfo export "$msi" Property | tr -d '\r' | sed -n 's/^ProductVersion\t//p')" = "$VERSION"
  rm -rf "$WORK/extract"; mkdir -p "$WORK/extract"
  msiextract -C "$WORK/extract" "$msi" >/dev/null
  local exe
  exe="$(find "$WORK/extract" -name "$program")"
  expect "the package holds $program and ferlane.chm" test -n "$exe" -a -n "$(find "$WORK/extract" -name ferlane.chm)"
  [ -n "$exe" ] || return
  expect "the program's version resource and \"A &Propos\" text say $VERSION_TEXT" python3 - "$exe" "$VERSION" "$VERSION_TEXT" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
numbers = [int(n) for n in sys.argv[2].split(".")] + [0]
fixed = data.find(b"\xbd\x04\xef\xfe")   # VS_FIXEDFILEINFO's signature
if fixed < 0: sys.exit("no version resource")
ms, ls, pms, pls = struct.unpack_from("<4I", data, fixed + 8)
found = [ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF]
if found != numbers or [pms >> 16, pms & 0xFFFF, pls >> 16, pls & 0xFFFF] != numbers:
    sys.exit("version resource says %s" % found)
quad = ".".join(map(str, numbers)).encode("utf-16-le")
if quad not in data: sys.exit("no FileVersion text " + ".".join(map(str, numbers)))
about = ("Ferlane %s : cache fichiers" % sys.argv[3]).encode("utf-16-le")
if about not in data: sys.exit("no \"A &Propos\" text with the version")
PY
}

# Starts the installed program through the window probe; its main window must
# show and the program end when the window is closed.
start_installed() {
  local what="$1" out
  out="$(wine "$WORK/window-probe.exe" "$WIN_DIR\\$PROGRAM" "Ferlane " " : $USER_NAME" 2>"$WORK/probe.err")"
  local rc=$?
  out="$(tr -d '\r' <<<"$out")"
  [ $rc = 0 ] || out="$out $(grep -v '^wine: Read access denied' "$WORK/probe.err")"
  if [ $rc = 0 ] && [ -n "$out" ]; then pass "$what: main window \"$out\""; else fail "$what: $out"; fi
}

test_package() {
  ARCH="$1"
  local msi="$PACKAGES/ferlane-$VERSION_TEXT-$ARCH.msi" platform
  if [ ! -f "$msi" ]; then fail "no package $msi"; return; fi
  case "$ARCH" in
    x86) PROGRAM=ferlane.exe; FOLDER="Program Files (x86)"; platform=Intel
         UNINSTALL='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall'
         RUN_KEY='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Run' ;;
    x64) PROGRAM=ferlane64.exe; FOLDER="Program Files"; platform=x64
         UNINSTALL='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
         RUN_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Run' ;;
  esac
  local suminfo
  suminfo="$(msiinfo suminfo "$msi")"
  expect "platform $platform, language French" grep -qx "Template: $platform;1036" <<<"$suminfo"
  expect "needs Windows Installer 2.0 at most" test "$(sed -n 's/^Version: \([0-9]*\).*/\1/p' <<<"$suminfo")" -le 200
  check_versions "$msi" "$PROGRAM"

  PREFIX="$(mktemp -d /tmp/ferlane-msi-wine.XXXXXX)"
  export WINEPREFIX="$PREFIX" XDG_DATA_HOME="$PREFIX/xdg-data"
  mkdir -p "$XDG_DATA_HOME"
  prepare_wine_prefix "$PREFIX"
  # The packages are installed from a folder of the machine, as from a share.
  mkdir -p "$PREFIX/drive_c/paquets"
  cp "$msi" "$PREFIX/drive_c/paquets/"
  local package="C:\\paquets\\$(basename "$msi")"
  local dir="$PREFIX/drive_c/$FOLDER/Ferlane"
  WIN_DIR="C:\\$FOLDER\\Ferlane"
  local shortcut="$PREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Ferlane.lnk"
  local code key
  code="$(product_code_of "$msi")"
  key="$UNINSTALL\\$code"

  msiexec /i "$package" /qn
  local rc=$?
  if [ $rc != 0 ]; then fail "msiexec /i ended with $rc"; return; fi
  pass "msiexec /i $package /qn"
  expect "program and help in $FOLDER\\Ferlane" test -f "$dir/$PROGRAM" -a -f "$dir/ferlane.chm"
  expect "administrative templates in $FOLDER\\Ferlane\\policies" test -f "$dir/policies/Ferlane.admx" \
    -a -f "$dir/policies/fr-FR/Ferlane.adml" -a -f "$dir/policies/en-US/Ferlane.adml"
  expect "all-users Start-menu shortcut Ferlane" test -f "$shortcut"
  expect "Add/Remove Programs entry named Ferlane" test "$(reg_value "$key" DisplayName)" = "Ferlane"
  expect "Add/Remove Programs shows version $VERSION" test "$(reg_value "$key" DisplayVersion)" = "$VERSION"
  # Add/Remove Programs takes an installed package's icon from its product key.
  local icon
  icon="$(reg_value "HKLM\\Software\\Classes\\Installer\\Products\\$(packed_guid "$code")" ProductIcon)"
  expect "Add/Remove Programs has the program's icon" cmp -s "$(unix_path "$icon")" "$ROOT/resources/ferlane.ico"
  expect "Add/Remove Programs shows the install location" test "$(reg_value "$key" InstallLocation)" = "$WIN_DIR\\"
  # The size in KB (rounded up) of what went into the program's folder and
  # below it: the program, its help and the templates.
  local kb bytes
  bytes="$(find "$dir/$PROGRAM" "$dir/ferlane.chm" "$dir/policies" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')"
  kb="$(( (bytes + 1023) / 1024 ))"
  expect "Add/Remove Programs shows the size, $kb KB" test "$(reg_value "$key" EstimatedSize)" = "$(printf '0x%x' "$kb")"
  local source='HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Ferlane'
  expect "the event source Ferlane names the installed program" \
    test "$(reg_value "$source" EventMessageFile)" = "$WIN_DIR\\$PROGRAM"
  expect "the event source takes errors, warnings and information" test "$(reg_value "$source" TypesSupported)" = "0x7"

  # A first run: no settings yet, so no password is asked. Closing the window
  # writes the user's list file beside the program and makes the hidden store.
  start_installed "first start"
  local list="$dir/$USER_NAME"
  expect "the first run wrote the list file beside the program" test -f "$list"
  local store
  store="$(ls -d "$PREFIX"/drive_c/Program\ Files*/Ferlane/Ferlane\ *\ "$USER_NAME"/Desktop 2>/dev/null | head -n 1)"
  if [ -z "$store" ]; then fail "the program made no hidden store"; return; fi
  pass "hidden store at ${store#"$PREFIX"/drive_c/}"
  # What users leave behind: a list naming a file, and a parked shortcut. The
  # list has bare LF line ends, which the program reads and never writes.
  mkdir -p "$PREFIX/drive_c/Comptes"
  echo "budget" >"$PREFIX/drive_c/Comptes/budget.xls"
  printf 'C:\\Comptes\\budget.xls\nFichier\n' >"$list"
  cp "$list" "$WORK/list"
  echo "raccourci parqué" >"$store/Calculatrice.lnk"

  # "Au démarrage de Windows" as the program writes it, in its width's view.
  wine reg add "$RUN_KEY" /v Ferlane /d "$WIN_DIR\\$PROGRAM" /f >/dev/null 2>&1
  msiexec /x "$package" /qn
  rc=$?
  if [ $rc = 0 ]; then pass "msiexec /x $package /qn"; else fail "msiexec /x ended with $rc"; fi
  expect "uninstall removed the autostart value" test -z "$(reg_value "$RUN_KEY" Ferlane)"
  expect "uninstall removed the program and its help" test ! -e "$dir/$PROGRAM" -a ! -e "$dir/ferlane.chm"
  expect "uninstall removed the administrative templates" test ! -e "$dir/policies"
  expect "uninstall removed the Start-menu shortcut" test ! -e "$shortcut"
  expect "uninstall removed the Add/Remove Programs entry" eval '! has_key "$key"'
  expect "uninstall removed the event source" eval '! has_key "$source"'
  expect "uninstall kept the list file" same_file "$list" "$WORK/list"
  expect "uninstall kept the hidden store's item" test -f "$store/Calculatrice.lnk"
  expect "uninstall kept the settings" has_key 'HKCU\Software\Ferlane'

  msiexec /i "$package" /qn
  rc=$?
  if [ $rc != 0 ]; then fail "installing again ended with $rc"; return; fi
  expect "installing again kept the list file" same_file "$list" "$WORK/list"
  # Without settings the start asks no password. At close the program writes
  # back the list it read, with CR LF line ends.
  wine reg delete 'HKCU\Software\Ferlane' /f >/dev/null 2>&1
  start_installed "start after installing again"
  printf 'C:\\Comptes\\budget.xls\r\nFichier\r\n' >"$WORK/list-written"
  expect "the program read the list file it found" same_file "$list" "$WORK/list-written"

  test_upgrade "$package" "$key" "$dir" "$list"
}

# A package of the next version, made from the same files, replaces the
# installed one in place; the older package is then refused.
test_upgrade() {
  local package="$1" key="$2" dir="$3" list="$4"
  local major minor patch newer stage
  IFS=. read -r major minor patch <<<"$VERSION"
  newer="$major.$minor.$((patch + 1))"
  stage="$WORK/stage-$ARCH"
  mkdir -p "$stage"
  find "$WORK/extract" -type f -exec cp {} "$stage/" \;
  cp "$ROOT/resources/ferlane.ico" "$stage/"
  cp -r "$ROOT/policies" "$stage/"
  if ! make_msi "$ARCH" "$newer" "$stage" "$PREFIX/drive_c/paquets/newer.msi" >/dev/null 2>&1; then
    fail "no package of version $newer"; return
  fi
  local newkey="$UNINSTALL\\{$(product_code "$ARCH" "$newer")}"
  # "Au démarrage de Windows" ticked by an earlier version, unquoted: the
  # upgrade keeps the value, quoted.
  wine reg add "$RUN_KEY" /v Ferlane /d "$WIN_DIR\\$PROGRAM" /f >/dev/null 2>&1
  msiexec /i 'C:\paquets\newer.msi' /qn
  local rc=$?
  if [ $rc = 0 ]; then pass "version $newer installs over $VERSION"; else fail "upgrade ended with $rc"; fi
  expect "the upgrade kept the autostart value, quoted" test "$(reg_value "$RUN_KEY" Ferlane)" = "\"$WIN_DIR\\$PROGRAM\""
  expect "one Add/Remove Programs entry, version $newer" \
    eval 'test "$(reg_value "$newkey" DisplayVersion)" = "$newer" && ! has_key "$key"'
  expect "the upgrade left the program, its help and the list file" \
    test -f "$dir/$PROGRAM" -a -f "$dir/ferlane.chm" -a -f "$list"
  msiexec /i "$package" /qn
  rc=$?
  # 1603, of which the shell sees the low byte.
  expect "the older package is refused with 1603" test $rc = $((1603 & 255))
  expect "the refused package changed nothing" eval 'has_key "$newkey" && ! has_key "$key" && test -f "$dir/$PROGRAM"'
}

# One Ferlane per machine: with either package installed, the other width's is
# refused, naming the installed one, and changes nothing: one Add/Remove
# Programs entry, one program, its shortcut, and its user's list still read.
test_one_per_machine() {
  ARCH="x86+x64"
  PREFIX="$(mktemp -d /tmp/ferlane-msi-wine.XXXXXX)"
  export WINEPREFIX="$PREFIX" XDG_DATA_HOME="$PREFIX/xdg-data"
  mkdir -p "$XDG_DATA_HOME" "$PREFIX/drive_c/paquets" "$PREFIX/drive_c/Comptes"
  prepare_wine_prefix "$PREFIX"
  cp "$PACKAGES/ferlane-$VERSION_TEXT-x86.msi" "$PACKAGES/ferlane-$VERSION_TEXT-x64.msi" "$PREFIX/drive_c/paquets/"
  echo "budget" >"$PREFIX/drive_c/Comptes/budget.xls"
  local shortcut="$PREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Ferlane.lnk"
  local first second folder program key otherkey otherdir list rc
  for first in x86 x64; do
    if [ $first = x86 ]; then
      second=x64 folder="Program Files (x86)" program=ferlane.exe otherdir="Program Files/Ferlane/ferlane64.exe"
      key='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall'
      otherkey='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
    else
      second=x86 folder="Program Files" program=ferlane64.exe otherdir="Program Files (x86)/Ferlane/ferlane.exe"
      key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
      otherkey='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall'
    fi
    key="$key\\$(product_code_of "$PACKAGES/ferlane-$VERSION_TEXT-$first.msi")"
    otherkey="$otherkey\\$(product_code_of "$PACKAGES/ferlane-$VERSION_TEXT-$second.msi")"
    msiexec /i "C:\\paquets\\ferlane-$VERSION_TEXT-$first.msi" /qn
    rc=$?
    if [ $rc != 0 ]; then fail "installing the $first package ended with $rc"; return; fi
    list="$PREFIX/drive_c/$folder/Ferlane/$USER_NAME"
    printf 'C:\\Comptes\\budget.xls\nFichier\n' >"$list"
    wine msiexec /i "C:\\paquets\\ferlane-$VERSION_TEXT-$second.msi" /qn /l*v 'C:\paquets\refus.log' >/dev/null 2>&1
    rc=$?
    expect "the $second package is refused with 1603 while the $first one is installed" test $rc = $((1603 & 255))
    # Wine logs no launch condition's message: the property it names is checked.
    expect "the refusal names the installed program" \
      grep -aqF "Property(S): OTHERFERLANE = C:\\$folder\\Ferlane\\$program" "$PREFIX/drive_c/paquets/refus.log"
    expect "one Add/Remove Programs entry, the $first one" eval 'has_key "$key" && ! has_key "$otherkey"'
    expect "one program, and the Start-menu shortcut" \
      test -f "$PREFIX/drive_c/$folder/Ferlane/$program" -a ! -e "$PREFIX/drive_c/$otherdir" -a -f "$shortcut"
    WIN_DIR="C:\\$folder\\Ferlane" PROGRAM=$program
    wine reg delete 'HKCU\Software\Ferlane' /f >/dev/null 2>&1
    start_installed "the $first program after the refusal"
    printf 'C:\\Comptes\\budget.xls\r\nFichier\r\n' >"$WORK/list-written"
    expect "the $first program still reads its user's list" same_file "$list" "$WORK/list-written"
    msiexec /x "C:\\paquets\\ferlane-$VERSION_TEXT-$first.msi" /qn || fail "removing the $first package failed"
  done
  end_prefix
}

ARCHS=("${@:2}")
[ ${#ARCHS[@]} -gt 0 ] || ARCHS=(x86 x64)
for arch in "${ARCHS[@]}"; do test_package "$arch"; end_prefix; done
[ ${#ARCHS[@]} = 2 ] && test_one_per_machine
ARCH=all
# The templates an administrator copies to the central store, beside the packages.
for file in Ferlane.admx fr-FR/Ferlane.adml en-US/Ferlane.adml; do
  expect "build/packages/policies/$file" cmp -s "$PACKAGES/policies/$file" "$ROOT/policies/$file"
done
if [ $failures = 0 ]; then echo "installer tests: all passed"; else echo "installer tests: $failures failed"; fi
[ $failures = 0 ]
