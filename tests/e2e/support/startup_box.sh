# Sourced by the end-to-end tests. Without a sound device (as under CI) the
# program says so in a message box at start-up, before its first frame;
# a user answers it with Enter. Where there is a device no box comes.
#
# answer_startup_box LEFT TOP BAR WORKDIR [SCALE]: returns once the client
# area shows a frame, having pressed Enter on the box if one came; fails
# after 10 s. SCALE: screen pixels to each of the program's (default 1);
# BAR is in screen pixels.

# box_caption_share SCREENSHOT LEFT TOP BAR [SCALE]: share of the box
# caption's blue in the middle of the client area.
box_caption_share() {
    local s=${5:-1}
    convert "$1" -crop "$((300 * s))x$((150 * s))+$(($2 + 170 * s))+$(($3 + $4 + 165 * s))" +repage \
        -fill black +opaque '#0078D7' -fill white -opaque '#0078D7' -format '%[fx:mean]' info:
}

answer_startup_box() {
    local left=$1 top=$2 bar=$3 dir=$4 s=${5:-1} share brightest
    for _ in $(seq 40); do
        import -window root "$dir/startup.png" 2>/dev/null || return 1
        share=$(box_caption_share "$dir/startup.png" "$left" "$top" "$bar" "$s")
        if awk -v s="$share" 'BEGIN { exit !(s > 0.05) }'; then
            echo "start-up message box shown; answering it with Enter"
            xdotool key Return
            sleep 0.3
            continue
        fi
        brightest=$(convert "$dir/startup.png" -crop "$((640 * s))x$((480 * s))+$left+$((top + bar))" +repage \
            -format '%[fx:maxima]' info:)
        awk -v b="$brightest" 'BEGIN { exit !(b > 0) }' && return 0
        sleep 0.25
    done
    return 1
}
