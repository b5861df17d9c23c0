#!/usr/bin/env bash
# The panel as a citizen of a real desktop: a window manager (openbox), once
# without and once with a compositing manager (xcompmgr). The panel stays out
# of the window lists and on every workspace (also after it was hidden and
# shown again), a close request from the window manager folds the card instead
# of destroying the panel, and without a compositor the panel is cut to the
# card's outline instead of showing a black box. When the desktop turns dark
# (through a stand-in for the XDG portal), the card and the control center
# follow at once. Screenshots of the trigger and the open card, light and
# dark, with and without a compositor, go to SCREENSHOT_DIR.
#
#   e2e_desktop.sh path/to/wordlumen SCREENSHOT_DIR PORTAL
#
# PORTAL is the fake_appearance_portal program.
set -euo pipefail
[ -n "${E2E_TRACE:-}" ] && set -x

E2E_SCRIPT="$0"
# A white desktop: where the panel shows a black box, the difference shows.
E2E_XVFB_ARGS="-wr"
source "$(dirname "$0")/../app/e2e_lib.sh"
shots="${2:?where the screenshots go}"
portal="${3:?the fake appearance portal}"
mkdir -p "$shots"

wm_pid=""
cm_pid=""
portal_pid=""
stop_wm() { [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null || true; }
stop_cm() {
    [ -n "$cm_pid" ] && kill "$cm_pid" 2>/dev/null && wait "$cm_pid" 2>/dev/null || true
    cm_pid=""
}
stop_portal() { [ -n "$portal_pid" ] && kill "$portal_pid" 2>/dev/null && wait "$portal_pid" 2>/dev/null || true; }
trap 'finish; stop_cm; stop_wm; stop_portal' EXIT
openbox >/dev/null 2>&1 &
wm_pid=$!
# The desktop's colour scheme, changed by a line written to descriptor 3.
mkfifo "$work/scheme"
"$portal" light <"$work/scheme" >"$work/portal.log" 2>&1 &
portal_pid=$!
exec 3>"$work/scheme"
for _ in $(seq 50); do
    grep -q ready "$work/portal.log" && break
    sleep 0.1
done
grep -q ready "$work/portal.log" || fail "the portal did not start: $(cat "$work/portal.log")"

panel_id() { printf '0x%x' "$(field panel.winId)"; }

# The hints a window manager reads: every workspace, no taskbar, no pager.
check_hints() {
    local id
    id="$(panel_id)"
    xprop -id "$id" _NET_WM_DESKTOP | grep -q "= 4294967295" ||
        fail "$1: not on every workspace: $(xprop -id "$id" _NET_WM_DESKTOP)"
    local states
    states="$(xprop -id "$id" _NET_WM_STATE)"
    local wanted
    for wanted in _NET_WM_STATE_SKIP_TASKBAR _NET_WM_STATE_SKIP_PAGER _NET_WM_STATE_ABOVE; do
        case "$states" in *"$wanted"*) ;; *) fail "$1: $wanted missing: $states" ;; esac
    done
    xprop -id "$id" _NET_WM_WINDOW_TYPE | grep -q "= _NET_WM_WINDOW_TYPE_UTILITY" ||
        fail "$1: window type $(xprop -id "$id" _NET_WM_WINDOW_TYPE)"
    # wmctrl lists managed windows with their workspace; -1 is every workspace.
    local listed
    listed="$(wmctrl -l | while read -r wid desktop _; do
        if [ "$((wid))" -eq "$((id))" ]; then echo "$desktop"; fi
    done)"
    [ "$listed" = "-1" ] || fail "$1: wmctrl shows the panel on workspace '$listed': $(wmctrl -l)"
}

map_state() { xwininfo -id "$(panel_id)" | awk '/Map State/ {print $3}'; }

open_card() {
    xdotool mousemove $((WIDTH - 78)) $((HEIGHT - 38)) click 1
    await presentation Front
}

# The screen around the bottom-right corner, where the panel sits.
screenshot() {
    import -window root -crop 440x400+$((WIDTH - 440))+$((HEIGHT - 400)) "$shots/$1.png"
}

echo "1. The panel is on every workspace and in no window list"
start_app
await presentation Collapsed
await ccVisible true
check_hints "at launch"
wmctrl -s 2
sleep 0.3
[ "$(map_state)" = "IsViewable" ] || fail "the panel is not shown on workspace 3"
wmctrl -s 0
sleep 0.3

echo "2. Alt+Tab passes the panel by"
xmessage -title e2e-other-window -geometry +200+200 "another window" >/dev/null 2>&1 &
other_pid=$!
sleep 0.6
wmctrl -a e2e-other-window
sleep 0.3
for _ in 1 2 3 4; do
    xdotool key alt+Tab
    sleep 0.4
    active="$(xprop -root _NET_ACTIVE_WINDOW | awk '{print $NF}')"
    [ "$((active))" != "$(field panel.winId)" ] || fail "Alt+Tab focused the panel"
done
kill "$other_pid" 2>/dev/null || true

echo "3. A close request folds the open card; the panel stays"
open_card
sleep 0.4
xdotool key alt+F4
await presentation Collapsed
kill -0 "$pid" || fail "the program ended"
[ "$(map_state)" = "IsViewable" ] || fail "the panel went away after Alt+F4"
wmctrl -i -c "$(panel_id)"
sleep 0.5
[ "$(map_state)" = "IsViewable" ] || fail "the panel went away after a close request"
[ "$(field isVisible)" = "true" ] || fail "the card says it is hidden"

echo "4. Hidden and shown again, the panel keeps its place in no list and on every workspace"
xdotool mousemove $((WIDTH - 78)) $((HEIGHT - 38)) click 3
sleep 0.6
xdotool key Up Up Return   # 隐藏浮卡
await isVisible false
[ "$(map_state)" != "IsViewable" ] || fail "the panel did not hide"
timeout 10 "$APP" >>"$work/app.log" 2>&1 || fail "the second launch did not end cleanly"
await isVisible true
sleep 0.3
[ "$(map_state)" = "IsViewable" ] || fail "the second launch did not show the panel"
check_hints "after hiding and showing"

# The colour of one pixel of the screen as "r g b" (0-255).
pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- |
        sed -n 's/^0,0: (\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}
# Whether two "r g b" colours differ by at most $3 in every channel.
close_to() {
    local a b
    read -r -a a <<<"$1"
    read -r -a b <<<"$2"
    for i in 0 1 2; do
        local d=$((a[i] - b[i]))
        [ "${d#-}" -le "$3" ] || return 1
    done
}
# The panel's corner (outside the capsule) must show the desktop beside it.
# The panel's bottom-left corner (the control center may lie behind its top)
# against the desktop just right of the panel.
check_corner_shows_desktop() {
    local x y desktop corner
    x="$(field panel.x)"
    y=$(($(field panel.y) + $(field panel.height) - 2))
    desktop="$(pixel $((WIDTH - 3)) "$y")" # right of the panel, 8 points in
    corner="$(pixel $((x + 1)) "$y")"
    close_to "$corner" "$desktop" 24 || fail "$1: the panel's corner is ($corner), the desktop ($desktop)"
}
shape_of_panel() { xwininfo -shape -id "$(panel_id)" | sed -n 's/^ *Window shape extents: *//p'; }

echo "5. Without a compositor the panel is cut to the trigger's capsule"
await translucentWindows false
xdotool mousemove 200 200 # the hovered capsule lifts by a point
sleep 0.4
[ "$(shape_of_panel)" = "116x36+12+12" ] || fail "the trigger's shape is '$(shape_of_panel)'"
check_corner_shows_desktop "no compositor, trigger"
screenshot desktop-no-compositor-trigger
open_card
sleep 0.4
shape="$(shape_of_panel)"
[ "${shape%%+*}" = "356x312" ] || fail "the open card's shape is '$shape'"
check_corner_shows_desktop "no compositor, open card"
screenshot desktop-no-compositor-card
xdotool key Escape
await presentation Collapsed
xdotool mousemove 200 200

echo "6. A compositor starts: the panel turns see-through with its shadows"
xcompmgr >/dev/null 2>&1 &
cm_pid=$!
await translucentWindows true
sleep 0.3
[ -z "$(shape_of_panel)" ] || fail "the panel is still cut: $(shape_of_panel)"
check_corner_shows_desktop "compositor, trigger"
screenshot desktop-compositor-trigger
open_card
sleep 0.4
check_corner_shows_desktop "compositor, open card"
screenshot desktop-compositor-card
xdotool key Escape
await presentation Collapsed
xdotool mousemove 200 200

echo "6b. A compositor that blurs behind windows (KWin announces it on the root): the capsule asks for it"
blur_of_panel() { xprop -id "$(panel_id)" _KDE_NET_WM_BLUR_BEHIND_REGION | sed -n 's/^.*= //p'; }
[ -z "$(blur_of_panel)" ] || fail "the panel asks for a blur nobody offers: $(blur_of_panel)"
xprop -root -f _KDE_NET_WM_BLUR_BEHIND_REGION 32c -set _KDE_NET_WM_BLUR_BEHIND_REGION 0
await blurBehind true
sleep 0.3
# The capsule's rounded outline as rows of rectangles: together they span its 116 x 36 box.
blur="$(blur_of_panel | tr -d ' ' | awk -F, '{
    for (i = 1; i + 3 <= NF; i += 4) {
        if (i == 1 || $i < x0) x0 = $i; if (i == 1 || $(i+1) < y0) y0 = $(i+1)
        if ($i + $(i+2) > x1) x1 = $i + $(i+2); if ($(i+1) + $(i+3) > y1) y1 = $(i+1) + $(i+3)
    }
    if (NF >= 4) printf "%dx%d+%d+%d", x1 - x0, y1 - y0, x0, y0 }')"
[ "$blur" = "116x36+12+12" ] || fail "the trigger's blur region spans '$blur'"
screenshot desktop-blur-trigger
open_card
sleep 0.4
[ -z "$(blur_of_panel)" ] || fail "the open card still asks for a blur: $(blur_of_panel)"
xdotool key Escape
await presentation Collapsed
xdotool mousemove 200 200
xprop -root -remove _KDE_NET_WM_BLUR_BEHIND_REGION
await blurBehind false
sleep 0.3
[ -z "$(blur_of_panel)" ] || fail "the blur request outlived the compositor's offer: $(blur_of_panel)"

echo "7. The compositor stops: the panel is cut to its outline again"
stop_cm
await translucentWindows false
sleep 0.3
[ "$(shape_of_panel)" = "116x36+12+12" ] || fail "after the compositor, the shape is '$(shape_of_panel)'"
check_corner_shows_desktop "compositor gone, trigger"

echo "8. The desktop turns dark: the card and the control center follow while running"
cc_pixel() { pixel $(($(field ccX) + 600)) $(($(field ccY) + 470)); }
lightness() { read -r r g b <<<"$1"; echo $(((r + g + b) / 3)); }
await dark false
[ "$(lightness "$(cc_pixel)")" -gt 200 ] || fail "the light control center is ($(cc_pixel))"
echo dark >&3
await dark true
sleep 0.5
[ "$(lightness "$(cc_pixel)")" -lt 40 ] || fail "the control center stayed light: ($(cc_pixel))"
screenshot desktop-no-compositor-trigger-dark
open_card
sleep 0.4
# The paper in the middle of the card's empty area.
[ "$(lightness "$(pixel $((WIDTH - 100)) $((HEIGHT - 120)))")" -lt 40 ] ||
    fail "the card stayed light: ($(pixel $((WIDTH - 100)) $((HEIGHT - 120))))"
screenshot desktop-no-compositor-card-dark
xdotool key Escape
await presentation Collapsed
xdotool mousemove 200 200
xcompmgr >/dev/null 2>&1 &
cm_pid=$!
await translucentWindows true
sleep 0.3
screenshot desktop-compositor-trigger-dark
open_card
sleep 0.4
screenshot desktop-compositor-card-dark
stop_cm

echo "PASS"
