#!/usr/bin/env bash
# The program as a screen reader reads it: the accessibility bus next to the
# session bus, the program with its accessibility bridge on, and
# screenreader.py using the card and the control center through AT-SPI and
# the keyboard alone.
#
#   e2e_accessibility.sh path/to/wordlumen
set -euo pipefail

E2E_SCRIPT="$0"
source "$(dirname "$0")/../app/e2e_lib.sh"

bus_pid=""
trap 'finish; [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null; true' EXIT
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.log" 2>&1 &
bus_pid=$!
# The bus registers itself on the session bus before clients can find it.
for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_app
await presentation Collapsed
status=0
/usr/bin/python3 "$(dirname "$0")/screenreader.py" || status=$?
[ "$status" -eq 0 ] || fail "the screen reader's checks failed"
echo "PASS"
