# Shared by the end-to-end scripts: a virtual X display with a throw-away home
# and session bus, the real program started as a user would, and a reader of
# the state it dumps. Sourced with the program's path as "$1"; the sourcing
# script is re-run inside the session.
APP="$1"
WIDTH=1440
HEIGHT=900

if [ -z "${WORDLUMEN_E2E_INNER:-}" ]; then
    export WORDLUMEN_E2E_INNER=1
    work="$(mktemp -d -t wordlumen-e2e.XXXXXX)"
    trap 'rm -rf "$work"' EXIT
    export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
    export XDG_DATA_HOME="$work/home/.local/share" XDG_CACHE_HOME="$work/home/.cache"
    export XDG_RUNTIME_DIR="$work/run" WORDLUMEN_E2E_WORK="$work"
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    unset WAYLAND_DISPLAY XDG_SESSION_TYPE # an X11 session: the shortcut is a key grab
    export QSG_RENDER_LOOP=basic
    run=(xvfb-run -a -s "-screen 0 ${WIDTH}x${HEIGHT}x24" "$E2E_SCRIPT" "$@")
    if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && command -v dbus-run-session >/dev/null; then
        run=(dbus-run-session -- "${run[@]}")
    fi
    exec "${run[@]}"
fi

work="$WORDLUMEN_E2E_WORK"
state="$work/state.json"
config="$XDG_CONFIG_HOME/Zintaro/Wordlumen.conf"
export WORDLUMEN_STATE_FILE="$state"
pid=""

fail() {
    echo "FAIL: $*" >&2
    [ -f "$state" ] && cat "$state" >&2
    [ -f "$work/app.log" ] && tail -20 "$work/app.log" >&2
    import -window root "$work/failure.png" 2>/dev/null && echo "screen: $work/failure.png" >&2
    exit 1
}
finish() { [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true; }
trap finish EXIT

# Reads one value of the state dump, e.g. `field presentation`, `field panel.x`.
# Every key's last part is unique in the dump, so the last part finds it.
field() {
    [ -f "$state" ] || return 0
    local key="${1##*.}"
    sed -n -e "s/^ *\"$key\": \"\(.*\)\",\{0,1\}$/\1/p" \
        -e "s/^ *\"$key\": \([^\"{][^,]*\),\{0,1\}$/\1/p" "$state" | head -n 1
}

# Waits up to 10 s until `field NAME` equals VALUE (and no frame animation runs).
await() {
    local name="$1" want="$2"
    for _ in $(seq 100); do
        if [ "$(field "$name")" = "$want" ] && [ "$(field animating)" = "false" ]; then
            return 0
        fi
        sleep 0.1
    done
    fail "$name is '$(field "$name")', expected '$want'"
}

start_app() {
    rm -f "$state"
    "$APP" >>"$work/app.log" 2>&1 &
    pid=$!
    for _ in $(seq 100); do
        [ -n "$(field panel.winId)" ] && break
        sleep 0.1
    done
    [ -n "$(field panel.winId)" ] || fail "the panel did not appear"
}

# The window's place and size as the X server reports them.
geometry() {
    xwininfo -id "$(field panel.winId)" | awk '
        /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}


# Waits up to 10 s for the program to end by itself; fails when it does not,
# or when it ends with a status other than 0.
await_exit() {
    for _ in $(seq 100); do
        if ! kill -0 "$pid" 2>/dev/null; then
            local status=0
            wait "$pid" || status=$?
            pid=""
            [ "$status" -eq 0 ] || fail "the program ended with status $status"
            return 0
        fi
        sleep 0.1
    done
    fail "the program is still running"
}
