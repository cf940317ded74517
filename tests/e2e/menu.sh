#!/bin/bash
# The menu bar and a message box of the real program in its own X server:
# the bar shows its three titles as dark text, a click on the File title and
# then on its exit item brings up the exit question drawn over the client
# area, "n" answers No and the program goes on, and ESC then ends it with
# exit code 0.
#
# Usage: bash menu.sh PATH/TO/sample   (run in the folder with the pictures)
# E2E_SCREENSHOTS=DIR keeps the screenshots taken on the way.
set -u

sample=${1:?usage: menu.sh PATH/TO/sample}
source "$(dirname "$0")/support/session.sh"

require_tools Xvfb xdotool xwininfo import convert
start_xvfb
start_sample
find_window
read_geometry
((width == 640 && bar >= 10 && bar <= 60)) || fail "window is $width by $height: expected 640 wide with a menu bar over 480 rows"

source "$(dirname "$0")/support/startup_box.sh"
answer_startup_box "$left" "$top" "$bar" "$work" || fail "no frame within 10 s of the window appearing"

source "$(dirname "$0")/support/menu_bar.sh"

box_blue() { box_caption_share "$1" "$left" "$top" "$bar"; }

groups=
for _ in $(seq 20); do
    import -window root "$work/start.png" 2>/dev/null || fail "cannot take a screenshot"
    groups=$(title_groups "$work/start.png")
    [[ $(wc -l <<<"$groups") -eq 3 ]] && break
    sleep 0.25
done
[[ $(wc -l <<<"$groups") -eq 3 ]] || fail "menu bar shows $(wc -l <<<"$groups") groups of dark text, expected 3 titles: $groups"
echo "menu bar titles at columns: $(tr '\n' ' ' <<<"$groups")"
file_first=${groups%%-*}
file_last=$(head -n1 <<<"$groups" | cut -d- -f2)

# Click the File title, then its exit item just under the bar.
xdotool mousemove $((left + (file_first + file_last) / 2)) $((top + bar / 2)) click 1
sleep 0.3
import -window root "$work/menu_open.png" 2>/dev/null
xdotool mousemove $((left + file_first + 20)) $((top + bar + 11)) click 1

blue=0
for _ in $(seq 20); do
    sleep 0.25
    import -window root "$work/box.png" 2>/dev/null || fail "cannot take a screenshot"
    blue=$(box_blue "$work/box.png")
    awk -v b="$blue" 'BEGIN { exit !(b > 0.05) }' && break
done
awk -v b="$blue" 'BEGIN { exit !(b > 0.05) }' || fail "no message box over the client area after choosing exit (caption blue share $blue)"
echo "exit question shown (caption blue share $blue)"

xdotool windowfocus "$window" 2>/dev/null
xdotool key n
for _ in $(seq 20); do
    sleep 0.25
    import -window root "$work/answered.png" 2>/dev/null || fail "cannot take a screenshot"
    blue=$(box_blue "$work/answered.png")
    awk -v b="$blue" 'BEGIN { exit !(b < 0.01) }' && break
done
awk -v b="$blue" 'BEGIN { exit !(b < 0.01) }' || fail "the box is still shown after pressing n (caption blue share $blue)"
kill -0 "$sample_pid" 2>/dev/null || fail "sample ended after answering No"
echo "answered No: box gone, program still runs"

xdotool key Escape
expect_exit ESC
echo "PASS: menu bar titles, exit question drawn and answered No, ESC ended with status 0"
