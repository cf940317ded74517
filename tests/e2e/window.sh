#!/bin/bash
# The real program in its own X server: the "sample" window appears with a
# 640 by 480 client area under the menu bar, the client area shows the start
# frame (the day background at (20, 80) on black) exactly as the headless
# host draws it, and the window's close request ends the program with exit
# code 0.
#
# There is no window manager here, so nobody would turn a click on the close
# button into the WM_DELETE_WINDOW message the program receives. The
# close-window helper built beside the program sends that very message.
#
# Usage: bash window.sh PATH/TO/sample   (run in the folder with the pictures)
set -u

sample=${1:?usage: window.sh PATH/TO/sample}
here=$(cd "$(dirname "$sample")" && pwd)
close_window="$here/close-window"
work=$(mktemp -d)
xvfb_pid=
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
    [[ -n "$sample_pid" ]] && kill "$sample_pid" 2>/dev/null
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

for tool in Xvfb xdotool xwininfo import convert compare; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[[ -x "$sample" ]] || fail "$sample is not an executable"
[[ -x "$close_window" ]] || fail "$close_window is missing (it is built with the tools)"

# Xvfb picks a free display itself and names it on the descriptor once it
# accepts connections.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.err" &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s "$work/display" ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.err")"
    sleep 0.1
done
[[ -s "$work/display" ]] || fail "Xvfb named no display within 10 s"
export DISPLAY=":$(head -n1 "$work/display")"

"$sample" >"$work/sample.out" 2>"$work/sample.err" &
sample_pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^sample$' 2>/dev/null | head -n1)
if [[ -z "$window" ]]; then
    kill -0 "$sample_pid" 2>/dev/null || { wait "$sample_pid"; fail "sample ended (status $?) before its window appeared"; }
    fail "window 'sample' did not appear within 20 s"
fi

geometry() { xwininfo -id "$window" | awk -v key="$1" -F: '$1 ~ key { gsub(/ /, "", $2); print $2 }'; }
width=$(geometry "^ *Width")
height=$(geometry "^ *Height")
left=$(geometry "Absolute upper-left X")
top=$(geometry "Absolute upper-left Y")
bar=$((height - 480))
[[ "$width" == 640 ]] || fail "window is $width pixels wide, expected 640"
((bar >= 1 && bar <= 60)) || fail "window is $height pixels high: menu bar of $bar pixels above a 480-pixel client area, expected 1 to 60"
echo "window $window at ($left, $top): 640 by 480 client area under a $bar-pixel menu bar"

source "$(dirname "$0")/support/startup_box.sh"
answer_startup_box "$left" "$top" "$bar" "$work" || fail "no frame within 10 s of the window appearing"

# The start frame as the headless host draws it, from the same pictures.
printf 'frame 2\ncapture %s\n' "$work/expected.png" | "$(dirname "$sample")/sample-replay" >/dev/null \
    || fail "sample-replay could not draw the expected start frame"

# The first frames may still be on their way; look a few times.
differing=unknown
bar_mean=unknown
for _ in $(seq 20); do
    import -window root "$work/screen.png" 2>/dev/null || fail "cannot take a screenshot"
    convert "$work/screen.png" -crop "640x480+$left+$((top + bar))" +repage "$work/client.png"
    differing=$(compare -metric AE "$work/client.png" "$work/expected.png" null: 2>&1)
    bar_mean=$(convert "$work/screen.png" -crop "640x$bar+$left+$top" +repage -format '%[fx:mean]' info:)
    [[ "$differing" == 0 ]] && break
    sleep 0.25
done
cp "$work/screen.png" "${E2E_SCREENSHOT:-/dev/null}" 2>/dev/null
[[ "$differing" == 0 ]] || fail "client area differs from the start frame in $differing pixels (screenshot: E2E_SCREENSHOT=path)"
# A black crop also comes from looking at the wrong place; the bar is light.
awk -v m="$bar_mean" 'BEGIN { exit !(m > 0.5) }' || fail "menu bar strip is dark (mean $bar_mean): screenshot does not show the window"

"$close_window" "$window" || fail "could not send the close request"
for _ in $(seq 100); do
    kill -0 "$sample_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$sample_pid" 2>/dev/null; then
    fail "sample still runs 10 s after the close request"
fi
wait "$sample_pid"
status=$?
sample_pid=
((status == 0)) || fail "sample ended with status $status after the close request, expected 0"
echo "PASS: window appeared, client area shows the start frame, closed with status 0"
