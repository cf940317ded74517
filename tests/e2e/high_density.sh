#!/bin/bash
# The window on a high-density desktop (Xft.dpi 192, twice 96) under a
# window manager on a 2560 by 1440 screen: its client area measures 1280 by
# 960 and shows exactly sample-replay's start frame scaled by 2, with the
# menu bar above it twice as high; the size hints say one fixed size and the
# window manager offers neither resizing nor maximising. A click on ﾃﾞﾊﾞｯｸ
# and on ﾏﾙﾁ at their scaled positions switches the sprite on, and it
# follows the mouse at the mapped-back position: screen offset (601, 401)
# in the client area is the program's (300, 200). ESC ends with status 0.
#
# Usage: bash high_density.sh PATH/TO/sample   (run in the folder with the pictures)
# E2E_SCREENSHOTS=DIR keeps the screenshots taken on the way.
set -u

sample=${1:?usage: high_density.sh PATH/TO/sample}
source "$(dirname "$0")/support/session.sh"
source "$(dirname "$0")/support/startup_box.sh"

require_tools Xvfb openbox xprop xdotool xwininfo import convert compare
replay="$(dirname "$sample")/sample-replay"

# The start frame, and the sprite at (300, 200) in each of its three frames
# (16 ms frames do not step it, 50 ms frames step it once each).
printf 'frame 2\ncapture %s\n' "$work/start_expected.png" | "$replay" >/dev/null \
    || fail "sample-replay could not draw the start frame"
printf 'menu 40008\nmouse 300 200\nframe 2\ncapture %s\nframe 1 50\ncapture %s\nframe 1 50\ncapture %s\n' \
    "$work/sprite_0.png" "$work/sprite_1.png" "$work/sprite_2.png" | "$replay" >/dev/null \
    || fail "sample-replay could not draw the sprite frames"
for picture in start_expected sprite_0 sprite_1 sprite_2; do
    convert "$work/$picture.png" -sample 1280x960! "$work/${picture}_x2.png"
done

start_xvfb 2560x1440
start_window_manager
set_x_resources $'Xft.dpi:\t192\n'
SDL_AUDIODRIVER=dummy start_sample
find_window
read_geometry
bar=$((height - 960))
((width == 1280 && bar >= 20 && bar <= 120 && bar % 2 == 0)) \
    || fail "window is $width by $height: expected a 1280 by 960 client area under a menu bar of whole doubled pixels"
echo "window at ($left, $top): 1280 by 960 client area under a $bar-pixel menu bar"

# The window manager sets the allowed actions once it has taken the window on.
for _ in $(seq 50); do
    hints=$(xprop -id "$window" WM_NORMAL_HINTS _MOTIF_WM_HINTS _NET_WM_ALLOWED_ACTIONS)
    grep -q '_NET_WM_ACTION_CLOSE' <<<"$hints" && break
    sleep 0.1
done
grep -q "minimum size: $width by $height" <<<"$hints" && grep -q "maximum size: $width by $height" <<<"$hints" \
    || fail "the size hints do not fix the size at $width by $height: $hints"
grep -q '_NET_WM_ACTION_MINIMIZE' <<<"$hints" && grep -q '_NET_WM_ACTION_CLOSE' <<<"$hints" \
    || fail "the window manager does not offer minimise and close: $hints"
grep -Eq '_NET_WM_ACTION_(RESIZE|MAXIMIZE)' <<<"$hints" \
    && fail "the window manager still offers resizing or maximising: $hints"
echo "size hints fix $width by $height; minimise and close offered, resize and maximise not"

answer_startup_box "$left" "$top" "$bar" "$work" 2 || fail "no frame within 10 s of the window appearing"

# client_differs EXPECTED: pixels of the client area in a new screenshot
# that differ from EXPECTED.
client_differs() {
    import -window root "$work/screen.png" 2>/dev/null || fail "cannot take a screenshot"
    convert "$work/screen.png" -crop "1280x960+$left+$((top + bar))" +repage "$work/client.png"
    compare -metric AE "$work/client.png" "$1" null: 2>&1
}
differing=unknown
for _ in $(seq 20); do
    differing=$(client_differs "$work/start_expected_x2.png")
    [[ "$differing" == 0 ]] && break
    sleep 0.25
done
cp "$work/screen.png" "$work/start_screen.png"
[[ "$differing" == 0 ]] || fail "the client area differs from the start frame scaled by 2 in $differing pixels"
echo "client area: the start frame scaled by 2 exactly"

# The bar's titles, found in the screenshot brought back to the program's pixels.
source "$(dirname "$0")/support/menu_bar.sh"
convert "$work/start_screen.png" -crop "1280x$bar+$left+$top" +repage -sample 640x$((bar / 2))! "$work/bar.png"
groups=$(width=640 bar=$((bar / 2)) left=0 top=0 title_groups "$work/bar.png")
[[ $(wc -l <<<"$groups") -eq 3 ]] || fail "menu bar shows $(wc -l <<<"$groups") title groups, expected 3: $groups"
debug_first=$(tail -n1 <<<"$groups" | cut -d- -f1)
debug_last=$(tail -n1 <<<"$groups" | cut -d- -f2)

# ﾃﾞﾊﾞｯｸ, then its fifth item ﾏﾙﾁ: rows of 20 pixels under a 1-pixel border,
# all twice as large on the screen.
xdotool mousemove $((left + debug_first + debug_last)) $((top + bar / 2)) click 1
sleep 0.4
import -window root "$work/debug_menu.png" 2>/dev/null
xdotool mousemove $((left + 2 * (debug_first + 30))) $((top + bar + 2 * (1 + 4 * 20 + 10))) click 1
sleep 0.3
xdotool mousemove $((left + 601)) $((top + bar + 401))
matched=
for _ in $(seq 20); do
    sleep 0.2
    for frame in 0 1 2; do
        [[ $(client_differs "$work/sprite_${frame}_x2.png") == 0 ]] && { matched=$frame; break 2; }
    done
done
cp "$work/screen.png" "$work/sprite_screen.png"
[[ -n "$matched" ]] || fail "the client area shows no sprite frame at (300, 200) scaled by 2 after choosing ﾏﾙﾁ and moving the mouse"
echo "ﾏﾙﾁ chosen at its scaled position; sprite frame $matched at (300, 200), exactly as drawn, scaled by 2"

press Escape
expect_exit ESC
echo "PASS: Xft.dpi 192 window scaled by 2 exactly, fixed size, menu and mouse mapped back, ESC ended with status 0"
