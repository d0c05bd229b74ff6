#!/usr/bin/env bash
# Builds the browser extension, the core compiled to WebAssembly with the
# extension's own files, into build/webext/webext, and prints that folder:
# load it unpacked in Chromium (or as a temporary add-on in Firefox).
#   tools/webext.sh
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh webext
# A build folder of its own, without the test programs (and GoogleTest).
cmake --preset wasm -B build/webext -DQM_BUILD_TESTS=OFF >/dev/null
cmake --build build/webext -j2 --target qm_webext >/dev/null
echo "$PWD/build/webext/webext"
