#!/usr/bin/env bash
# Installs what a build needs on a Debian 12 machine, as root (or through
# sudo), without asking anything. Packages already present are left alone,
# so a second run costs a few dpkg queries and prints nothing.
#
#   tools/install-deps.sh [app|webext|all]
#
#   app     what the qmkit program alone needs (the README's main job)
#   webext  what the browser extension needs to be built and loaded
#   all     every build and test: native tests and benchmarks, the Windows
#           cross build run under Wine, the fuzzers, the core as WebAssembly
#           and the browser extension in chromium and firefox-esr (default)
#
# Every command the scripts and CMake files call comes from a package listed
# here; `dpkg -S "$(readlink -f "$(command -v CMD)")"` names the package of a
# command. apt's own output goes to a log file that the error names.
set -euo pipefail

set_name="${1:-all}"
# libncurses-dev: the wide-character curses library of the full-screen
# dialogs
app=(cmake make g++ libncurses-dev)
case "$set_name" in
  app) packages=("${app[@]}") ;;
  # the browser extension: the core as WebAssembly, and a browser to load it
  webext) packages=("${app[@]}" emscripten nodejs chromium) ;;
  all)
    packages=(
      "${app[@]}"
      # native tests and benchmarks; tmux runs qmkit's full-screen dialogs
      googletest libgtest-dev libbenchmark-dev libinih-dev pkg-config tmux
      # fuzzers: clang with libFuzzer and the sanitizers
      clang libclang-rt-14-dev
      # the Windows build and its tests: wine (not wine64 alone) puts wine
      # and wineboot on PATH
      g++-mingw-w64-x86-64 mingw-w64-tools wine wine64 libwine-dev
      # the 32-bit module, built only (widl reads the platform's .idl files
      # from libwine-dev and stdole2.tlb from the libwine it brings)
      g++-mingw-w64-i686
      # dialogs under a virtual display: Wine's own fonts (its dialog font
      # and caption buttons; a recommendation that --no-install-recommends
      # leaves out) and a CJK font for text in Chinese or Japanese script
      xvfb xauth fonts-wine fonts-wqy-microhei
      # the help file (chmcmd) and the installer (makensis)
      fp-utils nsis
      # the core as WebAssembly, its tests run under node
      emscripten nodejs
      # the browser extension's tests: the browsers, driven by puppeteer-core
      # from npm
      chromium firefox-esr
    )
    # npm comes with nodejs where that is not Debian's own package; Debian's
    # npm would conflict with it there.
    command -v npm >/dev/null || packages+=(npm)
    ;;
  *)
    echo "usage: $0 [app|webext|all]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$p")
done
((${#missing[@]})) || exit 0

echo "Installing ${missing[*]} with apt-get ..."
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
log="${TMPDIR:-/tmp}/qmkit-install-deps.log"
export DEBIAN_FRONTEND=noninteractive
if ! { $sudo apt-get update -q && $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"; } \
    </dev/null >"$log" 2>&1; then
  echo "install-deps.sh: apt-get could not install ${missing[*]}; its output is in $log" >&2
  exit 1
fi
