#!/usr/bin/env bash
# The entry points a desktop shortcut calls, used as a person would from a
# terminal or a shortcut: `wordlumen --lookup` starts the program when none
# runs, and against a running one `--toggle`, `--lookup`, `--selection` (the
# primary selection set with xclip, then the clipboard, then neither) and
# `--settings` act in the running instance while the second process ends at
# once; help, version and mistakes are answered without a display; and the
# global shortcut looks up the selection.
#
#   e2e_entrypoints.sh path/to/wordlumen
set -euo pipefail

E2E_SCRIPT="$0"
source "$(dirname "$0")/e2e_lib.sh"

# Runs a second launch; it must end by itself, quickly, with status $1.
second() {
    local want="$1"
    shift
    local status=0
    timeout 5 "$APP" "$@" >>"$work/second.log" 2>&1 || status=$?
    [ "$status" -eq "$want" ] || fail "'wordlumen $*' ended with $status, expected $want: $(tail -3 "$work/second.log")"
}

# Sets the X selection $1 (primary or clipboard) to $2; xclip keeps serving it.
select_text() {
    printf '%s' "$2" | xclip -selection "$1"
}

echo "1. Help, version and mistakes need no display"
env -u DISPLAY "$APP" --help | grep -q -- "--selection" || fail "--help does not list --selection"
env -u DISPLAY "$APP" --version | grep -q "^Wordlumen [0-9]" || fail "--version: $(env -u DISPLAY "$APP" --version)"
status=0
env -u DISPLAY "$APP" --frobnicate 2>"$work/error.txt" || status=$?
[ "$status" -eq 2 ] || fail "an unknown option ended with $status, expected 2"
grep -q -- "--frobnicate" "$work/error.txt" || fail "the message does not name the option: $(cat "$work/error.txt")"

echo "2. --lookup with none running starts Wordlumen on the answer, without the control center"
rm -f "$state"
"$APP" --lookup "什么是RAG" >>"$work/app.log" 2>&1 &
pid=$!
await presentation Back
[ "$(field result.title)" = "检索增强生成" ] || fail "title $(field result.title)"
[ "$(field result.origin)" = "local" ] || fail "origin $(field result.origin)"
sleep 0.5
[ -z "$(field ccVisible)" ] || fail "the control center came up for a lookup"

echo "3. --toggle folds the open card, and opens it again on the same answer"
second 0 --toggle
await presentation Collapsed
second 0 --toggle
await presentation Back
[ "$(field result.title)" = "检索增强生成" ] || fail "the answer changed: $(field result.title)"

echo "4. --lookup against the running card; text after -- may start with dashes"
second 0 --lookup LoRA
await result.title LoRA
second 0 --lookup -- --context
await query "--context"
kill -0 "$pid" || fail "the running instance ended"

echo "5. --selection looks up the primary selection"
select_text primary "  context
window "
second 0 --selection
await query "context window"
await presentation Back
[ "$(field result.title)" = "上下文窗口" ] || fail "title $(field result.title)"

echo "6. With an empty selection it takes the clipboard"
select_text primary ""
select_text clipboard "LoRA"
second 0 --selection
await query LoRA
await presentation Back

echo "7. With neither, the card turns to its input and waits"
select_text clipboard ""
second 0 --selection
await presentation Front
await active true

echo "8. --settings opens the control center; mistakes leave the program alone"
second 0 --settings
await ccVisible true
await ccActive true
# The control center took the focus, so the card folded as on any click elsewhere.
await presentation Collapsed
second 2 --lookup
second 2 --toggle --selection
sleep 0.3
[ "$(field presentation)" = "Collapsed" ] || fail "a mistaken launch changed the card: $(field presentation)"
[ "$(field ccActive)" = "true" ] || fail "a mistaken launch took the focus"

echo "9. --background against a running instance does nothing"
second 0 --background
sleep 0.3
[ "$(field presentation)" = "Collapsed" ] || fail "--background changed the card"
[ "$(field ccActive)" = "true" ] || fail "--background took the focus"
kill -0 "$pid" || fail "the running instance ended"

echo "10. Ctrl+Alt+E looks up the selected text, also with Num Lock on"
select_text primary "LoRA"
xdotool key ctrl+alt+e
await query LoRA
await presentation Back
select_text primary "RAG"
xdotool key Num_Lock ctrl+alt+e Num_Lock
await query RAG
await result.title 检索增强生成

echo "PASS"
