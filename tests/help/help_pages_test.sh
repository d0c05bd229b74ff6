#!/usr/bin/env bash
# The help pages that the dialogs name are there: every HELP_TOPIC_* page
# of resource_ids.h is a file of resources/help and, when a compiled help
# file is given, a page of its directory.
#
#   help_pages_test.sh RESOURCE_IDS_H HELP_SOURCE_DIR [QMKIT_CHM]
set -euo pipefail

ids_header="$1"
help_dir="$2"
chm="${3:-}"

# Prints the names in the directory of the compiled help file $1, one a
# line. The directory (the second section of the file's header) is a
# header of its own followed by listing chunks; each "PMGL" chunk holds
# entries of name length, name, section, offset and length, the numbers
# as 7-bit groups, most significant first, with the top bit set on every
# group but the last.
chm_names() {
  local -a b
  mapfile -t b < <(od -An -v -tu1 -w1 "$1" | tr -d ' ')
  u32() { echo $(( b[$1] | b[$1+1] << 8 | b[$1+2] << 16 | b[$1+3] << 24 )); }
  [ "${#b[@]}" -gt 120 ] && [ "$(printf '%02x%02x%02x%02x' "${b[@]:0:4}")" = 49545346 ] ||
    { echo "$1: not a compiled help file" >&2; return 1; }
  local dir; dir=$(u32 $((0x48)))          # offset of the directory section
  [ "$(printf '%02x%02x%02x%02x' "${b[@]:dir:4}")" = 49545350 ] ||
    { echo "$1: no directory header" >&2; return 1; }
  local header_len chunk_size chunk
  header_len=$(u32 $((dir + 8)))
  chunk_size=$(u32 $((dir + 0x10)))
  chunk=$(u32 $((dir + 0x20)))              # the first listing chunk
  local seen=0
  while [ "$chunk" -ne 4294967295 ] && [ "$seen" -lt 10000 ]; do
    seen=$((seen + 1))
    local at=$((dir + header_len + chunk * chunk_size))
    [ "$(printf '%02x%02x%02x%02x' "${b[@]:at:4}")" = 504d474c ] ||
      { echo "$1: chunk $chunk is no listing" >&2; return 1; }
    local end=$((at + chunk_size - $(u32 $((at + 4)))))
    local p=$((at + 0x14))
    encint() {
      local v=0
      while :; do
        v=$(( (v << 7) | (b[p] & 0x7f) ))
        p=$((p + 1))
        (( b[p-1] & 0x80 )) || break
      done
      n=$v
    }
    local n name
    while [ "$p" -lt "$end" ]; do
      encint
      name=$(printf '\\x%02x' "${b[@]:p:n}")
      p=$((p + n))
      encint; encint; encint
      printf '%b\n' "$name"
    done
    chunk=$(u32 $((at + 0x10)))
  done
}

pages=$(sed -n 's/^#define HELP_TOPIC_[A-Z_]* "\(.*\)"$/\1/p' "$ids_header")
count=$(printf '%s\n' "$pages" | grep -c .)
failures=0
if [ "$count" -ne 15 ]; then
  echo "FAIL: $ids_header names $count help topic pages, not 15" >&2
  failures=$((failures + 1))
fi
for page in $pages; do
  [ -f "$help_dir/$page" ] || { echo "FAIL: no $help_dir/$page" >&2; failures=$((failures + 1)); }
done
if [ -n "$chm" ]; then
  names=$(chm_names "$chm") || { echo "FAIL: cannot list $chm" >&2; exit 1; }
  for page in $pages; do
    grep -qxF "/$page" <<<"$names" ||
      { echo "FAIL: $chm holds no /$page" >&2; failures=$((failures + 1)); }
  done
fi
[ "$failures" -eq 0 ] || exit 1
echo "all $count help topic pages present${chm:+ in $help_dir and $chm}"
