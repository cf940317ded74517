#!/bin/bash
# sample.exe under Wine, in an X server and a Wine prefix of its own, with
# the Japanese locale (code page 932, as on a Japanese Windows):
#  - the window "sample" appears with a 640 by 480 client area under its menu
#    bar; without a sound device the DirectSound error box comes first, with
#    the program's text, and is answered with Enter;
#  - the client area shows the start frame pixel for pixel as the Linux
#    stand-in's sample-replay draws it from the same pictures;
#  - Down twice shows the evening background, again pixel for pixel; Down
#    twice more switches the tiles on: below the background the client
#    area is a tile pattern with exactly the colours sample-replay draws;
#  - the menu's exit command asks its question, which Esc leaves open and N
#    answers No;
#  - the window's close request ends the process with exit code 0.
#
# Usage: bash wine.sh win32|win64 FOLDER NATIVE_RUN_DIR
#   win32|win64     whether sample.exe is a 32-bit or a 64-bit program
#   FOLDER          holds sample.exe and its six pictures
#   NATIVE_RUN_DIR  holds the Linux build's sample-replay and close-window
set -u

usage="usage: wine.sh win32|win64 FOLDER NATIVE_RUN_DIR"
arch=${1:?$usage}
folder=$(cd "${2:?$usage}" && pwd) || exit 1
native=$(cd "${3:?$usage}" && pwd) || exit 1
sample="$folder/sample.exe"
replay="$native/sample-replay"
close_window="$native/close-window"
source "$(dirname "$0")/../e2e/support/session.sh"

passed=0
pass() {
    echo "PASS: $*"
    passed=$((passed + 1))
}

export WINEPREFIX="$work/prefix" WINEARCH=$arch
# Debian's `wine` starts 32-bit Wine whenever it is installed, even where it
# cannot run; a 64-bit program is started by 64-bit Wine's loader itself.
case $arch in
win32) wine=wine ;;
win64)
    wine=/usr/lib/wine/wine64
    export WINELOADER=$wine
    ;;
*) fail "$usage" ;;
esac
# No Mono or Gecko install prompts; the message box trace shows the texts.
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all,+msgbox
japanese() { LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 "$@"; }

finish() {
    [[ -n "$sample_pid" ]] && kill "$sample_pid" 2>/dev/null
    [[ -d "$WINEPREFIX" ]] && timeout 20 wineserver -k 2>/dev/null
    cleanup
}
trap finish EXIT

require_tools Xvfb xdotool xwininfo import convert compare "$wine" wineserver python3
[[ -x "$replay" ]] || fail "$replay is missing (build the Linux program first)"
[[ -x "$close_window" ]] || fail "$close_window is missing (it is built with the Linux tools)"
for picture in bg01 bg02 ch01 koke mul chn; do
    [[ -f "$folder/$picture.bmp" ]] || fail "$folder/$picture.bmp is missing beside sample.exe"
done
locales=$(locale -a)
grep -qix "ja_JP.utf8" <<<"$locales" || fail "the ja_JP.UTF-8 locale is missing (localedef -i ja_JP -f UTF-8 ja_JP.UTF-8)"

start_xvfb 1024x768

# The prefix is made afresh; its first start is the slow part of the check.
started=$SECONDS
japanese timeout 300 "$wine" wineboot -i >"$work/wineboot.out" 2>&1 || fail "wineboot -i failed or took over 300 s: $(tail -n5 "$work/wineboot.out")"
timeout 300 wineserver -w || fail "the Wine prefix was not ready within 300 s of wineboot"
# DirectDraw through GDI, whatever OpenGL the X server offers.
japanese timeout 120 "$wine" reg add 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d gdi /f >/dev/null 2>&1 \
    || fail "could not set the Direct3D renderer in the prefix"
timeout 120 wineserver -w
echo "Wine prefix ready in $((SECONDS - started)) s"

(cd "$folder" && exec env LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 "$wine" sample.exe) >"$work/sample.out" 2>"$work/sample.err" &
sample_pid=$!

window=$(timeout 120 xdotool search --sync --onlyvisible --name '^sample$' 2>/dev/null | head -n1)
if [[ -z "$window" ]]; then
    kill -0 "$sample_pid" 2>/dev/null || { wait "$sample_pid"; fail "sample.exe ended (status $?) before its window appeared"; }
    fail "window 'sample' did not appear within 120 s"
fi
# The window procedure resizes the window to its client size after creation.
for _ in $(seq 40); do
    read_geometry
    [[ "$width" == 640 ]] && ((bar >= 1 && bar <= 60)) && break
    sleep 0.25
done
[[ "$width" == 640 ]] || fail "window is $width pixels wide, expected 640"
((bar >= 1 && bar <= 60)) || fail "window is $height pixels high: menu bar of $bar pixels above a 480-pixel client area, expected 1 to 60"
pass "window $window at ($left, $top): 640 by 480 client area under a $bar-pixel menu bar"

# Wine's trace of each message box: its text as UTF-16, decoded from the
# program's code page 932 bytes.
box_texts() { grep -o 'MSGBOX_OnInit L".*"' "$work/sample.err" | sed 's/^MSGBOX_OnInit //'; }
# The text in the form of Wine's trace: \XXXX (lower-case hex) past ASCII.
wine_form() {
    python3 -c 'import sys; print("L\"" + "".join(c if ord(c) < 128 else "\\%04x" % ord(c) for c in sys.argv[1]) + "\"")' "$1"
}
no_sound_text=$(wine_form "DirectSoundが生成できませんDirectSoundの使用が不可能です")

# Without a sound device the program reports it before its first frame.
box=$(timeout 20 xdotool search --sync --onlyvisible --name '^エラー発生$' 2>/dev/null | head -n1)
if [[ -n "$box" ]]; then
    texts=$(box_texts)
    [[ "$texts" == "$no_sound_text" ]] || fail "the error box says $texts, expected $no_sound_text"
    xdotool windowfocus --sync "$box" 2>/dev/null
    xdotool key Return
    for _ in $(seq 40); do
        xdotool search --onlyvisible --name '^エラー発生$' >/dev/null 2>&1 || break
        sleep 0.25
    done
    xdotool search --onlyvisible --name '^エラー発生$' >/dev/null 2>&1 && fail "the error box did not close on Enter"
    pass "error box 'エラー発生' with the DirectSound text, answered with Enter"
else
    texts=$(box_texts)
    [[ -z "$texts" ]] || fail "a message box came that is not the DirectSound error box: $texts"
    echo "no DirectSound error box (this Wine has a sound device)"
fi

client_shot() {
    import -window root "$work/screen.png" 2>/dev/null || fail "cannot take a screenshot"
    convert "$work/screen.png" -crop "640x480+$left+$((top + bar))" +repage "$work/$1.png"
}

# expect_frame NAME WHAT SCRIPT: the client area equals, pixel for pixel,
# the frame sample-replay draws from SCRIPT with the same pictures. Frames
# may still be on their way; it looks a few times.
expect_frame() {
    local name=$1 what=$2 script=$3 differing=unknown first
    (cd "$folder" && printf "$script" "$work/$name-expected.png" | "$replay" >/dev/null) \
        || fail "sample-replay could not draw the expected $what"
    for _ in $(seq 40); do
        client_shot "$name"
        differing=$(compare -metric AE "$work/$name.png" "$work/$name-expected.png" null: 2>&1)
        [[ "$differing" == 0 ]] && return 0
        sleep 0.25
    done
    first=$(convert "$work/$name.png" "$work/$name-expected.png" -compose difference -composite -threshold 0 txt:- \
        | grep -v -E '#000000|^#' | head -n5 | cut -d: -f1 | tr '\n' ' ')
    fail "client area differs from sample-replay's $what in $differing pixels, first at $first(E2E_SCREENSHOTS=dir keeps the pictures)"
}

expect_frame start "start frame" 'frame 2\ncapture %s\n'
pass "client area equals sample-replay's start frame: bg01.bmp at (20, 80)"

# Keys go to the window with the focus, the pointer rests on the client area.
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool mousemove $((left + 320)) $((top + bar + 470))
# The selector's second step is the evening background, a still frame too.
xdotool key --delay 200 Down Down
expect_frame evening "frame after Down twice" 'key DOWN\nkey DOWN\nframe 2\ncapture %s\n'
pass "Down twice: client area equals sample-replay's frame, bg02.bmp at (20, 80)"

# The strip below the swaying background (which reaches y 370 at most).
strip() { convert "$1" -crop "640x80+0+400" +repage "$2"; }
colours() { convert "$1" -unique-colors -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | sort; }
(cd "$folder" && printf 'key DOWN\nkey DOWN\nkey DOWN\nkey DOWN\nframe 3\ncapture %s\n' "$work/tiles-expected.png" \
    | "$replay" >/dev/null) || fail "sample-replay could not draw the tile frame"
strip "$work/tiles-expected.png" "$work/strip-expected.png"
expected_colours=$(colours "$work/strip-expected.png")
(($(wc -l <<<"$expected_colours") > 2)) || fail "sample-replay's tile frame shows no tiles below the background"

xdotool key --delay 200 Down Down

tiled=
for _ in $(seq 40); do
    client_shot tiles
    strip "$work/tiles.png" "$work/strip.png"
    # A pattern that repeats every tile: 15 pixels across, 25 down.
    convert "$work/strip.png" -crop 600x50+0+0 +repage "$work/cell.png"
    convert "$work/strip.png" -crop 600x50+15+0 +repage "$work/right.png"
    convert "$work/strip.png" -crop 600x50+0+25 +repage "$work/below.png"
    across=$(compare -metric AE "$work/cell.png" "$work/right.png" null: 2>&1)
    down=$(compare -metric AE "$work/cell.png" "$work/below.png" null: 2>&1)
    seen_colours=$(colours "$work/strip.png")
    if [[ "$across" == 0 && "$down" == 0 && "$seen_colours" == "$expected_colours" ]]; then
        tiled=yes
        break
    fi
    sleep 0.25
done
[[ -n "$tiled" ]] || fail "after Down four times the strip below the background is no tile pattern like sample-replay's" \
    "($across pixels break the 15-pixel repeat, $down the 25-pixel one; colours $(wc -l <<<"$seen_colours") seen," \
    "$(wc -l <<<"$expected_colours") expected)"
pass "Down four times: tiles repeating every 15 by 25 pixels, in sample-replay's colours"

# The menu's ﾌｧｲﾙ(&F) → 終了(&X), command 40001, asks before quitting. The
# Yes/No box has no Cancel button, so Esc leaves it open; N answers No.
question_open() { xdotool search --onlyvisible --name '^終了確認$' 2>/dev/null | head -n1; }
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key alt+f
sleep 0.5
xdotool key x
question=$(timeout 20 xdotool search --sync --onlyvisible --name '^終了確認$' 2>/dev/null | head -n1)
[[ -n "$question" ]] || fail "Alt+F, X brought no box '終了確認' within 20 s"
texts=$(box_texts | tail -n1)
[[ "$texts" == "$(wine_form "終了していい？")" ]] || fail "the exit question says $texts, expected $(wine_form "終了していい？")"
xdotool windowfocus --sync "$question" 2>/dev/null
xdotool key Escape
sleep 1
[[ -n "$(question_open)" ]] || fail "Esc closed the Yes/No exit question (it has no Cancel button)"
xdotool key n
for _ in $(seq 40); do
    [[ -z "$(question_open)" ]] && break
    sleep 0.25
done
[[ -z "$(question_open)" ]] || fail "N did not answer the exit question"
sleep 0.5
kill -0 "$sample_pid" 2>/dev/null || fail "sample.exe ended after the exit question was answered No"
pass "menu ﾌｧｲﾙ → 終了 asks '終了していい？'; Esc leaves the box open, N answers No and the program runs on"

"$close_window" "$window" || fail "could not send the close request"
for _ in $(seq 120); do
    kill -0 "$sample_pid" 2>/dev/null || break
    sleep 0.25
done
kill -0 "$sample_pid" 2>/dev/null && fail "sample.exe still runs 30 s after the close request"
wait "$sample_pid"
status=$?
sample_pid=
((status == 0)) || fail "sample.exe ended with status $status after the close request, expected 0"
pass "the close request ended sample.exe with status 0"

echo "wine: $passed passed, 0 failed"
