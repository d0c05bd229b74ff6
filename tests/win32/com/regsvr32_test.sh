#!/bin/sh
# Registers a copy of the built module with `regsvr32 /s`, checks the
# registry with `reg query` and the page files, then removes it with
# `regsvr32 /s /u` and checks that all of it is gone.
#   regsvr32_test.sh <wine-run.sh> <prefix folder> <qmkit.dll>
set -u

if [ $# -ne 3 ]; then
  echo "usage: $0 <wine-run.sh> <prefix folder> <qmkit.dll>" >&2
  exit 2
fi
wine_run=$1
prefix=$2

class='HKCR\CLSID\{18C2DF30-E9B6-4C14-964A-95D344C4B374}'
library='HKCR\TypeLib\{1B2C8EE2-F935-4019-96DF-AF05B9286A81}'
ie='HKCU\Software\Microsoft\Internet Explorer'

folder=$(mktemp -d "${TMPDIR:-/tmp}/qm-regsvr32.XXXXXX")
out="$folder.out"
trap 'chmod -R u+w "$folder"; rm -rf "$folder" "$out"' EXIT
cp "$3" "$folder/qmkit.dll"
module="Z:$(printf '%s' "$folder/qmkit.dll" | tr / '\\')"

failures=0
fail() {
  printf 'FAIL: %s\n' "$*"
  failures=$((failures + 1))
}
wine_quiet() {
  sh "$wine_run" "$prefix" "$@" >"$out" 2>&1
}
# Whether `reg query` finds each key: yes or no.
expect_keys() {
  expected=$1
  shift
  for key in "$@"; do
    if wine_quiet reg query "$key"; then found=yes; else found=no; fi
    [ "$found" = "$expected" ] || fail "key $key present: $found"
  done
}
# The number of lines matching $2 in `reg query $1 /s`.
expect_count() {
  wine_quiet reg query "$1" /s
  count=$(grep -c "$2" "$out")
  [ "$count" -eq "$3" ] || fail "$count of '$2' under $1 instead of $3"
}
keys="HKCR\\VKR.AQuillmark\\CurVer HKCR\\VKR.AQuillmark.1\\CLSID
$class\\Programmable $library\\1.0"

wine_quiet regsvr32 /s "$module" || fail "regsvr32 exited with $?"
expect_keys yes $keys
wine_quiet reg query "$class\\InprocServer32" && grep -qF "$module" "$out" ||
  fail "InprocServer32 does not name $module"
expect_count "$ie\\MenuExt" 'Contexts *REG_DWORD *0x31' 14
expect_count "$ie\\Extensions" 'MenuCustomize *REG_SZ *Tools' 14
pages=$(find "$folder" -name '*.htm' -perm 444 | wc -l)
[ "$pages" -eq 14 ] || fail "$pages read-only pages instead of 14"

wine_quiet regsvr32 /s /u "$module" || fail "regsvr32 /u exited with $?"
expect_keys no $keys HKCR\\VKR.AQuillmark HKCR\\VKR.AQuillmark.1 "$class" \
  "$library"
expect_keys yes HKCR\\CLSID
expect_count "$ie\\MenuExt" 'Contexts *REG_DWORD *0x31' 0
expect_count "$ie\\Extensions" 'MenuCustomize *REG_SZ *Tools' 0
left=$(ls -A "$folder")
[ "$left" = qmkit.dll ] || fail "files left beside the module: $left"

[ "$failures" -eq 0 ] || { echo "$failures checks failed"; exit 1; }
echo "regsvr32 registration and removal: all checks passed"
