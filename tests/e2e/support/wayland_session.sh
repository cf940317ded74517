# Sourced by the end-to-end tests on Wayland: a compositor of their own
# (sway's headless backend, or weston inside an X server of its own), the
# real program on it through SDL's wayland driver, keys, screenshots, the
# picture found in them, and the end.
#
# Builds on session.sh: its scratch folder `work`, clean-up, require_tools,
# start_xvfb (weston's X server) and expect_exit. The compositor counts as
# the session's window manager (wm_pid), which it is. Set `sample` (the
# executable) before sourcing. Provides besides: start_sway, set_output,
# start_weston, start_sample, press, shot, wait_for_box,
# answer_startup_box, expected_frame, find_frame.

source "$(dirname "${BASH_SOURCE[0]}")/session.sh"
chmod 755 "$work" # the compositor, run as nobody, reads its configuration there
here_support=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The program's standard error may hold a protocol log: only its end.
fail() {
    echo "FAIL: $*" >&2
    if [[ -s "$work/sample.err" ]]; then
        echo "--- sample's standard error, its end:" >&2
        tail -n 30 "$work/sample.err" >&2
    fi
    if [[ -s "$work/compositor.log" ]]; then
        echo "--- the compositor's last words:" >&2
        tail -n 15 "$work/compositor.log" >&2
    fi
    exit 1
}

# The compositor's own folder for its socket, owned by whoever runs it.
# sway will not run as root: as root it runs as nobody, and the clients,
# root, reach its socket all the same.
make_runtime_dir() {
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    if (($(id -u) == 0)); then
        chown 65534:65534 "$XDG_RUNTIME_DIR"
        as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    else
        as_user=()
    fi
}

# wait_for_socket NAME: the compositor accepts clients once its socket is
# there; a compositor that ended says why.
wait_for_socket() {
    for _ in $(seq 150); do
        [[ -S "$XDG_RUNTIME_DIR/$1" ]] && return 0
        kill -0 "$wm_pid" 2>/dev/null || fail "the compositor ended before it took clients"
        sleep 0.1
    done
    fail "the compositor made no socket $1 within 15 s"
}

# start_sway WIDTHxHEIGHT [SCALE]: sway's headless backend with one output,
# drawn by its software renderer, without input devices (wtype brings its
# own keyboard) and without XWayland.
start_sway() {
    make_runtime_dir
    cat >"$work/sway.config" <<EOF
output HEADLESS-1 resolution $1 scale ${2:-1}
xwayland disable
EOF
    chmod 644 "$work/sway.config"
    env -i PATH="$PATH" HOME="$work" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" \
        WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        "${as_user[@]}" sway --config "$work/sway.config" >"$work/compositor.log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 150); do
        export WAYLAND_DISPLAY SWAYSOCK
        WAYLAND_DISPLAY=$(cd "$XDG_RUNTIME_DIR" && ls wayland-* 2>/dev/null | grep -v lock | head -n1)
        SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null | head -n1)
        [[ -n "$WAYLAND_DISPLAY" && -n "$SWAYSOCK" ]] && swaymsg -t get_version >/dev/null 2>&1 && break
        kill -0 "$wm_pid" 2>/dev/null || fail "sway ended before it took clients"
        sleep 0.1
    done
    swaymsg -t get_version >/dev/null 2>&1 || fail "sway did not answer within 15 s"
}

# set_output WIDTHxHEIGHT SCALE: the output's mode and scale, once sway
# says it has them.
set_output() {
    swaymsg output HEADLESS-1 resolution "$1" scale "$2" >/dev/null || fail "swaymsg could not set the output"
    local now=
    for _ in $(seq 50); do
        now=$(swaymsg -t get_outputs | python3 -c 'import json, sys
o = json.load(sys.stdin)[0]
print("%dx%d %g" % (o["current_mode"]["width"], o["current_mode"]["height"], o["scale"]))')
        [[ "$now" == "$1 $2" ]] && return 0
        sleep 0.1
    done
    fail "the output is $now, not $1 at scale $2, 5 s after asking"
}

# start_weston: weston with its desktop shell on its x11 backend, in an
# X server of its own (weston's headless backend offers no seat, which SDL
# needs). Its clients draw their own title bars (libdecor's cairo plugin).
start_weston() {
    make_runtime_dir
    start_xvfb
    # weston follows the X pointer by its motion from where it entered the
    # window: the pointer starts outside it, so that it enters, and weston
    # knows where it is.
    xdotool mousemove 1020 760 || fail "xdotool cannot move the pointer"
    env -i PATH="$PATH" HOME="$work" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" DISPLAY="$DISPLAY" \
        "${as_user[@]}" weston --backend=x11-backend.so --use-pixman --socket=wayland-e2e --width=1000 --height=740 \
        --idle-time=0 >"$work/compositor.log" 2>&1 &
    wm_pid=$!
    wait_for_socket wayland-e2e
    export WAYLAND_DISPLAY=wayland-e2e
    on_weston=1
}

# The program through SDL's wayland driver: no X server to choose instead,
# and no audio device, so that the start-up box comes on every machine.
start_sample() {
    env -u DISPLAY SDL_AUDIODRIVER=dummy "$sample" >"$work/sample.out" 2>"$work/sample.err" &
    sample_pid=$!
}

# press KEY...: the keys, one after the other, through a virtual keyboard
# (sway); the first waits until the program has its keymap. weston has no
# virtual keyboards, but passes on the keys its X window receives, which
# has them while the pointer is over it (off the program's window).
press() {
    if [[ -n "${on_weston:-}" ]]; then
        xdotool mousemove 5 735 sleep 0.2 key --delay 150 "$@" || fail "xdotool could not press $*"
        return
    fi
    local keys=() key
    for key in "$@"; do keys+=(-s 150 -k "$key"); done
    keys[1]=300
    wtype "${keys[@]}" || fail "wtype could not press $*"
}

# shot NAME: the whole output as $work/NAME.png.
shot() {
    if [[ -n "${on_weston:-}" ]]; then
        import -window root "$work/$1.png" 2>/dev/null || fail "cannot take a screenshot"
    else
        grim "$work/$1.png" || fail "grim cannot take a screenshot"
    fi
}

# box_pixels SCREENSHOT: pixels of a message box caption's blue.
box_pixels() {
    convert "$1" -fill black +opaque '#0078D7' -fill white -opaque '#0078D7' -format '%[fx:round(mean*w*h)]' info:
}

# wait_for_box: the start-up box is on the screen (its caption is a bar of
# a blue nothing else shows), within 20 s of the start.
wait_for_box() {
    local pixels=0
    for _ in $(seq 80); do
        kill -0 "$sample_pid" 2>/dev/null || { wait "$sample_pid"; fail "sample ended (status $?) before its window showed"; }
        shot startup
        pixels=$(box_pixels "$work/startup.png")
        ((pixels > 3000)) && return 0
        sleep 0.25
    done
    fail "no start-up box within 20 s (caption blue: $pixels pixels)"
}

# answer_startup_box: Enter answers it; the box goes.
answer_startup_box() {
    wait_for_box
    press Return
    for _ in $(seq 40); do
        shot answered
        (($(box_pixels "$work/answered.png") < 100)) && return 0
        sleep 0.25
    done
    fail "the start-up box is still shown after Enter"
}

# expected_frame NAME SCRIPT [FACTOR]: sample-replay's frame after the
# script's lines, scaled by FACTOR (every pixel a square block), as
# $work/NAME.ppm.
expected_frame() {
    printf '%b\ncapture %s\n' "$2" "$work/$1.png" | "$(dirname "$sample")/sample-replay" >/dev/null \
        || fail "sample-replay could not draw the frame '$2'"
    convert "$work/$1.png" -sample "$((100 * ${3:-1}))%" "ppm:$work/$1.ppm" || fail "cannot convert $1.png"
}

# find_frame NAME SHOT: sets `at` to "X Y" where the screenshot $work/SHOT
# shows $work/NAME.ppm pixel for pixel; looks again for up to 10 s while
# frames are on their way; fails otherwise.
find_frame() {
    at=
    for _ in $(seq 40); do
        shot "$2"
        convert "$work/$2.png" "ppm:$work/$2.ppm" || fail "cannot convert $2.png"
        at=$(python3 "$here_support/find_picture.py" "$work/$2.ppm" "$work/$1.ppm")
        [[ "$at" != none* ]] && return 0
        sleep 0.25
    done
    fail "the screen does not show the frame $1 pixel for pixel: $at (screenshots: E2E_SCREENSHOTS=DIR)"
}
