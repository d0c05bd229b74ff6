#!/usr/bin/env bash
# The main job: sets up a fresh machine, builds the terminal host and runs
#   qmkit ARGUMENTS...
# for instance: tools/qmkit.sh ISBN --url https://www.example.com/dp/0306406152/
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh >&2
cmake --preset native >/dev/null
cmake --build --preset native --target qmkit >/dev/null
exec build/native/hosts/terminal/qmkit "$@"
