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
    [[ -n "${E2E_SCREENSHOTS:-}" ]] && mkdir -p "$E2E_SCREENSHOTS" && cp "$work"/*.png "$E2E_SCREENSHOTS"/ 2>/dev/null
    [[ -n "$sample_pid" ]] && kill "$sample_pid" 2>/dev/null
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

for tool in Xvfb xdotool xwininfo import convert; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[[ -x "$sample" ]] || fail "$sample is not an executable"

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
[[ -n "$window" ]] || fail "window 'sample' did not appear within 20 s"
geometry() { xwininfo -id "$window" | awk -v key="$1" -F: '$1 ~ key { gsub(/ /, "", $2); print $2 }'; }
width=$(geometry "^ *Width")
height=$(geometry "^ *Height")
left=$(geometry "Absolute upper-left X")
top=$(geometry "Absolute upper-left Y")
bar=$((height - 480))
((width == 640 && bar >= 10 && bar <= 60)) || fail "window is $width by $height: expected 640 wide with a menu bar over 480 rows"

source "$(dirname "$0")/support/startup_box.sh"
answer_startup_box "$left" "$top" "$bar" "$work" || fail "no frame within 10 s of the window appearing"

# Dark columns of the bar, grouped where fewer than 8 light columns part
# them: "first-last" for each group, one a line.
title_groups() {
    convert "$1" -crop "${width}x${bar}+$left+$top" +repage -colorspace Gray -threshold 25% -negate \
        -scale "${width}x1!" -compress none pgm:- |
        tail -n +4 | tr -s ' \n' '\n' | awk '
            NF == 0 { next }
            { x = n++; if ($1 > 0) { if (last >= 0 && x - last <= 8) end = x; else { if (last >= 0) print start "-" end; start = x; end = x } last = x } }
            BEGIN { last = -1 }
            END { if (last >= 0) print start "-" end }'
}

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
for _ in $(seq 100); do
    kill -0 "$sample_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$sample_pid" 2>/dev/null && fail "sample still runs 10 s after ESC"
wait "$sample_pid"
status=$?
sample_pid=
((status == 0)) || fail "sample ended with status $status after ESC, expected 0"
echo "PASS: menu bar titles, exit question drawn and answered No, ESC ended with status 0"
