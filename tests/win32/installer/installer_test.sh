#!/bin/sh
# Installs setup.exe silently into a fresh Wine prefix, checks the files,
# the registration and the uninstaller entry, uninstalls silently and
# checks that the registry and the disk are as before: with the user's
# remembered ticks kept, and then, on a second round, with them removed
# by /REMOVETICKS.
#   installer_test.sh <wine-run.sh> <prefix folder> <setup.exe> <sample catalogue> <qmkit.chm>
set -u

if [ $# -ne 5 ]; then
  echo "usage: $0 <wine-run.sh> <prefix folder> <setup.exe> <sample catalogue> <qmkit.chm>" >&2
  exit 2
fi
wine_run=$1
prefix=$2
setup=$3
sample=$4
chm=$5

export WINEPREFIX="$prefix" WINEDEBUG=-all
work=$(mktemp -d "${TMPDIR:-/tmp}/qm-installer.XXXXXX")
out="$work/out"
stop_prefix() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  rm -rf "$prefix"
}
trap 'stop_prefix; rm -rf "$work"' EXIT
# A prefix of its own, new every time: what an earlier run left cannot hide
# what this one leaves.
stop_prefix

failures=0
fail() {
  printf 'FAIL: %s\n' "$*"
  failures=$((failures + 1))
}
wine_quiet() {
  sh "$wine_run" "$prefix" "$@" >"$out" 2>&1
}
windows_path() {
  printf 'Z:%s' "$1" | tr / '\\'
}
# The whole registry as text, one file per call.
export_registry() {
  wine_quiet regedit /E "$(windows_path "$work/$1.reg")" ||
    fail "regedit /E $1 exited with $?"
  iconv -f UTF-16LE -t UTF-8 "$work/$1.reg" | tr -d '\r' >"$work/$1.txt"
}
# Every file and folder of drive C, one path a line.
list_disk() {
  (cd "$prefix/drive_c" && find . | LC_ALL=C sort) >"$work/$1.files"
}
same() {
  diff -u "$work/$1" "$work/$2" >"$work/diff" ||
    { fail "$3:"; sed -n '3,40p' "$work/diff"; }
}
has_key() {
  wine_quiet reg query "$1"
}

folder='C:\Quillmark'
installed="$prefix/drive_c/Quillmark"
ticks='HKCU\Software\VKR\Quillmark'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\PellmorQuillmark'
class='HKCR\CLSID\{18C2DF30-E9B6-4C14-964A-95D344C4B374}'
menu='HKCU\Software\Microsoft\Internet Explorer\MenuExt'

install() {
  wine_quiet "$setup" /S "/D=$folder"
  # The installer's exit status says little (a stub that cannot run exits
  # 0 under Wine): what it did is checked below.
  [ -f "$installed/qmkit.dll" ] || { fail "setup.exe installed no qmkit.dll"; return; }
}

export_registry before-ticks
wine_quiet reg add "$ticks" /v 'ISBN:OpenLibrary' /t REG_DWORD /d 1 /f ||
  fail "could not write a tick"
export_registry before
list_disk before

# Round 1: install, look, uninstall keeping the ticks.
install
for f in qmkit.dll qmkit.chm qmkit.sample.ini uninstall.exe; do
  [ -f "$installed/$f" ] || fail "no $f installed"
done
[ -e "$installed/qmkit.ini" ] && fail "a qmkit.ini was installed: it would shadow the built-in catalogue"
cmp -s "$installed/qmkit.sample.ini" "$sample" || fail "qmkit.sample.ini is not the sample catalogue"
cmp -s "$installed/qmkit.chm" "$chm" || fail "qmkit.chm is not the help file of the build"
pages=$(find "$installed" -name '*.htm' | wc -l)
[ "$pages" -eq 14 ] || fail "$pages menu script pages beside the module instead of 14"
has_key 'HKCR\VKR.AQuillmark\CLSID' || fail "the ProgID is not registered"
has_key "$class\\InprocServer32" && grep -qiF 'C:\Quillmark\qmkit.dll' "$out" ||
  fail "InprocServer32 does not name C:\\Quillmark\\qmkit.dll"
has_key "$menu\\=>ISBN" && grep -q 'Contexts *REG_DWORD *0x31' "$out" ||
  fail "no menu entry =>ISBN with its contexts"
if has_key "$uninstall_key"; then
  grep -q 'DisplayName *REG_SZ *Pellmor Quillmark' "$out" || fail "uninstaller entry without its name"
  grep -qF '"C:\Quillmark\uninstall.exe" /S' "$out" || fail "uninstaller entry without its quiet command"
else
  fail "no uninstaller entry"
fi

# _? runs the uninstaller where it is, and so to its end before it
# returns; it also keeps it from deleting itself and so its folder (the
# copy of itself that it runs without _? does both): those two are removed
# here when they are all that is left.
uninstall() {
  wine_quiet "$installed/uninstall.exe" /S "$@" "_?=$folder"
  left=$(ls -A "$installed" 2>&1)
  [ "$left" = uninstall.exe ] || fail "left in the folder after uninstalling: $left"
  rm -f "$installed/uninstall.exe"
  rmdir "$installed"
}
uninstall
has_key "$ticks" || fail "the uninstaller removed the remembered ticks without /REMOVETICKS"
export_registry after
list_disk after
same before.txt after.txt "the registry after uninstalling differs from before installing"
same before.files after.files "drive C after uninstalling differs from before installing"

# Round 2: the same with /REMOVETICKS, after which the ticks are gone too.
install
uninstall /REMOVETICKS
export_registry after-ticks
list_disk after-ticks
same before-ticks.txt after-ticks.txt "the registry after uninstalling with /REMOVETICKS"
same before.files after-ticks.files "drive C after uninstalling with /REMOVETICKS"

[ "$failures" -eq 0 ] || { echo "$failures checks failed"; exit 1; }
echo "setup.exe install and uninstall: all checks passed"
