#!/bin/bash
# The real program on a real Wayland compositor, through SDL's wayland
# driver, with no variable telling it which: sway's headless backend, a
# 1920 by 1080 output. Without an audio device the start-up box comes and
# Enter answers it; the window then shows the start frame exactly as
# sample-replay draws it; F10, Right, Right, Down, Down, Enter chooses
# ﾃﾞﾊﾞｯｸ → 背景２ and the window shows the evening frame; F12 fills the
# output with the full-screen frame at 2x (1280 by 960 at (320, 60), black
# around it); F12 again gives the window back; ESC ends with status 0,
# nothing said on standard error.
# Neither the window nor full screen keeps the output awake (sway's
# inhibit_idle is false for it: the program inhibits no idling). Then
# the same output at scale 2: the window shows the start frame with every
# pixel a 2 by 2 block, drawn so by the program in buffers of scale 2,
# full screen is the same 2x picture in the output's own pixels, and ESC
# ends with status 0. Last, sway ending while the program runs ends it
# within a second, with status 1 and one line on standard error that names
# the display.
#
# Usage: bash wayland.sh PATH/TO/sample   (run in the folder with the pictures)
# E2E_SCREENSHOTS=DIR keeps the screenshots taken on the way.
set -u

sample=${1:?usage: wayland.sh PATH/TO/sample}
source "$(dirname "$0")/support/wayland_session.sh"

require_tools sway swaymsg swayidle grim wtype setpriv convert python3

expected_frame start 'frame 2'
expected_frame evening 'menu 40005\nframe 2'
expected_frame start_2x 'frame 2' 2

# full_screen_exact SHOT: the full-screen frame at 2x where a 1920 by 1080
# output puts it, and black around it.
full_screen_exact() {
    find_frame full_2x "$1"
    [[ "$at" == "320 60" ]] || fail "full screen shows its frame at ($at), expected (320, 60) in the middle of the output"
    local outside
    outside=$(convert "$work/$1.png" -fill black -draw "rectangle 320,60 1599,1019" -format '%[fx:maxima]' info:)
    [[ "$outside" == 0 ]] || fail "the output around the full-screen picture is not black (brightest $outside)"
}

# keeps_output_awake: sway's inhibit_idle for the program's view, "false"
# where it lets the output idle; "none" without such a view.
keeps_output_awake() {
    swaymsg -t get_tree | python3 -c 'import json, sys
def nodes(node):
    yield node
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from nodes(child)
views = [n for n in nodes(json.load(sys.stdin)) if n.get("name") == "sample" and "inhibit_idle" in n]
print(str(views[0]["inhibit_idle"]).lower() if views else "none")'
}

start_sway 1920x1080 1
start_sample
answer_startup_box
find_frame start window
echo "scale 1: the window shows the start frame pixel for pixel at ($at)"
awake=$(keeps_output_awake)
[[ "$awake" == false ]] || fail "sway's inhibit_idle for the window is $awake, expected false"
# And an idle daemon, as a desktop runs to blank or lock the screen, sees
# the session go idle with the window open.
swayidle -w timeout 2 "touch '$work/idle'" >"$work/swayidle.log" 2>&1 &
idle_pid=$!
for _ in $(seq 60); do
    [[ -e "$work/idle" ]] && break
    sleep 0.1
done
kill "$idle_pid" 2>/dev/null
wait "$idle_pid" 2>/dev/null
[[ -e "$work/idle" ]] || fail "swayidle's 2-second timeout did not fire within 6 s with the window open"
echo "the window lets the output idle (inhibit_idle false; swayidle's timeout fired)"

press F10 Right Right Down Down Return
find_frame evening menu_chosen
echo "F10, Right, Right, Down, Down, Enter chose ﾃﾞﾊﾞｯｸ → 背景２: the evening frame at ($at)"

press F12
# The full-screen frame shows the background the user chose: the evening one.
expected_frame full_2x 'menu 40005\nkey F12\nframe 2' 2
full_screen_exact full_screen
echo "F12: the full-screen frame at 2x, 1280 by 960 at ($at), black around it"
awake=$(keeps_output_awake)
[[ "$awake" == false ]] || fail "sway's inhibit_idle in full screen is $awake, expected false"
press F12
find_frame evening window_again
echo "F12 again: the window back, the evening frame at ($at)"
press Escape
expect_exit ESC
[[ -s "$work/sample.err" ]] && fail "standard error is not empty after ESC"
echo "ESC: status 0, nothing on standard error"

set_output 1920x1080 2
# What the program says to the compositor, to see that the host draws the
# blocks itself: a compositor's own upscale of a 1x buffer may look alike.
WAYLAND_DEBUG=client start_sample
answer_startup_box
find_frame start_2x window_2x
echo "scale 2: the window shows the start frame with every pixel a 2 by 2 block at ($at)"
grep -q 'set_buffer_scale(2)' "$work/sample.err" || fail "the program never set its buffers' scale to 2"
buffer=$(grep -o 'create_buffer(new id wl_buffer@[0-9]*, 0, [0-9]*, [0-9]*' "$work/sample.err" | tail -n1 | cut -d, -f3-)
[[ "$buffer" =~ ^\ 1280,\ (9[6-9][0-9]|10[0-9][0-9])$ ]] || fail "the window's last buffer is$buffer pixels, expected 1280 by 960 and a bar at 2x"
echo "scale 2: the window's buffers are 1280 by${buffer#*,} pixels at buffer scale 2, drawn by the program"
expected_frame full_2x 'key F12\nframe 2' 2
press F12
full_screen_exact full_screen_2x
echo "scale 2, F12: the full-screen frame at 2x in the output's pixels"
press Escape
expect_exit ESC

start_sample
wait_for_box
kill "$wm_pid"
expect_lost_display Wayland "$WAYLAND_DISPLAY"
wait "$wm_pid" 2>/dev/null
wm_pid=
echo "sway ended: the program ended within 1 s, with status 1 and one line naming $WAYLAND_DISPLAY"
echo "PASS: start frame, keyboard menu, full screen and ESC on sway at scales 1 and 2, exact, status 0 each time; the output left to idle; sway's end told, status 1"
