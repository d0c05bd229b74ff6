#!/usr/bin/env bash
# The Windows path under Wine in one command: builds the module and the
# stand-in browser, registers a copy of the module with regsvr32 in a Wine
# prefix of its own, and picks "=>ISBN" on a page whose address holds an
# ISBN. The ISBN dialog is answered OK; the log shows the component vetted
# by the security manager, the dialog, and the windows the module opened.
#   tools/standin-demo.sh                the pick, on a virtual display
#   tools/standin-demo.sh --interactive  the page on your display: right-click
#                                        it and pick an entry yourself
#   tools/standin-demo.sh --screenshots  refresh docs/screenshots/standin-*.png
#                                        (needs python3)
# Needs what `tools/install-deps.sh all` installs.
set -euo pipefail
cd "$(dirname "$0")/.."
mode="${1:-pick}"
case "$mode" in
  pick | --interactive | --screenshots) ;;
  *)
    echo "usage: $0 [--interactive | --screenshots]" >&2
    exit 2
    ;;
esac

# Windows without a window manager: a virtual display of our own, where
# Wine draws the captions itself.
if [ "$mode" != --interactive ] && [ -z "${QM_DEMO_DISPLAY:-}" ]; then
  cmake --preset windows >/dev/null
  cmake --build build/windows -j2 --target qmkit qmkit-standin
  QM_DEMO_DISPLAY=1 exec xvfb-run -a "$0" "$@"
fi
if [ "$mode" = --interactive ]; then
  [ -n "${DISPLAY:-}" ] || { echo "$0: --interactive needs a display (DISPLAY)" >&2; exit 2; }
  cmake --preset windows >/dev/null
  cmake --build build/windows -j2 --target qmkit qmkit-standin
fi

build="$PWD/build/windows"
prefix="$build/wineprefix-demo"
folder="$build/standin-demo"
work=$(mktemp -d "${TMPDIR:-/tmp}/qm-demo.XXXXXX")
cleanup() {
  # The Wine session keeps the display it started on: end it with the demo.
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
wine() { sh tools/wine-run.sh "$prefix" "$@"; }
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

mkdir -p "$folder"
# Script pages of an earlier registration are read-only.
chmod -R u+w "$folder"
cp "$build/hosts/com/qmkit.dll" "$folder/qmkit.dll"
if [ "$mode" != --interactive ]; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
fi
# Wine's own dialog fonts, and a font with the glyphs of every script for
# the edit boxes, as on the dialog pictures.
if [ -d /usr/share/wine/fonts ] && [ -d "$prefix/drive_c/windows/Fonts" ]; then
  cp -n /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
fi
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
  /v 'MS Shell Dlg 2' /d 'WenQuanYi Micro Hei' /f >/dev/null
wine regsvr32 /s "$(windows_path "$folder/qmkit.dll")"
echo "Registered $folder/qmkit.dll; the browser's context menu now holds:"
wine reg query 'HKCU\Software\Microsoft\Internet Explorer\MenuExt' |
  tr -d '\r' | sed -n 's/^HKEY_.*\\MenuExt\\/  /p'

page=(--address 'https://books.example/isbn/0306406152' --title 'A book to look up'
      --text 'This page is about a book; its address holds the book'"'"'s ISBN.
Right-click the page and pick =>ISBN.')
log="$work/log"
case "$mode" in
  --interactive)
    wine "$build/hosts/standin/qmkit-standin.exe" "${page[@]}" \
      --log "$(windows_path "$log")" || true
    ;;
  pick)
    wine "$build/hosts/standin/qmkit-standin.exe" "${page[@]}" --pick '=>ISBN' \
      --answer-dialogs ok --log "$(windows_path "$log")"
    ;;
  --screenshots)
    wine "$build/hosts/standin/qmkit-standin.exe" "${page[@]}" \
      --menu-shot "$(windows_path "$work/standin-menu.bmp")" \
      --pick '=>ISBN' --answer-dialogs ok \
      --dialog-shot "$(windows_path "$work/standin-isbn.bmp")" \
      --log "$(windows_path "$log")"
    mkdir -p docs/screenshots
    for name in standin-menu standin-isbn; do
      python3 tools/bmp_to_png.py "$work/$name.bmp" "docs/screenshots/$name.png"
    done
    ;;
esac
echo "What happened on the page:"
sed 's/^/  /' "$log" 2>/dev/null || true
