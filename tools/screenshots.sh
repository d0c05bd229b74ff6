#!/usr/bin/env bash
# Refreshes the pictures of the dialogs in docs/screenshots/: builds the
# dialog tests for Windows, runs them under Wine on a virtual display with
# pictures on, and turns each picture into a PNG. Needs what
# `tools/install-deps.sh all` installs, and python3.
#   tools/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset windows >/dev/null
cmake --build build/windows -j2 --target qm_win32_dialog_tests
program=build/windows/platform/win32/tests/qm_win32_dialog_tests.exe

shots=$(mktemp -d "${TMPDIR:-/tmp}/qm-shots.XXXXXX")
trap 'rm -rf "$shots"' EXIT
# The tests write the pictures through Wine, which reaches this machine's
# folders on drive Z:.
QM_SCREENSHOT_DIR="Z:$(printf '%s' "$shots" | tr / '\\')" \
  sh tests/win32/run-with-display.sh "$PWD/build/windows/wineprefix-display" "$program"

mkdir -p docs/screenshots
for picture in "$shots"/*.bmp; do
  python3 tools/bmp_to_png.py "$picture" "docs/screenshots/$(basename "${picture%.bmp}").png"
done
ls docs/screenshots
