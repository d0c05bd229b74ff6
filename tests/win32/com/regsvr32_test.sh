#!/bin/sh
# Registers a copy of the built module with `regsvr32 /s`, checks the
# registry and the page files with `reg query` and the file system, then
# removes it with `regsvr32 /s /u` and checks that all of it is gone.
#   regsvr32_test.sh <wine-run.sh> <prefix folder> <qmkit.dll>
set -u

if [ $# -ne 3 ]; then
  echo "usage: $0 <wine-run.sh> <prefix folder> <qmkit.dll>" >&2
  exit 2
fi
wine_run=$1
prefix=$2
module=$3

class='{18C2DF30-E9B6-4C14-964A-95D344C4B374}'
library='{1B2C8EE2-F935-4019-96DF-AF05B9286A81}'
ie='HKCU\Software\Microsoft\Internet Explorer'
pages='book config convert currency email isbn movie music other search stock translate upc url'

folder=$(mktemp -d "${TMPDIR:-/tmp}/qm-regsvr32.XXXXXX")
cp "$module" "$folder/qmkit.dll"
windows_module="Z:$(printf '%s' "$folder/qmkit.dll" | tr / '\\')"

failures=0
fail() {
  printf "FAIL: %s\n" "$*"
  failures=$((failures + 1))
}
wine_quiet() {
  sh "$wine_run" "$prefix" "$@" >"$folder.out" 2>&1
}
# Each context-menu key, named by the menu text.
for_each_menu() {
  for text in "=> Pellmor Quillmark" "=>Book" "=>Convert" "=>Currency" \
      "=>Email" "=>ISBN" "=>Movie" "=>Music" "=>Other" "=>Search" \
      "=>Stock Symbol" "=>Translate" "=>UPC" "=>URL"; do
    "$@" "$ie\\MenuExt\\$text"
  done
}
expect_key() {
  wine_quiet reg query "$1" || fail "missing key $1"
}
expect_no_key() {
  if wine_quiet reg query "$1"; then fail "key left behind: $1"; fi
}
expect_contexts() {
  wine_quiet reg query "$1" /v Contexts && grep -q 'REG_DWORD *0x31' "$folder.out" ||
    fail "no Contexts 0x31 in $1"
}
trap 'chmod -R u+w "$folder"; rm -rf "$folder" "$folder.out"' EXIT

wine_quiet regsvr32 /s "$windows_module" || fail "regsvr32 exited with $?"
expect_key "HKCR\\VKR.AQuillmark\\CurVer"
expect_key "HKCR\\VKR.AQuillmark.1\\CLSID"
expect_key "HKCR\\CLSID\\$class\\Implemented Categories"
expect_key "HKCR\\TypeLib\\$library\\1.0"
wine_quiet reg query "HKCR\\CLSID\\$class\\InprocServer32" &&
  grep -qF "$windows_module" "$folder.out" ||
  fail "InprocServer32 does not name $windows_module"
for_each_menu expect_contexts
wine_quiet reg query "$ie\\Extensions" /s
count=$(grep -c 'MenuCustomize *REG_SZ *Tools' "$folder.out")
[ "$count" -eq 14 ] || fail "$count Tools-menu entries instead of 14"
for page in $pages; do
  file="$folder/$page.htm"
  [ -f "$file" ] || { fail "no $page.htm"; continue; }
  [ "$(stat -c %a "$file")" = 444 ] || fail "$page.htm is not read-only"
  grep -q "external.menuArguments, \"$(echo "$page" | tr a-z A-Z)\"" "$file" ||
    fail "$page.htm does not pass its command word"
done

wine_quiet regsvr32 /s /u "$windows_module" || fail "regsvr32 /u exited with $?"
expect_no_key "HKCR\\VKR.AQuillmark"
expect_no_key "HKCR\\VKR.AQuillmark.1"
expect_no_key "HKCR\\CLSID\\$class"
expect_no_key "HKCR\\TypeLib\\$library"
expect_key "HKCR\\CLSID"
for_each_menu expect_no_key
wine_quiet reg query "$ie\\Extensions" /s
count=$(grep -c 'MenuCustomize *REG_SZ *Tools' "$folder.out")
[ "$count" -eq 0 ] || fail "$count Tools-menu entries left behind"
left=$(ls -A "$folder")
[ "$left" = qmkit.dll ] || fail "files left beside the module: $left"

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "regsvr32 registration and removal: all checks passed"
