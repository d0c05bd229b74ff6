#!/usr/bin/env bash
# The main job: sets up a fresh machine, builds the terminal host and runs
#   qmkit ARGUMENTS...
# for instance: tools/qmkit.sh ISBN --url https://www.example.com/dp/0306406152/
#
# Only what the program needs is installed and built (the app preset, in
# build/app; configure.log and build.log there). A second run installs
# nothing, and when no source is newer than the program it does not even
# ask make. An error names the log to read.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tools="$root/tools"
build="$root/build/app"
program="$build/hosts/terminal/qmkit"

"$tools/install-deps.sh" app >&2
log="$build/build.log"
if [ ! -f "$build/Makefile" ]; then
  echo "Building qmkit (once; about a minute) ..." >&2
  mkdir -p "$build"
  (cd "$root" && cmake --preset app) >"$build/configure.log" 2>&1 ||
    { echo "qmkit.sh: configuring the build failed; see $build/configure.log" >&2; exit 1; }
fi
sources=("$root/src" "$root/hosts" "$root/resources" "$root/cmake" "$root/CMakeLists.txt" "$root/CMakePresets.json")
if [ ! -x "$program" ] || [ -n "$(find "${sources[@]}" -newer "$program" -print -quit)" ]; then
  make -C "$build" -j2 --no-print-directory qmkit >"$log" 2>&1 ||
    { echo "qmkit.sh: building qmkit failed; see $log" >&2; exit 1; }
  # make leaves the program alone when a change did not concern it.
  touch "$program"
fi
exec "$program" "$@"
