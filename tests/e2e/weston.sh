#!/bin/bash
# The real program under a compositor that has its clients draw their own
# title bars, as GNOME does: weston's desktop shell on its x11 backend, in an
# X server of its own. SDL draws the title bar through libdecor (cairo and
# pango, which hold fontconfig until the process ends). The window shows
# its start-up box, Enter answers it and the window shows the start frame
# exactly as sample-replay draws it; clicks on ﾃﾞﾊﾞｯｸ and 背景２ show the
# evening frame; SIGTERM then ends the program with status 0, and so does
# the close button of the title bar SDL draws, in a second run. Then weston's headless backend, which offers no seat: asked for
# the wayland driver, the program says why it cannot start and shows its
# window on the X server instead; SIGTERM ends it with status 0 again.
#
# Usage: bash weston.sh PATH/TO/sample   (run in the folder with the pictures)
# E2E_SCREENSHOTS=DIR keeps the screenshots taken on the way.
set -u

sample=${1:?usage: weston.sh PATH/TO/sample}
source "$(dirname "$0")/support/wayland_session.sh"

require_tools weston Xvfb xdotool import convert python3

# click_at X Y: the pointer there first. weston's x11 backend takes the
# place where the pointer enters its window and follows the motion from
# there: the pointer leaves the window and enters it right at X, Y. Off the
# window after, where weston draws no cursor over the picture.
click_at() {
    xdotool mousemove 1020 760 sleep 0.2 mousemove "$1" "$2" \
        || fail "xdotool cannot move the pointer"
    sleep 0.3
    xdotool click 1
    sleep 0.3
    xdotool mousemove 5 735
}

# sigterm_ends_with_0: SIGTERM, as a session's end sends it.
sigterm_ends_with_0() {
    kill -TERM "$sample_pid" || fail "sample is gone before SIGTERM"
    expect_exit SIGTERM
}

expected_frame start 'frame 2'

start_weston
start_sample
wait_for_box
echo "the window shows with its start-up box under weston's client-side decorations"
answer_startup_box
find_frame start window
echo "Enter answered the box; the window shows the start frame pixel for pixel at ($at)"

# The mouse: a click on ﾃﾞﾊﾞｯｸ, the bar's third title, then on its second
# item, 背景２, in rows of 20 pixels under a 1-pixel border.
read -r left top <<<"$at"
bar=0
while ((bar < 100)) && [[ $(convert "$work/window.png" -crop "1x1+$((left + 630))+$((top - bar - 1))" \
    -format '%[hex:p{0,0}]' info:) == F0F0F0 ]]; do
    ((++bar))
done
((bar >= 10 && bar <= 60)) || fail "no menu bar over the client area (found $bar grey rows)"
top=$((top - bar))
width=640
source "$(dirname "$0")/support/menu_bar.sh"
groups=$(title_groups "$work/window.png")
[[ $(wc -l <<<"$groups") -eq 3 ]] || fail "menu bar shows $(wc -l <<<"$groups") groups of dark text, expected 3 titles: $groups"
debug=$(tail -n1 <<<"$groups")
debug_first=${debug%-*}
click_at $((left + ${debug#*-} / 2 + debug_first / 2)) $((top + bar / 2))
click_at $((left + debug_first + 20)) $((top + bar + 31))
expected_frame evening 'menu 40005\nframe 2'
find_frame evening chosen_by_mouse
echo "clicks on ﾃﾞﾊﾞｯｸ and 背景２ chose the evening background: the frame at ($at)"
sigterm_ends_with_0
echo "SIGTERM: status 0"

# The close button libdecor draws at the right end of the title bar, over
# the menu bar: the window's close request ends the program with status 0.
start_sample
answer_startup_box
find_frame start window_again
read -r left top <<<"$at"
click_at $((left + 640 - 16)) $((top - bar - 12))
expect_exit "a click on the title bar's close button"
echo "the title bar's close button: status 0"

# The compositor's socket goes with it; the X server stays for the fallback.
kill "$wm_pid" && wait "$wm_pid" 2>/dev/null
env -i PATH="$PATH" HOME="$work" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" "${as_user[@]}" \
    weston --backend=headless-backend.so --socket=wayland-noseat >"$work/compositor.log" 2>&1 &
wm_pid=$!
wait_for_socket wayland-noseat
WAYLAND_DISPLAY=wayland-noseat SDL_VIDEODRIVER=wayland SDL_AUDIODRIVER=dummy \
    "$sample" >"$work/sample.out" 2>"$work/sample.err" &
sample_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^sample$' 2>/dev/null | head -n1)
[[ -n "$window" ]] || fail "no window on the X server after the wayland driver could not start"
grep -q "the wayland video driver cannot start: the compositor offers no seat" "$work/sample.err" \
    || fail "the program did not say why the wayland driver cannot start"
echo "no seat: the program said so and showed its window through the x11 driver"
sigterm_ends_with_0
echo "PASS: under client-side decorations the start frame exact, the menu by mouse, SIGTERM and the close button ending with 0; without a seat the x11 driver takes over"
