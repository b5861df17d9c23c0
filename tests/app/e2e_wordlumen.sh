#!/usr/bin/env bash
# Starts the real wordlumen on a virtual X display with a throw-away home, and
# uses it as a person would: finds the trigger at the bottom right, clicks it,
# types a term, presses Return, sees the answer, folds the card with Escape,
# drags the trigger away, and checks that the place survives a restart and
# that a second launch only re-shows the running card. A trigger style the
# terminal companion stores shows at once.
#
#   e2e_wordlumen.sh path/to/wordlumen
set -euo pipefail

E2E_SCRIPT="$0"
source "$(dirname "$0")/e2e_lib.sh"

echo "1. The trigger appears at the bottom right, 8 points in"
start_app
await presentation Collapsed
[ "$(geometry)" = "$((WIDTH - 148)) $((HEIGHT - 68)) 140 60" ] ||
    fail "panel at $(geometry), expected $((WIDTH - 148)) $((HEIGHT - 68)) 140 60"
[ "$(field isVisible)" = "true" ] || fail "the panel is not visible"
xprop -id "$(field panel.winId)" _NET_WM_DESKTOP | grep -q "= 4294967295" ||
    fail "the panel does not ask for every workspace: $(xprop -id "$(field panel.winId)" _NET_WM_DESKTOP)"

echo "2. A click opens the card; the panel grows away from the corner"
xdotool mousemove $((WIDTH - 78)) $((HEIGHT - 38)) click 1
await presentation Front
[ "$(geometry)" = "$((WIDTH - 422)) $((HEIGHT - 378)) 414 370" ] ||
    fail "open panel at $(geometry), expected $((WIDTH - 422)) $((HEIGHT - 378)) 414 370"

echo "3. Type a term, press Return: the card turns over to the answer"
sleep 0.4 # the input takes the focus 0.16 s after the face appears
xdotool type --delay 40 "什么是RAG"
await query "什么是RAG"
xdotool key Return
await presentation Back
[ "$(field result.origin)" = "local" ] || fail "origin $(field result.origin)"
[ "$(field result.title)" = "检索增强生成" ] || fail "title $(field result.title)"
case "$(field result.explanation)" in *资料*) ;; *) fail "explanation $(field result.explanation)";; esac

echo "4. Escape folds the card back into the trigger"
xdotool key Escape
await presentation Collapsed
[ "$(geometry)" = "$((WIDTH - 148)) $((HEIGHT - 68)) 140 60" ] || fail "collapsed at $(geometry)"

echo "4b. The terminal companion stores another trigger style: the running trigger takes it at once"
cli="$(dirname "$APP")/wordlumen-cli"
"$cli" config floatingTriggerStyle wide
await panel.width 188
[ "$(geometry)" = "$((WIDTH - 196)) $((HEIGHT - 76)) 188 68" ] || fail "wide trigger at $(geometry)"
"$cli" config floatingTriggerStyle compact
await panel.width 140
[ "$(geometry)" = "$((WIDTH - 148)) $((HEIGHT - 68)) 140 60" ] || fail "compact again at $(geometry)"

echo "5. A drag moves the trigger and the place is saved"
xdotool mousemove $((WIDTH - 78)) $((HEIGHT - 38)) mousedown 1
for step in 1 2 3 4 5 6; do
    xdotool mousemove $((WIDTH - 78 - 100 * step)) $((HEIGHT - 38 - 60 * step))
    sleep 0.05
done
xdotool mouseup 1
await panel.x $((WIDTH - 148 - 600))
await panel.y $((HEIGHT - 68 - 360))
[ "$(field presentation)" = "Collapsed" ] || fail "the drag opened the card"
grep -q "^floatingCardOriginX=$((WIDTH - 148 - 600))$" "$config" || fail "x not saved: $(cat "$config")"
grep -q "^floatingCardOriginY=$((8 + 360))$" "$config" || fail "y not saved: $(cat "$config")"

echo "6. A second launch leaves the running card alone and ends"
timeout 10 "$APP" >>"$work/app.log" 2>&1 || fail "the second launch did not end cleanly"
kill -0 "$pid" || fail "the first instance ended"

echo "7. After a restart the trigger is where it was left"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""
start_app
await presentation Collapsed
[ "$(geometry)" = "$((WIDTH - 748)) $((HEIGHT - 428)) 140 60" ] ||
    fail "restarted at $(geometry), expected $((WIDTH - 748)) $((HEIGHT - 428)) 140 60"

echo "PASS"
