#!/usr/bin/env bash
# The Windows installer as a user meets it, under Wine in a prefix of its own (a fresh machine):
# installed silently, it puts the program and its run-time folders under Program Files, a Start
# menu entry and an uninstaller registered with Windows; the installed program starts and shows its
# main window; uninstalled silently, all of it is gone again but a file the user put there.
#   installer_test.sh INSTALLER WINE_RUN WORK_DIR
set -euo pipefail
installer=$(realpath "$1") wine_run=$(realpath "$2") work=$3
state=${KELVANE_WINE_STATE:-${XDG_CACHE_HOME:-$HOME/.cache}/kelvane}
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX="$work/prefix"
# No desktop entries for the shortcuts in the user's home.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
wineserver=${KELVANE_WINESERVER:-/usr/lib/wine/wineserver}
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
program=
finish() {
  [ -z "$program" ] || kill "$program" 2>/dev/null || true
  "$wineserver" -k 2>/dev/null || true
}
trap finish EXIT
folder="$WINEPREFIX/drive_c/Program Files/Kelvane"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kelvane"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvane'

"$wine_run" "$installer" /S
for file in kelvane.exe uninstall.exe help.chm soap-schemas/catalog.xml make/Make.rules lib/src/tessaro_socket.c \
    lib/bin/win32/tessaroMTD.lib example/calculator.wsdl config/SyntaxEdit.ini; do
  [ -f "$folder/$file" ] || { echo "not installed: $file"; exit 1; }
done
[ -f "$menu/Kelvane.lnk" ] && [ -f "$menu/Uninstall Kelvane.lnk" ]
"$wine_run" reg query "$key" /v UninstallString /reg:64 | tr -d '\r' | tee "$work/key.txt"
grep -q 'C:\\Program Files\\Kelvane\\uninstall.exe' "$work/key.txt"

# The installed program starts: its main window appears on the display Wine draws on. Other runs
# may draw there too: the window must belong to a process this run started.
descends_from() { # pid, ancestor
  local pid=$1
  while [ -n "$pid" ] && [ "$pid" -gt 1 ]; do
    [ "$pid" = "$2" ] && return 0
    pid=$(awk '/^PPid:/ {print $2}' "/proc/$pid/status" 2>/dev/null)
  done
  return 1
}
our_window_shown() {
  local id pid
  for id in $(DISPLAY=$display xwininfo -root -tree 2>/dev/null |
      sed -n 's/^ *\(0x[0-9a-f]*\) "[^"]*Kelvane[^"]*": ("kelvane.exe".*/\1/p'); do
    pid=$(DISPLAY=$display xprop -id "$id" _NET_WM_PID 2>/dev/null | sed -n 's/.* = //p')
    [ -n "$pid" ] && descends_from "$pid" "$program" && return 0
  done
  return 1
}
"$wine_run" 'C:\Program Files\Kelvane\kelvane.exe' >"$work/program.txt" 2>&1 &
program=$!
display=${DISPLAY:-:$(cat "$state/xvfb.display")}
shown=
for _ in $(seq 1 600); do
  if our_window_shown; then
    shown=yes
    break
  fi
  kill -0 "$program" 2>/dev/null || break
  sleep 0.2
done
[ -n "$shown" ] || { echo "kelvane.exe showed no window"; cat "$work/program.txt"; exit 1; }
kill "$program"
wait "$program" 2>/dev/null || true
program=

# The uninstaller runs from a copy of itself, so that it can remove itself: it is done when the
# folder is gone. A file the user left there keeps the folder, and only it.
echo kept >"$folder/user-notes.txt"
"$wine_run" 'C:\Program Files\Kelvane\uninstall.exe' /S
for _ in $(seq 1 600); do
  [ "$(ls -A "$folder")" = user-notes.txt ] && break
  sleep 0.2
done
[ "$(ls -A "$folder")" = user-notes.txt ] || { echo "left after uninstalling:"; ls -R "$folder"; exit 1; }
[ ! -e "$menu" ]
if "$wine_run" reg query "$key" /reg:64 >/dev/null 2>&1; then
  echo "the uninstaller left its registry key"
  exit 1
fi
echo "installed, started and uninstalled under Wine"
