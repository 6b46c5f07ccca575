# Sourced by the scripts that make a Wine prefix of the project's own.
# prepare_wine_prefix PREFIX: initialises PREFIX so that nothing run in it can
# reach the Linux home, and a crash ends the program instead of waiting in a
# debugger. Needs WINE and WINESERVER.

prepare_wine_prefix() {
  local prefix="$1"
  WINEPREFIX="$prefix" "$WINE" wineboot -i >/dev/null 2>&1
  WINEPREFIX="$prefix" "$WINESERVER" -w
  # This Wine finds its own fonts (Debian's fonts-wine: Tahoma, MS Sans Serif)
  # only in the prefix's Fonts folder; without them it draws a wider substitute.
  cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null
  # Wine links the profile folders to the Linux home: the program moves, hides
  # and deletes desktop items, so each becomes a real folder inside the prefix.
  local profile
  for profile in "$prefix"/drive_c/users/*/; do
    local name
    for name in Desktop Documents Downloads Music Pictures Videos Templates; do
      if [ -L "$profile$name" ]; then
        rm -f "$profile$name"
        mkdir -p "$profile$name"
      fi
    done
  done
  # An empty debugger command makes an unhandled exception end the program at
  # once with its exception code, instead of starting winedbg and waiting.
  local key
  for key in 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
             'HKLM\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug'; do
    WINEPREFIX="$prefix" "$WINE" reg add "$key" /v Debugger /d "" /f >/dev/null 2>&1
    WINEPREFIX="$prefix" "$WINE" reg add "$key" /v Auto /d 1 /f >/dev/null 2>&1
  done
  # Every window lives on Wine's virtual desktop: it has a real taskbar window,
  # and hiding a window does not wait on an X window manager that is not there.
  WINEPREFIX="$prefix" "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  WINEPREFIX="$prefix" "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f \
    >/dev/null 2>&1
  WINEPREFIX="$prefix" "$WINESERVER" -w
}

# set_prefix_dpi PREFIX DPI: every program started in PREFIX afterwards sees a
# screen of DPI dots per inch (96 is 100 %, 120 is 125 %, 144 is 150 %), as
# HKCU\Control Panel\Desktop "LogPixels" says. Edits user.reg directly, which
# is much faster than starting `wine reg`; the prefix's wineserver must not be
# running.
set_prefix_dpi() {
  local reg="$1/user.reg" dpi="$2"
  case "$dpi" in '' | *[!0-9]*) echo "set_prefix_dpi: not a number: $dpi" >&2; return 1 ;; esac
  local value
  value="$(printf '"LogPixels"=dword:%08x' "$dpi")"
  awk -v value="$value" '
    function flush() { if (inDesktop && !done) { print value; done = 1 } }
    /^\[/ {
      flush()
      inDesktop = ($0 ~ /^\[Control Panel\\\\Desktop\] /)
      print; if (inDesktop) { getline; if ($0 ~ /^#time=/) print; else { print value; done = 1; print } }
      next
    }
    inDesktop && /^"LogPixels"=/ { next }
    /^$/ { flush(); inDesktop = 0 }
    { print }
    END {
      flush()
      if (!done) printf "\n[Control Panel\\\\Desktop]\n%s\n", value
    }
  ' "$reg" >"$reg.new" && mv "$reg.new" "$reg"
}
