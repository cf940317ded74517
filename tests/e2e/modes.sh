#!/bin/bash
# The desktop side of the real program, under a window manager in its own X
# server: without an audio device the start-up box comes once and the
# program runs on after Enter; clicking ﾃﾞﾊﾞｯｸ then ｽﾞｰﾑ switches the zoom
# on; F12 takes the whole 1280 by 800 screen (less than twice the picture's
# size, so no whole factor) with the 640 by 480 picture scaled with its
# aspect kept to 1066 by 800 between black bars and no menu bar, and is
# whole again after being minimised and restored; F12 again gives
# the window back with its 640 by 480 client area; ESC ends with status 0.
#
# Usage: bash modes.sh PATH/TO/sample   (run in the folder with the pictures)
# E2E_SCREENSHOTS=DIR keeps the screenshots taken on the way.
set -u

sample=${1:?usage: modes.sh PATH/TO/sample}
source "$(dirname "$0")/support/session.sh"
source "$(dirname "$0")/support/startup_box.sh"

require_tools Xvfb openbox xprop xdotool xwininfo import convert
start_xvfb 1280x800
start_window_manager
# SDL's dummy audio driver is no device to the program: the start-up box
# comes whether or not this machine has sound.
SDL_AUDIODRIVER=dummy start_sample
find_window
read_geometry
source "$(dirname "$0")/support/menu_bar.sh"
((width == 640 && bar >= 10 && bar <= 60)) || fail "window is $width by $height: expected 640 wide with a menu bar over 480 rows"
window_bar=$bar

box_share() { box_caption_share "$1" "$left" "$top" "$bar"; }
shot() { import -window root "$work/$1.png" 2>/dev/null || fail "cannot take a screenshot"; }
# Share of pixels of colour $2 in the crop $3 of screenshot $1.
colour_share() { convert "$1" -crop "$3" +repage -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:mean]' info:; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# The box is drawn before the first frame.
share=0
for _ in $(seq 40); do
    shot startup
    share=$(box_share "$work/startup.png")
    above "$share" 0.05 && break
    sleep 0.25
done
above "$share" 0.05 || fail "no start-up box about the missing sound device (caption blue share $share)"
xdotool key Return
sleep 1
shot running
share=$(box_share "$work/running.png")
above 0.01 "$share" || fail "a second box came after the start-up box was answered (caption blue share $share)"
kill -0 "$sample_pid" 2>/dev/null || fail "sample ended after the start-up box"
echo "start-up box about the sound device shown once and answered"

groups=$(title_groups "$work/running.png")
[[ $(wc -l <<<"$groups") -eq 3 ]] || fail "menu bar shows $(wc -l <<<"$groups") title groups, expected 3: $groups"
debug_first=$(tail -n1 <<<"$groups" | cut -d- -f1)
debug_last=$(tail -n1 <<<"$groups" | cut -d- -f2)

# ﾃﾞﾊﾞｯｸ, then its sixth item ｽﾞｰﾑ: rows of 20 pixels under a 1-pixel border.
xdotool mousemove $((left + (debug_first + debug_last) / 2)) $((top + bar / 2)) click 1
sleep 0.4
shot debug_menu
xdotool mousemove $((left + debug_first + 30)) $((top + bar + 1 + 5 * 20 + 10)) click 1
# The zoom waits one second, then grows and shrinks a pixel a frame, so its
# size at any moment depends on the frame rate: watch the middle of the
# client area until the emblem covers most of it.
centre="100x100+$((left + 270))+$((top + bar + 190))"
convert "$work/running.png" -crop "$centre" +repage "$work/centre_before.png"
sleep 1
covered=0
for _ in $(seq 30); do
    shot zoom
    convert "$work/zoom.png" -crop "$centre" +repage "$work/centre_zoom.png"
    covered=$(compare -metric AE -fuzz 5% "$work/centre_before.png" "$work/centre_zoom.png" null: 2>&1)
    ((covered > 7000)) && break
    sleep 0.2
done
((covered > 7000)) || fail "no zoomed emblem in the middle of the client area after choosing ｽﾞｰﾑ (at most $covered of 10000 pixels changed)"
echo "ｽﾞｰﾑ chosen from the menu: the emblem covers the middle ($covered of 10000 pixels changed)"

# Tiles over the whole picture make its edges visible against the bars.
press Down Down Down Down
sleep 0.3
press F12
full=
for _ in $(seq 40); do
    sleep 0.25
    read_geometry
    [[ "$width" == 1280 && "$height" == 800 ]] && { full=1; break; }
done
[[ -n "$full" ]] || fail "after F12 the window is $width by $height at ($left, $top), expected the whole 1280 by 800 screen"
sleep 0.5
shot full_screen
brightest() { convert "$work/full_screen.png" -crop "$1" +repage -format '%[fx:maxima]' info:; }
left_bar=$(brightest 107x800+0+0)
right_bar=$(brightest 107x800+1173+0)
# The tile pattern has dark gaps; an 8-pixel band inside each edge is never
# all black.
first_column=$(brightest 8x800+107+0)
last_column=$(brightest 8x800+1165+0)
top_row=$(brightest 1066x1+107+0)
[[ "$left_bar" == 0 && "$right_bar" == 0 ]] || fail "the bars beside the picture are not black (brightest $left_bar, $right_bar)"
above "$first_column" 0 && above "$last_column" 0 || fail "the picture does not fill x 107 to 1172 (brightest at its edges $first_column, $last_column)"
menu_grey=$(colour_share "$work/full_screen.png" '#F0F0F0' 1066x20+107+0)
above 0.5 "$menu_grey" || fail "the menu bar still shows in full screen (grey share $menu_grey)"
above "$top_row" 0 || fail "the picture's top row is black in full screen"
echo "full screen: picture 1066 by 800 at x 107 between black bars, no menu bar"

# Minimised, the display is lost; back again, the next frames are whole (a
# restored surface holds a loud green and magenta pattern until redrawn).
xdotool windowminimize "$window"
sleep 0.5
xdotool windowactivate "$window" 2>/dev/null
restored=
for _ in $(seq 40); do
    sleep 0.25
    read_geometry
    [[ "$width" == 1280 && "$height" == 800 ]] || continue
    shot restored
    green=$(colour_share "$work/restored.png" '#00FF00' 1066x800+107+0)
    above 0.001 "$green" && { restored=1; break; }
done
[[ -n "$restored" ]] || fail "after minimising and coming back the screen is $width by $height with a green share of ${green:-?}"
# And it is drawn anew, not a picture left over: the wave moves on.
sleep 0.3
shot restored_later
moved=$(compare -metric AE "$work/restored.png" "$work/restored_later.png" null: 2>&1)
((moved > 1000)) || fail "the full-screen picture stands still after coming back ($moved pixels changed in 0.3 s)"
echo "minimised and back: the full-screen picture is whole again"

press F12
back=
for _ in $(seq 40); do
    sleep 0.25
    read_geometry
    [[ "$width" == 640 && "$bar" == "$window_bar" ]] && { back=1; break; }
done
[[ -n "$back" ]] || fail "after the second F12 the window is $width by $height, expected 640 by $((480 + window_bar))"
echo "F12 again: the window is back with its 640 by 480 client area"

press Escape
expect_exit ESC
echo "PASS: sound box once, ｽﾞｰﾑ from the menu, full screen letterboxed and back, ESC ended with status 0"
