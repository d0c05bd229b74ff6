#!/usr/bin/env bash
# Lets Chromium and Firefox find qmkit's native messaging host, through
# which the browser extension starts the commands of catalogue entries:
#   tools/install-native-host.sh [--chromium-dir DIR] [--firefox-dir DIR]
#                                [--extension-id ID] [--launcher-dir DIR] QMKIT_PATH
# A browser starts the manifest's program with nothing but its own
# arguments, so the manifests name a small launcher that runs
# "QMKIT_PATH native-host"; the launcher goes in --launcher-dir.
set -euo pipefail

# The extension's id in Chromium, fixed by the public key in its manifest.
default_extension_id=aldbgkemmpjdmagnfglopgghkhnpoloc

host_name=com.pellmor.qmkit
templates="$(cd "$(dirname "$0")/.." && pwd)/hosts/terminal/native-host"
chromium_dir="$HOME/.config/chromium/NativeMessagingHosts"
firefox_dir="$HOME/.mozilla/native-messaging-hosts"
launcher_dir="${XDG_DATA_HOME:-$HOME/.local/share}/qmkit"
extension_id=$default_extension_id

usage() {
  cat <<EOF
usage: $0 [options] QMKIT_PATH

Writes $host_name.json for Chromium and for Firefox, naming a launcher that
runs QMKIT_PATH native-host.

options:
  --chromium-dir DIR   Chromium's host folder ($chromium_dir)
  --firefox-dir DIR    Firefox's host folder ($firefox_dir)
  --extension-id ID    the Chromium extension allowed to talk to the host
                       ($default_extension_id)
  --launcher-dir DIR   where the launcher goes ($launcher_dir)
EOF
}

fail() {
  echo "install-native-host.sh: $*" >&2
  exit 2
}

qmkit=""
while (($# > 0)); do
  case $1 in
    --chromium-dir | --firefox-dir | --extension-id | --launcher-dir)
      (($# >= 2)) || fail "$1 needs a value"
      case $1 in
        --chromium-dir) chromium_dir=$2 ;;
        --firefox-dir) firefox_dir=$2 ;;
        --extension-id) extension_id=$2 ;;
        --launcher-dir) launcher_dir=$2 ;;
      esac
      shift 2 ;;
    -h | --help) usage; exit 0 ;;
    --) shift; (($# == 1)) || fail "one QMKIT_PATH expected"; qmkit=$1; shift ;;
    -*) fail "unknown option $1" ;;
    *) [ -z "$qmkit" ] || fail "one QMKIT_PATH expected"; qmkit=$1; shift ;;
  esac
done
[ -n "$qmkit" ] || { usage >&2; exit 2; }

# Chromium ids are 32 letters from a to p.
if [[ ! $extension_id =~ ^[a-p]{32}$ ]]; then
  fail "\"$extension_id\" is not a Chromium extension id (32 letters a to p)"
fi

[ -f "$qmkit" ] && [ -x "$qmkit" ] || fail "$qmkit is not an executable file"
# Absolute, but a symbolic link is kept, so that a link that follows
# upgrades (~/.local/bin/qmkit) goes on serving.
qmkit="$(cd "$(dirname -- "$qmkit")" && pwd)/$(basename -- "$qmkit")"
help=$("$qmkit" native-host --help 2>/dev/null) || help=""
[[ $help == "usage: qmkit native-host"* ]] || fail "$qmkit is not a qmkit with native-host"
mkdir -p -- "$launcher_dir"
launcher="$(cd "$launcher_dir" && pwd)/qmkit-native-host"
if [[ $launcher =~ [[:cntrl:]] ]]; then
  fail "the launcher's path holds a control character"
fi

# In single quotes every character stands for itself but the quote.
quoted_qmkit="'${qmkit//\'/\'\\\'\'}'"
printf '#!/bin/sh\nexec %s native-host "$@"\n' "$quoted_qmkit" >"$launcher.new"
chmod 755 "$launcher.new"
mv -f -- "$launcher.new" "$launcher"

json_launcher=${launcher//\\/\\\\}
json_launcher=${json_launcher//\"/\\\"}

# write_manifest TEMPLATE DIR
write_manifest() {
  local text
  text=$(<"$templates/$1")
  text=${text//"@QMKIT_PATH@"/"$json_launcher"}
  text=${text//"@EXTENSION_ID@"/"$extension_id"}
  mkdir -p -- "$2"
  printf '%s\n' "$text" >"$2/$host_name.json.new"
  mv -f -- "$2/$host_name.json.new" "$2/$host_name.json"
  echo "wrote $2/$host_name.json"
}

write_manifest "$host_name.chromium.json" "$chromium_dir"
write_manifest "$host_name.firefox.json" "$firefox_dir"
echo "wrote $launcher (runs $qmkit native-host)"
