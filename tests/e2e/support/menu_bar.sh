# Sourced by the end-to-end tests that read the menu bar; needs width, bar,
# left and top of the window (read_geometry).

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

