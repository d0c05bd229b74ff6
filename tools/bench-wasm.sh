#!/usr/bin/env bash
# The core's work for one menu command, native against WebAssembly: builds
# core_work_bench in build/native and in build/wasm, runs the native program
# and then the WebAssembly one under node (one after the other, so they do
# not compete for the cores), and prints per workload the nanoseconds per
# call of each and the ratio wasm / native, then the size of the
# benchmark's .wasm. Fails when the two builds' result hashes differ: the
# WebAssembly core then computes something other than the native one.
# Run by hand; it is no part of the test run.
#   tools/bench-wasm.sh [--round-ms N] [--rounds N]   (given to both runs)
set -euo pipefail
cd "$(dirname "$0")/.."
export NODE_PATH=/usr/share/nodejs
node_bin="$(command -v node || command -v nodejs)"

echo "== building core_work_bench, native and WebAssembly" >&2
cmake --preset native >&2
cmake --build build/native -j2 --target core_work_bench >&2
# QM_BUILD_BENCH adds bench/ to the WebAssembly build, where only this
# benchmark is built.
cmake --preset wasm -DQM_BUILD_BENCH=ON >&2
cmake --build build/wasm -j2 --target core_work_bench >&2

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
echo "== running the native build" >&2
build/native/bench/core_work_bench "$@" >"$out/native"
echo "== running the WebAssembly build under node" >&2
# The loader's fetch fails under node 20 for a local file.
"$node_bin" --no-experimental-fetch build/wasm/bench/core_work_bench.js "$@" >"$out/wasm"

grep '^check' "$out/native" >"$out/native.check" || true
grep '^check' "$out/wasm" >"$out/wasm.check" || true
if [[ ! -s "$out/native.check" ]] || ! cmp -s "$out/native.check" "$out/wasm.check"; then
  echo "bench-wasm: the native and WebAssembly results differ:" >&2
  diff "$out/native.check" "$out/wasm.check" >&2 || true
  exit 1
fi

awk -F'\t' '
  NR == FNR { if ($1 != "check") native[$1] = $2; next }
  $1 == "check" { next }
  !($1 in native) { print "bench-wasm: no native time for " $1 > "/dev/stderr"; exit 1 }
  {
    if (!header++) printf "%-18s %14s %14s %7s\n", "workload", "native_ns", "wasm_ns", "ratio"
    printf "%-18s %14.1f %14.1f %7.2f\n", $1, native[$1], $2, $2 / native[$1]
  }
' "$out/native" "$out/wasm"
printf '%-18s %14s\n' "wasm_bytes" "$(stat -c %s build/wasm/bench/core_work_bench.wasm)"
echo "results agree: $(wc -l <"$out/native.check") workload hashes" >&2
