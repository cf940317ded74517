#!/bin/bash
# The real program in its own X server: the "sample" window appears with a
# 640 by 480 client area under the menu bar, the client area shows the start
# frame (the day background at (20, 80) on black) exactly as the headless
# host draws it, and the window's close request ends the program with exit
# code 0, having said nothing on standard error.
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
source "$(dirname "$0")/support/session.sh"

require_tools Xvfb xdotool xwininfo import convert compare
[[ -x "$close_window" ]] || fail "$close_window is missing (it is built with the tools)"
start_xvfb
start_sample
find_window
read_geometry
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
expect_exit "the close request"
[[ -s "$work/sample.err" ]] && fail "standard error is not empty after a normal run and close"
echo "PASS: window appeared, client area shows the start frame, closed with status 0 and nothing on standard error"
