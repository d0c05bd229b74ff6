#!/bin/sh
# Runs a Windows program under Wine in a prefix of its own:
#   tools/wine-run.sh <prefix folder> <program.exe> [arguments...]
# ctest calls it for every Windows test program (the toolchain's emulator),
# with the prefix inside the build folder, so nothing needs exporting.
#
# The prefix is created on first use. The Wine session (the server and the
# system processes) is started here with its output going nowhere, and the
# server stays up for 60 s after the last program ends, then stops by itself
# with everything it started.
#
# The program writes to a temporary file that is copied out when it ends:
# Wine sometimes starts a system process from the program, which inherits
# its output, and ctest would wait for every holder of its pipe to exit.
set -eu

if [ $# -lt 2 ]; then
  echo "usage: $0 <prefix folder> <program.exe> [arguments...]" >&2
  exit 2
fi
prefix=$1
shift
case $prefix in
  /*) ;;
  *) prefix=$(pwd)/$prefix ;;
esac

export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer dialogs.
export WINEDLLOVERRIDES="mscoree,mshtml="

mkdir -p "$prefix"
(
  # Test programs may start at the same time (ctest -j); one prepares.
  flock 9
  # Nothing started here may inherit the lock (descriptor 9), or a server
  # would hold it for as long as it runs.
  if [ ! -f "$prefix/.qm-prefix-ready" ]; then
    if ! wineboot -i </dev/null >/dev/null 2>&1 9>&-; then
      echo "wine-run.sh: could not create the Wine prefix $prefix" >&2
      exit 1
    fi
    # The server writes the new registry to disk when it exits: the prefix
    # is complete only then.
    wineserver -w 9>&-
    touch "$prefix/.qm-prefix-ready"
  fi
  # The server exits with status 2 when one is running already, its session
  # started.
  if wineserver -p60 </dev/null >/dev/null 2>&1 9>&-; then
    wineboot </dev/null >/dev/null 2>&1 9>&-
  fi
) 9>"$prefix/.qm-lock"

output=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
trap 'rm -f "$output"' EXIT
status=0
wine "$@" </dev/null >"$output" 2>&1 || status=$?
cat "$output"
exit $status
