#!/bin/sh
# The whole menu path under Wine: a copy of the built module registered with
# regsvr32 in a prefix of the test's own, then the stand-in browser picks
# "=>ISBN" on a page whose address holds an ISBN, with its dialog answered
# OK, and again with its security manager refusing the component.
#   standin_test.sh <wine-run.sh> <prefix folder> <qmkit.dll> <qmkit-standin.exe>
# Needs an X display (ctest runs it inside xvfb-run).
set -u

if [ $# -ne 4 ]; then
  echo "usage: $0 <wine-run.sh> <prefix folder> <qmkit.dll> <qmkit-standin.exe>" >&2
  exit 2
fi
wine_run=$1
prefix=$2
standin=$4

folder=$(mktemp -d "${TMPDIR:-/tmp}/qm-standin.XXXXXX")
cleanup() {
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  chmod -R u+w "$folder"
  rm -rf "$folder"
}
trap cleanup EXIT
cp "$3" "$folder/qmkit.dll"
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

failures=0
fail() {
  printf 'FAIL: %s\n' "$*"
  failures=$((failures + 1))
}
wine_quiet() {
  sh "$wine_run" "$prefix" "$@" >"$folder/out" 2>&1
}
# Runs the stand-in on the ISBN page with the options given; its log is
# $folder/log, its exit status $status.
pick_isbn() {
  rm -f "$folder/log"
  status=0
  # A dialog left unanswered would wait for a person forever.
  timeout 120 sh "$wine_run" "$prefix" "$standin" \
    --address 'https://books.example/item/0306406152' --title 'A book' \
    --pick '=>ISBN' --answer-dialogs ok --log "$(windows_path "$folder/log")" "$@" \
    >"$folder/out" 2>&1 || status=$?
  touch "$folder/log"
}
has_line() { grep -qxF -- "$1" "$folder/log"; }
count_lines() { grep -c -- "$1" "$folder/log"; }

# No window manager: Wine then neither waits for one nor leaves the
# windows undrawn.
wine_quiet reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
wine_quiet regsvr32 /s "$(windows_path "$folder/qmkit.dll")" ||
  fail "regsvr32 exited with $?"

component='{18C2DF30-E9B6-4C14-964A-95D344C4B374}'
pick_isbn
[ "$status" -eq 0 ] || fail "the pick exited with $status"
has_line "object-safety $component allow" ||
  fail "the security manager did not vet the component"
has_line 'dialog Pellmor Quillmark' || fail "no ISBN dialog"
# The catalogue's sites ticked by default, in its order, with the ISBN.
[ "$(count_lines '^open ')" -eq 2 ] || fail "$(count_lines '^open ') windows opened instead of 2"
grep '^open ' "$folder/log" | sed 's/ features=.*//' >"$folder/opened"
printf '%s\n' \
  'open https://www.bookfinder.com/search/?isbn=0306406152&mode=isbn&st=sr&ac=qr name=BookFinder' \
  'open https://openlibrary.org/isbn/0306406152 name=OpenLibrary' |
  cmp -s - "$folder/opened" || fail "opened: $(cat "$folder/opened")"
[ "$(count_lines '^script-error')" -eq 0 ] || fail "script error: $(grep '^script-error' "$folder/log")"
grep -q '^open .* features=.*width=' "$folder/log" || fail "windows opened without features"
cp "$folder/log" "$folder/log-allowed"

pick_isbn --refuse-objects
[ "$status" -eq 0 ] || fail "the refused pick exited with $status"
has_line "object-safety $component refuse" || fail "the security manager was not asked"
has_line 'script-error 800a01ad Automation server can'"'"'t create object' ||
  fail "no script error for the refused component"
[ "$(count_lines '^dialog ')" -eq 0 ] || fail "a dialog opened although the component was refused"
[ "$(count_lines '^open ')" -eq 0 ] || fail "windows opened although the component was refused"

# An entry registered for links only is not offered on the page itself.
# On a link it is, and the object its page creates, which does not declare
# itself safe for a page's script (the system's shell object has no
# IObjectSafety), is refused, though the security manager lets objects run.
printf '<SCRIPT>\nvar shell = new ActiveXObject("WScript.Shell");\n</SCRIPT>\n' \
  >"$folder/unsafe.htm"
entry='HKCU\Software\Microsoft\Internet Explorer\MenuExt\Unsafe'
wine_quiet reg add "$entry" /ve /d "file:///$(windows_path "$folder/unsafe.htm")" /f
wine_quiet reg add "$entry" /v Contexts /t REG_DWORD /d 0x20 /f
pick_isbn --pick Unsafe
[ "$status" -eq 1 ] || fail "picking an entry not on the menu exited with $status"
has_line 'not-offered Unsafe' || fail "a links-only entry was offered on the page"
pick_isbn --pick Unsafe --link https://books.example/more --context anchor
[ "$status" -eq 0 ] || fail "the pick on a link exited with $status"
has_line 'object-safety {72C24DD5-D70A-438B-8A42-98424B88AFB8} refuse' ||
  fail "an object without IObjectSafety was not refused"
[ "$(count_lines '^script-error 800a01ad')" -eq 1 ] || fail "no script error for the unsafe object"
wine_quiet reg delete "$entry" /f

wine_quiet regsvr32 /s /u "$(windows_path "$folder/qmkit.dll")" ||
  fail "regsvr32 /u exited with $?"

if [ "$failures" -ne 0 ]; then
  echo "the log of the allowed pick:"
  cat "$folder/log-allowed" 2>/dev/null
  echo "$failures checks failed"
  exit 1
fi
echo "stand-in browser, ISBN pick allowed and refused: all checks passed"
