# Sourced by the end-to-end tests: an X server of their own, the real
# program in it, its window's geometry, and its end.
#
# Set `sample` (the executable) before sourcing. Provides `work` (a scratch
# folder), fail, start_xvfb, start_window_manager, start_sample,
# find_window, read_geometry (sets width height left top bar), press, expect_exit,
# expect_lost_display, stop_x (ends the X server, so that another may
# start) and set_x_resources (the desktop's xrdb settings).

work=$(mktemp -d)
xvfb_pid=
wm_pid=
sample_pid=

fail() {
    echo "FAIL: $*" >&2
    if [[ -s "$work/sample.err" ]]; then
        echo "--- sample's standard error:" >&2
        cat "$work/sample.err" >&2
    fi
    exit 1
}

cleanup() {
    [[ -n "${E2E_SCREENSHOTS:-}" ]] && mkdir -p "$E2E_SCREENSHOTS" && cp "$work"/*.png "$E2E_SCREENSHOTS"/ 2>/dev/null
    [[ -n "$sample_pid" ]] && kill "$sample_pid" 2>/dev/null
    [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || fail "$tool is not installed"
    done
    [[ -x "$sample" ]] || fail "$sample is not an executable"
}

# start_xvfb [WIDTHxHEIGHT]: Xvfb picks a free display itself and names it
# on the descriptor once it accepts connections.
start_xvfb() {
    # E2E_XVFB_ARGS: more of the server's options, such as "-extension MIT-SHM".
    # shellcheck disable=SC2086
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp ${E2E_XVFB_ARGS:-} 3>"$work/display" 2>"$work/xvfb.err" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [[ -s "$work/display" ]] && break
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.err")"
        sleep 0.1
    done
    [[ -s "$work/display" ]] || fail "Xvfb named no display within 10 s"
    export DISPLAY=":$(head -n1 "$work/display")"
    # A client that cannot connect gives up at once: wait until the server
    # answers before starting any.
    for _ in $(seq 100); do
        xprop -root -len 0 RESOURCE_MANAGER >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "Xvfb on $DISPLAY does not answer within 10 s: $(cat "$work/xvfb.err")"
}

# Full screen is the window manager's to grant, as on any desktop.
start_window_manager() {
    command -v openbox >/dev/null || fail "openbox is not installed (full screen needs a window manager)"
    # A window manager that could not reach the server is started again.
    for _ in 1 2 3; do
        openbox --sm-disable >"$work/wm.out" 2>&1 &
        wm_pid=$!
        for _ in $(seq 100); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
            kill -0 "$wm_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$wm_pid" 2>/dev/null
        wait "$wm_pid" 2>/dev/null
        wm_pid=
    done
    fail "openbox did not start on $DISPLAY in 3 attempts: $(cat "$work/wm.out")"
}

# press KEY...: keys to the program's window, once the window manager has
# given it the focus (on a busy machine a key can come before that and be lost).
press() {
    timeout 5 xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus "$window" 2>/dev/null
    xdotool key "$@"
}

start_sample() {
    "$sample" >"$work/sample.out" 2>"$work/sample.err" &
    sample_pid=$!
}

find_window() {
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^sample$' 2>/dev/null | head -n1)
    if [[ -z "$window" ]]; then
        kill -0 "$sample_pid" 2>/dev/null || { wait "$sample_pid"; fail "sample ended (status $?) before its window appeared"; }
        fail "window 'sample' did not appear within 20 s"
    fi
}

read_geometry() {
    local info
    info=$(xwininfo -id "$window") || fail "window $window is gone"
    value() { awk -v key="$1" -F: '$1 ~ key { gsub(/ /, "", $2); print $2 }' <<<"$info"; }
    width=$(value "^ *Width")
    height=$(value "^ *Height")
    left=$(value "Absolute upper-left X")
    top=$(value "Absolute upper-left Y")
    bar=$((height - 480))
}

# sample_ends_within SECONDS WHAT: the program ends within SECONDS (whole)
# of WHAT; its status is left in $sample_status.
sample_ends_within() {
    for _ in $(seq $(($1 * 10))); do
        kill -0 "$sample_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$sample_pid" 2>/dev/null && fail "sample still runs $1 s after $2"
    wait "$sample_pid"
    sample_status=$?
    sample_pid=
}

# expect_exit WHAT: the program ends within 10 s of WHAT, with status 0.
expect_exit() {
    sample_ends_within 10 "$1"
    ((sample_status == 0)) || fail "sample ended with status $sample_status after $1, expected 0"
}

# expect_lost_display PROTOCOL NAME: the display server has just been
# ended; the program ends within 1 s with status 1, and its standard error
# holds one line, which says so and names the display.
expect_lost_display() {
    sample_ends_within 1 "the display server ended"
    local status=$sample_status expected="platform: the display server went away ($1 $2)"
    ((status == 1)) || fail "sample ended with status $status when the display server ended, expected 1"
    [[ "$(cat "$work/sample.err")" == "$expected" ]] \
        || fail "standard error is not the one line '$expected' when the display server ended"
}

# stop_x: the window manager and the X server end; the program has already.
stop_x() {
    [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
    wait $wm_pid $xvfb_pid 2>/dev/null
    wm_pid=
    xvfb_pid=
}

# set_x_resources TEXT: the resource database a desktop loads with xrdb,
# where programs read Xft.dpi; set before the program starts.
set_x_resources() {
    xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$1" || fail "cannot set the X resources"
}
