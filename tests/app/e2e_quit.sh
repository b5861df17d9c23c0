#!/usr/bin/env bash
# The ways out of the program, on a desktop with a tray and on one without:
# the tray icon's menu opens the control center and quits; without a tray, the
# trigger's right-click menu and Ctrl+Q on the open card do.
#
#   e2e_quit.sh path/to/wordlumen
set -euo pipefail

E2E_SCRIPT="$0"
source "$(dirname "$0")/e2e_lib.sh"

tray_pid=""
stop_tray() { [ -n "$tray_pid" ] && kill "$tray_pid" 2>/dev/null && wait "$tray_pid" 2>/dev/null || true; }
trap 'finish; stop_tray' EXIT

# The window id of our icon docked in the tray, once it is there.
tray_icon() {
    xwininfo -root -tree | awk '/"panel": \("panel" "trayer"\)/ {inside=1; next}
        inside && /"Wordlumen"/ {print $1; exit}'
}

echo "1. With a tray: the icon docks, its first command opens the control center, its last quits"
trayer --edge top --align left --widthtype pixel --width 200 --height 32 >/dev/null 2>&1 &
tray_pid=$!
sleep 1
start_app
icon=""
for _ in $(seq 100); do
    icon="$(tray_icon)"
    [ -n "$icon" ] && break
    sleep 0.1
done
[ -n "$icon" ] || fail "no tray icon docked: $(xwininfo -root -tree)"
await ccVisible true
xdotool mousemove $(($(field ccX) + 613)) $(($(field ccY) + 23)) click 1  # its close control
await ccVisible false
xdotool mousemove --window "$icon" 8 8 click 3
sleep 0.6
xdotool key Down Return
await ccVisible true
xdotool mousemove --window "$icon" 8 8 click 3
sleep 0.6
xdotool key Up Return
await_exit
stop_tray
tray_pid=""

echo "2. Without a tray: the trigger's right click offers the same menu"
start_app
await presentation Collapsed
xdotool mousemove $((WIDTH - 78)) $((HEIGHT - 38)) click 3
sleep 0.6
[ "$(field presentation)" = "Collapsed" ] || fail "the right click opened the card"
xdotool key Up Return
await_exit

echo "3. Ctrl+Q on the open card quits"
start_app
await presentation Collapsed
xdotool mousemove $((WIDTH - 78)) $((HEIGHT - 38)) click 1
await presentation Front
sleep 0.4
xdotool key ctrl+q
await_exit

echo "PASS"
