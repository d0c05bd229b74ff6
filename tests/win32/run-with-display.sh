#!/bin/sh
# Runs a Windows program that shows windows under Wine, on a virtual X
# display of its own:
#   run-with-display.sh <prefix folder> <program.exe> [arguments...]
# Xvfb picks a free display; the Wine prefix is the program's own, because
# a Wine session keeps the display it started on. The X11 driver is told to
# leave windows unmanaged (there is no window manager): Wine then draws the
# captions itself and does not wait for a manager to map each window.
# The session and the display are stopped when the program ends.
set -eu

if [ $# -lt 2 ]; then
  echo "usage: $0 <prefix folder> <program.exe> [arguments...]" >&2
  exit 2
fi
prefix=$1
shift
wine_run="$(dirname "$0")/../../tools/wine-run.sh"

number_file=$(mktemp "${TMPDIR:-/tmp}/qm-display.XXXXXX")
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" \
  </dev/null >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -f "$number_file"
}
trap cleanup EXIT

tries=0
while [ ! -s "$number_file" ]; do
  if ! kill -0 "$xvfb" 2>/dev/null || [ $tries -ge 100 ]; then
    echo "run-with-display.sh: Xvfb did not start" >&2
    exit 1
  fi
  tries=$((tries + 1))
  sleep 0.1
done
DISPLAY=":$(head -n1 "$number_file")"
export DISPLAY

sh "$wine_run" "$prefix" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
  >/dev/null
# Debian's Wine 8 looks for its own fonts (MS Sans Serif, Tahoma, Marlett
# for the caption buttons) beside /usr/share/wine rather than in it, where
# fonts-wine puts them; without them the dialogs are drawn in a stand-in
# font. The prefix's font folder is searched first.
if [ -d /usr/share/wine/fonts ] && [ -d "$prefix/drive_c/windows/Fonts" ]; then
  cp -n /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
fi
# The edit boxes draw in the shell's dialog font, which Windows links to
# fonts of other scripts. Wine's edit control draws only the glyphs of the
# font itself, so here that font is a CJK font with Latin letters too:
# WenQuanYi Micro Hei (fonts-wqy-microhei), as fontconfig offers it.
sh "$wine_run" "$prefix" reg add \
  'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
  /v 'MS Shell Dlg 2' /d 'WenQuanYi Micro Hei' /f >/dev/null
sh "$wine_run" "$prefix" "$@"
