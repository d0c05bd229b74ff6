#!/usr/bin/env bash
# The core's work for one menu command, native against WebAssembly, and what
# the products cost to load and start: builds core_work_bench in
# build/native and in build/wasm (plainly, and with the functions that the
# extension's module instruments for Asyncify instrumented alike, as the
# extension runs them), runs the native program and then the WebAssembly
# ones under node (one after the other, so they do not compete for the
# cores), and prints per workload the nanoseconds per call of each and the
# ratios to native. Then the size of the extension's qmkit_core.wasm (and
# gzipped, and without Asyncify), and the CPU time of one answered terminal
# command next to /bin/true (bench/command_start_bench). Fails when the
# builds' result hashes differ: the WebAssembly core then computes something
# other than the native one. Run by hand; it is no part of the test run.
#   tools/bench-wasm.sh [--round-ms N] [--rounds N]   (given to the core runs)
set -euo pipefail
cd "$(dirname "$0")/.."
export NODE_PATH=/usr/share/nodejs
node_bin="$(command -v node || command -v nodejs)"

echo "== building core_work_bench, native and WebAssembly" >&2
cmake --preset native >&2
cmake --build build/native -j2 --target core_work_bench command_start_bench qmkit >&2
# QM_BUILD_BENCH adds bench/ to the WebAssembly build, where only these
# benchmarks are built.
cmake --preset wasm -DQM_BUILD_BENCH=ON >&2
cmake --build build/wasm -j2 --target core_work_bench core_work_bench_asyncify qm_webext >&2

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
echo "== running the native build" >&2
build/native/bench/core_work_bench "$@" >"$out/native"
echo "== running the WebAssembly build under node" >&2
# The loader's fetch fails under node 20 for a local file.
"$node_bin" --no-experimental-fetch build/wasm/bench/core_work_bench.js "$@" >"$out/wasm"
echo "== running the WebAssembly build with Asyncify under node" >&2
"$node_bin" --no-experimental-fetch build/wasm/bench/core_work_bench_asyncify.js "$@" \
  >"$out/asyncify"

grep '^check' "$out/native" >"$out/native.check" || true
for build in wasm asyncify; do
  grep '^check' "$out/$build" >"$out/$build.check" || true
  if [[ ! -s "$out/native.check" ]] || ! cmp -s "$out/native.check" "$out/$build.check"; then
    echo "bench-wasm: the native and WebAssembly ($build) results differ:" >&2
    diff "$out/native.check" "$out/$build.check" >&2 || true
    exit 1
  fi
done

awk -F'\t' '
  FILENAME == ARGV[1] { if ($1 != "check") native[$1] = $2; next }
  FILENAME == ARGV[2] { if ($1 != "check") wasm[$1] = $2; next }
  $1 == "check" { next }
  !($1 in native) || !($1 in wasm) {
    print "bench-wasm: no native or WebAssembly time for " $1 > "/dev/stderr"; exit 1
  }
  {
    if (!header++) printf "%-18s %12s %12s %7s %12s %7s\n", "workload", "native_ns", "wasm_ns",
                          "ratio", "asyncify_ns", "ratio"
    printf "%-18s %12.1f %12.1f %7.2f %12.1f %7.2f\n", $1, native[$1], wasm[$1],
           wasm[$1] / native[$1], $2, $2 / native[$1]
  }
' "$out/native" "$out/wasm" "$out/asyncify"

module=build/wasm/webext/qmkit_core.wasm
unpaused=build/wasm/hosts/webext/qmkit_core_unpaused.wasm
wasm-opt --strip-debug "$unpaused" -o "$out/unpaused.wasm"
printf '%-18s %12s\n' "wasm_bytes" "$(stat -c %s "$module")"
printf '%-18s %12s\n' "wasm_gzip_bytes" "$(gzip -9c "$module" | wc -c)"
printf '%-18s %12s\n' "without_asyncify" "$(stat -c %s "$out/unpaused.wasm")"
echo "results agree: $(wc -l <"$out/native.check") workload hashes" >&2

echo "== one answered terminal command next to /bin/true (CPU time)" >&2
build/native/bench/command_start_bench build/native/hosts/terminal/qmkit
