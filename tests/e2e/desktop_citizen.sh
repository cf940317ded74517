#!/bin/bash
# The real program as one program among others on an X desktop (Xvfb with
# openbox), where the screen saver is set to start after 3 s without input:
# while the window is open, and in full screen after F12, the screen saver
# still starts (the program keeps nothing awake, as a Windows program that
# does not ask). Ending the X server ends the program within a second,
# with status 1 and one line on standard error naming the display. And
# with no font at all (fontconfig given a configuration without fonts),
# standard error says once which font is missing and which Debian package
# brings it, and the program runs on: its start frame shows, the close
# request ends it with status 0.
#
# Usage: bash desktop_citizen.sh PATH/TO/sample   (run in the folder with the pictures)
set -u

sample=${1:?usage: desktop_citizen.sh PATH/TO/sample}
here=$(cd "$(dirname "$sample")" && pwd)
close_window="$here/close-window"
source "$(dirname "$0")/support/session.sh"
source "$(dirname "$0")/support/startup_box.sh"
screen_saver=(python3 "$(dirname "$0")/support/screensaver_state.py")

require_tools Xvfb openbox xdotool xwininfo import convert python3
[[ -x "$close_window" ]] || fail "$close_window is missing (it is built with the tools)"

# screen_saver_starts WHILE: the screen saver runs within 8 s of the last
# input (3 s are its time), the program still running.
screen_saver_starts() {
    local state=
    for _ in $(seq 40); do
        state=$("${screen_saver[@]}") || fail "cannot read the screen saver's state"
        [[ "$state" == on ]] && return 0
        kill -0 "$sample_pid" 2>/dev/null || fail "sample ended $1"
        sleep 0.2
    done
    fail "the screen saver is still $state 8 s after the last input $1, with 3 s set"
}

# No font: a configuration that names no folder of fonts, and a cache of
# its own.
cat >"$work/no-fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><cachedir>$work/font-cache</cachedir></fontconfig>
EOF
start_xvfb
FONTCONFIG_FILE="$work/no-fonts.conf" start_sample
find_window
read_geometry
answer_startup_box "$left" "$top" "$bar" "$work" || fail "no frame within 10 s of the window appearing without fonts"
"$close_window" "$window" || fail "could not send the close request"
expect_exit "the close request without fonts"
missing=$(grep -c 'no Japanese font for "ＭＳゴシック" (IPAGothic).*Debian package fonts-ipafont-gothic$' "$work/sample.err")
((missing == 1)) || fail "without fonts standard error says $missing times which font is missing, expected once"
(($(wc -l <"$work/sample.err") == 1)) || fail "without fonts standard error holds more than the missing font"
echo "without fonts: one line names the missing font and fonts-ipafont-gothic; the start frame shows; status 0"
stop_x

start_xvfb
start_window_manager
"${screen_saver[@]}" 3 >/dev/null || fail "cannot set the screen saver's time"
start_sample
find_window
read_geometry
answer_startup_box "$left" "$top" "$bar" "$work" || fail "no frame within 10 s of the window appearing"
screen_saver_starts "with the window open"
echo "the screen saver starts with the window open"
press F12
for _ in $(seq 50); do
    read_geometry
    ((width == 1024)) && break
    sleep 0.1
done
((width == 1024)) || fail "F12 did not take the window full screen (it is $width pixels wide)"
screen_saver_starts "in full screen"
echo "the screen saver starts in full screen"

kill "$xvfb_pid"
xvfb_pid=
expect_lost_display X11 "$DISPLAY"
echo "PASS: the screen saver starts in a window and in full screen; the X server's end ends the program at once with one line and status 1; a missing font is named once"
