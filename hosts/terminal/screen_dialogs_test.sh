#!/usr/bin/env bash
# The full-screen dialogs as a person meets them: qmkit started in a
# terminal (tmux, on a private server), keys sent, the screen read back,
# and what qmkit did checked: the addresses it handed to a stand-in browser,
# its printed log, its exit status, and every byte it wrote to the terminal.
#
#   screen_dialogs_test.sh QMKIT
#
# Exits 0 when every case passes, 1 when one fails, 77 (skipped) without
# tmux.
set -u

qmkit=$(readlink -f "${1:?usage: $0 QMKIT}")
command -v tmux >/dev/null || { echo "tmux is not installed: skipped"; exit 77; }

# A private server, whatever terminal (or tmux) the tests run from.
unset TMUX
work=$(mktemp -d)
server="qmkit-screen-test-$$"
tm() { tmux -L "$server" -f /dev/null "$@"; }
trap 'tm kill-server 2>/dev/null; rm -rf "$work"' EXIT

# The stand-in browser: one line per address, in the order they come.
cat >"$work/browser" <<'EOF'
#!/bin/sh
printf '%s\n' "$1" >>"$QM_OPENED"
EOF
chmod +x "$work/browser"

failures=0
name=""
dir=""

fail() {
  echo "FAIL [$name]: $*"
  echo "--- the screen:"
  tm capture-pane -p -t "$name" 2>/dev/null
  echo "---"
  failures=$((failures + 1))
}

# start NAME [VAR=VALUE...] [STDIN=FILE] -- QMKIT-ARGUMENTS...: runs qmkit
# in a new 100x30 terminal with its own configuration folder (standard
# input from FILE instead of the terminal), recording the pane's output
# bytes from before qmkit starts.
start() {
  name=$1
  shift
  dir="$work/$name"
  mkdir -p "$dir/config"
  local vars=(XDG_CONFIG_HOME="$dir/config" BROWSER="$work/browser" QM_OPENED="$dir/opened")
  local input=""
  while [ "$1" != "--" ]; do
    case "$1" in
      STDIN=*) input=" <$(printf %q "${1#STDIN=}")" ;;
      *) vars+=("$1") ;;
    esac
    shift
  done
  shift
  {
    echo "read -r _"
    printf 'env'
    printf ' %q' "${vars[@]}" "$qmkit" "$@"
    printf ' --open 2>%q%s\n' "$dir/stderr" "$input"
    echo 'echo "EXIT=$?"'
    echo "sleep 600"
  } >"$dir/run.sh"
  tm new-session -d -s "$name" -x 100 -y 30 "bash $(printf %q "$dir/run.sh")"
  tm pipe-pane -t "$name" -o "cat >>$(printf %q "$dir/raw")"
  tm send-keys -t "$name" Enter
}

keys() { tm send-keys -t "$name" "$@"; }
screen() { tm capture-pane -p -t "$name"; }
# The whole pane with its history, wrapped lines joined.
history() { tm capture-pane -p -J -S -1000 -t "$name"; }

# wait_for TEXT: until the screen shows TEXT; at most ten seconds.
wait_for() {
  local i
  for ((i = 0; i < 100; i++)); do
    screen | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  fail "the screen never showed \"$1\""
  return 1
}

# wait_gone TEXT: until the screen no longer shows TEXT.
wait_gone() {
  local i
  for ((i = 0; i < 100; i++)); do
    screen | grep -qF -- "$1" || return 0
    sleep 0.1
  done
  fail "the screen still shows \"$1\""
  return 1
}

# expect_exit STATUS: waits for qmkit to end and checks its status and
# that the terminal was given back (no alternate screen, a visible caret).
expect_exit() {
  local i status=""
  for ((i = 0; i < 100; i++)); do
    status=$(history | sed -n 's/^EXIT=\([0-9]*\)$/\1/p')
    [ -n "$status" ] && break
    sleep 0.1
  done
  [ "$status" = "$1" ] || { fail "exit status \"$status\", expected $1"; return 1; }
  [ "$(tm display -p -t "$name" '#{alternate_on}')" = 0 ] || fail "the alternate screen was left on"
  [ "$(tm display -p -t "$name" '#{cursor_flag}')" = 1 ] || fail "the caret was left hidden"
}

# expect_opened ADDRESS-PART...: the stand-in browser got exactly these
# addresses, one containing each part (it starts without qmkit waiting,
# so they may come in any order), and qmkit's printed log lists them in
# this order.
expect_opened() {
  local i
  for ((i = 0; i < 50; i++)); do
    [ "$(cat "$dir/opened" 2>/dev/null | wc -l)" -ge "$#" ] && break
    sleep 0.1
  done
  sleep 0.2  # one more than expected would have come by now
  local got=() logged=()
  [ -e "$dir/opened" ] && mapfile -t got <"$dir/opened"
  mapfile -t logged < <(history | sed -n 's/^  url: //p')
  if [ "${#got[@]}" -ne "$#" ] || [ "${#logged[@]}" -ne "$#" ]; then
    fail "opened ${#got[@]} and logged ${#logged[@]} address(es), expected $#: ${got[*]:-none}"
    return 1
  fi
  local k=0 part
  for part in "$@"; do
    printf '%s\n' "${got[@]}" | grep -qF -- "$part" || fail "no address with $part was opened"
    [[ "${logged[$k]}" == *"$part"* ]] ||
      fail "address $((k + 1)) in the log is ${logged[$k]}, expected one with $part"
    k=$((k + 1))
  done
}

# Whether qmkit took the full screen (its smcup) at any time.
took_screen() { grep -qF $'\e[?1049h' "$dir/raw" 2>/dev/null; }

isbn_page=(ISBN --url https://www.example.com/dp/0306406152/)

# ---------------------------------------------------------------------------
# The site list: arrows, Space, type-ahead; Enter opens the ticked sites in
# list order.
start site-list -- "${isbn_page[@]}"
if wait_for "[ Cancel ]"; then
  screen | grep -qF "[x] BookFinder" || fail "BookFinder is not ticked on opening"
  screen | grep -qF "[ ] Google Books" || fail "Google Books is ticked on opening"
  # The list has the focus at first.
  keys Down Down Space
  wait_for "[x] Google Books"
  # The status line explains the line the highlight is on.
  screen | grep -qF "Description, preview and bibliographic data" || fail "no status line"
  # F1 shows the dialog's help on the screen; Escape goes back to it.
  keys F1
  wait_for "HelpISBN.htm"
  keys Escape
  wait_for "[x] Google Books"
  keys w Space a Space
  wait_for "[x] AbeBooks" && wait_for "[x] WorldCat"
  screen | grep -qF "[ ] Amazon.com" || fail "type-ahead ticked Amazon.com"
  keys Enter
  expect_exit 0
  expect_opened abebooks.com bookfinder.com books.google.com openlibrary.org worldcat.org
  history | grep -qF "6. name=ISBN:GoogleBooks text=Google Books chosen=yes" ||
    fail "the printed log does not show Google Books chosen"
  history | grep -qF "displayed: " || fail "the printed log does not show the help page"
fi

# Escape cancels: nothing opened, nothing remembered.
start cancel -- "${isbn_page[@]}"
if wait_for "[ Cancel ]"; then
  keys Space
  wait_for "[ ] BookFinder"
  keys Escape
  expect_exit 3
  expect_opened
  [ ! -e "$dir/config/qmkit/selections" ] || fail "Cancel saved the ticks"
fi

# The edit field is edited in place; the ISBN check's message is shown and
# dismissed, and the focus it moves to the field takes the next keys.
start edit-field -- "${isbn_page[@]}"
if wait_for "[ Cancel ]"; then
  keys BTab Home 9 7 8
  wait_for "[9780306406152 "
  keys Enter
  wait_for "The ISBN number is not valid."
  keys Escape
  wait_gone "The ISBN number is not valid."
  keys End BSpace 7
  wait_for "[9780306406157 "
  keys Enter
  expect_exit 0
  # The sites get the ISBN's normal form; the log has the text as typed.
  expect_opened isbn=0306406152 /isbn/0306406152
  history | grep -qF "text: 9780306406157" || fail "the typed text is not the dialog's"
fi

# The converter: typing in the amount stays there and the result follows
# at once; a unit chosen by type-ahead; Enter calculates.
start converter -- CONVERT --selection "12.5 km"
if wait_for "[ OK ]"; then
  keys Tab End BSpace BSpace BSpace BSpace 1 0
  wait_for "10 kilometres = "
  screen | grep -qF "[10 " || fail "the amount field does not show the typed 10"
  screen | grep -qF "[distance " || fail "the category changed while typing the amount"
  keys Tab Tab m i l
  wait_for "10 kilometres = 6.21371 miles"
  keys BTab BTab BSpace 2 Enter
  wait_for "12 kilometres = 7.45645 miles"
  keys Tab Tab Tab Tab Enter
  expect_exit 0
  history | grep -qF "result-text: 12 kilometres = 7.45645 miles" ||
    fail "the printed log does not have the converter's result"
fi

# The currency dialog: a currency chosen by its code, then OK.
start currency -- CURRENCY --selection "12,50 €" --url https://shop.example.de/
if wait_for "[ Cancel ]"; then
  screen | grep -qF "EUR Euro" || fail "the source currency is not the euro"
  keys BTab G B P
  wait_for "GBP United Kingdom"
  # F4 opens the list; the keys move in it and Enter takes a row.
  keys F4
  wait_for "┐"
  keys Up Enter
  wait_gone "GBP United Kingdom"
  screen | grep -qF "[GBP " && fail "the open list did not choose"
  keys F4 Down Enter
  wait_for "GBP United Kingdom"
  keys Enter
  expect_exit 0
  expect_opened GBP
  history | grep -qF "to: GBP United Kingdom" || fail "the printed log does not name GBP"
fi

# A question and the about dialog: message boxes and buttons from the keys.
start question -- TRANSLATE --url http://intranet/
if wait_for "Continue anyway?"; then
  keys y
  wait_for "Translate publicly accessible web page"
  keys Escape
  expect_exit 3
fi
start about -- CONFIG
if wait_for "[ Home Page ]"; then
  keys BTab Enter
  expect_exit 0
  history | grep -qF "result: Home Page" || fail "Home Page was not pressed"
fi

# A hostile selection: its escapes are shown, never obeyed, and columns
# stay right with wide and combining characters.
start hostile -- BOOK --selection $'Dune\e]2;PWNED\a\e[31mRED\xc2\x9b2J \xe6\xbc\xa2\xe5\xad\x97 e\xcc\x81'
if wait_for "Search for a book"; then
  screen | grep -qF 'Dune\x1b]2;PWNED\x07\x1b[31mRED\u009b2J' || fail "the escapes are not shown as text"
  field=$(screen | grep -F '[Dune')
  [ "$(printf '%s' "$field" | LC_ALL=C.UTF-8 wc -L)" = 98 ] ||
    fail "the edit field is not 96 columns wide between its brackets: $field"
  keys Enter
  expect_exit 0
  grep -qF $'\e]2;PWNED' "$dir/raw" && fail "the title escape reached the terminal"
  grep -qF $'\xc2\x9b' "$dir/raw" && fail "a C1 control reached the terminal"
  [ "$(tm display -p -t "$name" '#{pane_title}')" != PWNED ] || fail "the page set the title"
fi

# A smaller terminal: the dialog is drawn again to fit.
start resize -- "${isbn_page[@]}"
if wait_for "[ Cancel ]"; then
  tm resize-window -t "$name" -x 60 -y 20
  for ((i = 0; i < 100; i++)); do
    screen | sed -n 19p | grep -qF "[ OK ]" && break
    sleep 0.1
  done
  screen | sed -n 19p | grep -qF "[ OK ]" || fail "the buttons are not on row 19 of 20"
  keys Escape
  expect_exit 3
fi

# SIGTERM while a dialog is open: the terminal is given back, then qmkit
# ends as the signal ends it.
start signal -- "${isbn_page[@]}"
if wait_for "[ Cancel ]"; then
  pid=$(pgrep -P "$(tm display -p -t "$name" '#{pane_pid}')" -f "$qmkit" | head -1)
  if [ -z "$pid" ]; then
    fail "qmkit's process was not found"
  else
    kill -TERM "$pid"
    expect_exit 143
    tail -c 200 "$dir/raw" | grep -qF $'\e[?1049l' || fail "the full screen was not left"
  fi
fi

# Without a terminal on standard input, and with --answers, nothing takes
# the screen: the dialogs are played as before.
start piped STDIN=/dev/null -- "${isbn_page[@]}"
expect_exit 0
took_screen && fail "qmkit took the screen with standard input not a terminal"
expect_opened bookfinder.com openlibrary.org

start answers -- "${isbn_page[@]}" --answers "toggle 1; ok"
expect_exit 0
took_screen && fail "qmkit took the screen with --answers"
expect_opened abebooks.com bookfinder.com openlibrary.org

# A terminal qmkit cannot draw on: one line on stderr, then the prompts.
start dumb TERM=dumb -- "${isbn_page[@]}"
if wait_for "qmkit>"; then
  keys "toggle 1" Enter "ok" Enter
  expect_exit 0
  took_screen && fail "qmkit took a dumb terminal"
  expect_opened abebooks.com bookfinder.com openlibrary.org
  grep -qF "no full-screen dialogs (TERM is dumb)" "$dir/stderr" ||
    fail "no note on stderr: $(cat "$dir/stderr")"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "every full-screen case passed"
