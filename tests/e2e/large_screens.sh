#!/bin/bash
# Full screen on the large desktops of today, under a window manager in an X
# server of their own: on 1920 by 1080 the 640 by 480 picture fills 1280 by
# 960 and on 2560 by 1440 it fills 1920 by 1440, centred with black around
# it, and the screen shows exactly sample-replay's full-screen frame with
# every pixel a 2 by 2 or 3 by 3 block; ESC then ends the program with
# status 0. One X server per screen size.
#
# Usage: bash large_screens.sh PATH/TO/sample   (run in the folder with the pictures)
# E2E_SCREENSHOTS=DIR keeps the screenshots taken on the way.
set -u

sample=${1:?usage: large_screens.sh PATH/TO/sample}
source "$(dirname "$0")/support/session.sh"
source "$(dirname "$0")/support/startup_box.sh"

require_tools Xvfb openbox xprop xdotool xwininfo import convert compare

# The start scene in full screen, as the headless host draws it.
printf 'key F12\nframe 2\ncapture %s\n' "$work/expected.png" | "$(dirname "$sample")/sample-replay" >/dev/null \
    || fail "sample-replay could not draw the full-screen start frame"

# full_screen_on WIDTH HEIGHT FACTOR
full_screen_on() {
    local screen_width=$1 screen_height=$2 factor=$3
    local picture_width=$((640 * factor)) picture_height=$((480 * factor))
    local x=$(((screen_width - picture_width) / 2)) y=$(((screen_height - picture_height) / 2))
    local shot="$work/full_${screen_width}x${screen_height}.png"

    start_xvfb "${screen_width}x${screen_height}"
    start_window_manager
    SDL_AUDIODRIVER=dummy start_sample
    find_window
    read_geometry
    answer_startup_box "$left" "$top" "$bar" "$work" || fail "no frame within 10 s of the window appearing"
    press F12
    for _ in $(seq 40); do
        sleep 0.25
        read_geometry
        [[ "$width" == "$screen_width" && "$height" == "$screen_height" ]] && break
    done
    [[ "$width" == "$screen_width" && "$height" == "$screen_height" ]] \
        || fail "after F12 the window is $width by $height, expected the whole $screen_width by $screen_height screen"

    convert "$work/expected.png" -sample "${picture_width}x${picture_height}!" "$work/expected_scaled.png"
    # The first full-screen frames may still be on their way; look a few times.
    local differing=unknown outside=unknown
    for _ in $(seq 20); do
        import -window root "$shot" 2>/dev/null || fail "cannot take a screenshot"
        differing=$(convert "$shot" -crop "${picture_width}x${picture_height}+$x+$y" +repage png:- |
            compare -metric AE - "$work/expected_scaled.png" null: 2>&1)
        # Everything around the picture: the picture's box painted black, then the brightest pixel left.
        outside=$(convert "$shot" -fill black -draw "rectangle $x,$y $((x + picture_width - 1)),$((y + picture_height - 1))" \
            -format '%[fx:maxima]' info:)
        [[ "$differing" == 0 && "$outside" == 0 ]] && break
        sleep 0.25
    done
    [[ "$differing" == 0 ]] || fail "on $screen_width by $screen_height the picture at ($x, $y) differs from the frame scaled by $factor in $differing pixels"
    [[ "$outside" == 0 ]] || fail "on $screen_width by $screen_height the screen around the picture is not black (brightest $outside)"
    echo "$screen_width by $screen_height: the frame scaled by $factor exactly, $picture_width by $picture_height at ($x, $y), black around it"

    press Escape
    expect_exit ESC
    stop_x
}

full_screen_on 1920 1080 2
full_screen_on 2560 1440 3
echo "PASS: full screen pixel-exact at 2x on 1920 by 1080 and 3x on 2560 by 1440, ESC ended with status 0"
