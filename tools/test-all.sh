#!/usr/bin/env bash
# Every test: sets up a fresh machine, builds and tests natively, builds the
# Windows target and runs the same core suite and the Windows tests under
# Wine, builds the 32-bit module, builds the core as WebAssembly and runs its
# suite under node, assembles the browser extension and runs its tests in
# headless chromium and firefox-esr, then runs each fuzz target for a short,
# bounded time.
#   tools/test-all.sh [SECONDS_PER_FUZZ_TARGET]   (default 20)
set -euo pipefail
cd "$(dirname "$0")/.."
fuzz_seconds="${1:-20}"

tools/install-deps.sh all

echo "== native build and tests"
cmake --preset native
cmake --build --preset native
ctest --preset native

echo "== Windows build, tests under Wine"
cmake --preset windows
cmake --build --preset windows
# A virtual display, so that tests can show windows (message boxes) and
# press their buttons; without one those tests check that nothing is shown.
xvfb-run -a ctest --preset windows
# The Wine server of the tests would linger for a minute; end it now.
WINEPREFIX="$PWD/build/windows/wineprefix" wineserver -k 2>/dev/null || true

echo "== Windows i686 module (built only: no 32-bit Wine here)"
cmake --preset windows-i686
cmake --build --preset windows-i686

echo "== the core as WebAssembly and the browser extension, tests under node and in the browsers"
# The browser tests' one dependency, at the version the lock file pins.
npm ci --prefix tests/browser --no-audit --no-fund --loglevel=error
cmake --preset wasm
cmake --build --preset wasm
ctest --preset wasm

echo "== fuzz targets, ${fuzz_seconds} s each"
tools/run-fuzzers.sh "$fuzz_seconds"
