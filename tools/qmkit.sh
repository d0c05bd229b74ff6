#!/usr/bin/env bash
# The main job: sets up a fresh machine, builds the terminal host and runs
#   qmkit catalogue [CATEGORY] [options]
# (BOOK when no category is given).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh >&2
cmake --preset native >/dev/null
cmake --build --preset native --target qmkit >/dev/null
if (($# == 0)); then set -- BOOK; fi
exec build/native/hosts/terminal/qmkit catalogue "$@"
