#!/usr/bin/env bash
# The control center on a desktop with a window manager (openbox): it comes up
# centred beside the trigger, moves by its background, hides when closed while
# the program and the card stay, comes back where it was left on a second
# launch, switches the trigger's shape at once, imports a pack through its file
# picker that then answers on the card, and comes back on Ctrl+, in the card.
#
#   e2e_controlcenter.sh path/to/wordlumen
set -euo pipefail

E2E_SCRIPT="$0"
source "$(dirname "$0")/e2e_lib.sh"

wm_pid=""
stop_wm() { [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null || true; }
trap 'finish; stop_wm' EXIT
openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 0.5

# Clicks a point of the control center, in its own coordinates.
click_cc() {
    local x="$1" y="$2" button="${3:-1}"
    xdotool mousemove $(($(field ccX) + x)) $(($(field ccY) + y)) click "$button"
}

cp "$(dirname "$0")/../data/packs/finance.md" "$HOME/finance.md"

echo "1. Launch: the trigger at the bottom right, the control center centred and key"
start_app
await ccVisible true
await ccActive true
[ "$(field ccWidth) $(field ccHeight)" = "640 502" ] || fail "control center $(field ccWidth)x$(field ccHeight)"
[ "$(field ccX) $(field ccY)" = "$(((WIDTH - 640) / 2)) $(((HEIGHT - 502) / 2))" ] ||
    fail "control center at $(field ccX),$(field ccY), not centred"
[ "$(geometry)" = "$((WIDTH - 148)) $((HEIGHT - 68)) 140 60" ] || fail "panel at $(geometry)"

echo "2. Dragging its background moves the window"
start_x="$(field ccX)"
start_y="$(field ccY)"
xdotool mousemove $((start_x + 320)) $((start_y + 18)) mousedown 1
for step in 1 2 3 4 5; do
    xdotool mousemove $((start_x + 320 - 30 * step)) $((start_y + 18 - 20 * step))
    sleep 0.05
done
xdotool mouseup 1
await ccX $((start_x - 150))
await ccY $((start_y - 100))

echo "3. Its close control hides it; the program and the card stay"
click_cc 613 23
await ccVisible false
kill -0 "$pid" || fail "closing the control center ended the program"
[ "$(field isVisible)" = "true" ] || fail "the card went away with the control center"

echo "4. A second launch brings it back where it was left"
timeout 10 "$APP" >>"$work/app.log" 2>&1 || fail "the second launch did not end cleanly"
await ccVisible true
[ "$(field ccX) $(field ccY)" = "$((start_x - 150)) $((start_y - 100))" ] ||
    fail "back at $(field ccX),$(field ccY) instead of where it was left"

echo "5. Choosing the wide trigger changes the panel at once"
click_cc 514 179
for _ in $(seq 50); do
    [ "$(geometry)" = "$((WIDTH - 196)) $((HEIGHT - 76)) 188 68" ] && break
    sleep 0.1
done
[ "$(geometry)" = "$((WIDTH - 196)) $((HEIGHT - 76)) 188 68" ] || fail "wide panel at $(geometry)"
grep -q "^floatingTriggerStyle=wide$" "$XDG_CONFIG_HOME/Zintaro/Wordlumen.conf" ||
    fail "the style was not stored"

echo "6. A pack imported through the picker is listed and answers on the card"
click_cc 87 157   # the sidebar's 本地词库
sleep 0.4
click_cc 285 408  # 导入补充包
sleep 1.5
# The picker opens in the home folder, where the pack is the only file.
xdotool mousemove $(($(field ccX) + 110)) $(($(field ccY) + 162)) click --repeat 2 --delay 80 1
await packCount 1
cc_x="$(field ccX)"
cc_y="$(field ccY)"
click_cc 613 23
await ccVisible false
xdotool mousemove $((WIDTH - 102)) $((HEIGHT - 42)) click 1
await presentation Front
sleep 0.4
xdotool type --delay 40 "ROE"
xdotool key Return
await presentation Back
[ "$(field result.origin)" = "custom" ] || fail "ROE answered from $(field result.origin)"

echo "7. Ctrl+, on the card brings the hidden control center back where it was"
xdotool key ctrl+comma
await ccVisible true
[ "$(field ccX) $(field ccY)" = "$cc_x $cc_y" ] ||
    fail "Ctrl+, showed it at $(field ccX),$(field ccY) instead of $cc_x,$cc_y"

echo "PASS"
