# Sourced by the end-to-end tests. Without a sound device (as under CI) the
# program says so in a message box at start-up, before its first frame;
# a user answers it with Enter. Where there is a device no box comes.
#
# answer_startup_box LEFT TOP BAR WORKDIR: returns once the client area shows
# a frame, having pressed Enter on the box if one came; fails after 10 s.

# Share of the box caption's blue in the middle of the client area.
box_caption_share() {
    convert "$1" -crop "300x150+$(($2 + 170))+$(($3 + $4 + 165))" +repage \
        -fill black +opaque '#0078D7' -fill white -opaque '#0078D7' -format '%[fx:mean]' info:
}

answer_startup_box() {
    local left=$1 top=$2 bar=$3 dir=$4 share brightest
    for _ in $(seq 40); do
        import -window root "$dir/startup.png" 2>/dev/null || return 1
        share=$(box_caption_share "$dir/startup.png" "$left" "$top" "$bar")
        if awk -v s="$share" 'BEGIN { exit !(s > 0.05) }'; then
            echo "start-up message box shown; answering it with Enter"
            xdotool key Return
            sleep 0.3
            continue
        fi
        brightest=$(convert "$dir/startup.png" -crop "640x480+$left+$((top + bar))" +repage -format '%[fx:maxima]' info:)
        awk -v b="$brightest" 'BEGIN { exit !(b > 0) }' && return 0
        sleep 0.25
    done
    return 1
}
