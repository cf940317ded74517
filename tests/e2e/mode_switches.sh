#!/bin/bash
# Switches between the window and full screen with effects turned on in
# between, in a real window, as a user would press the keys a second apart:
# F12 F12 Down Down Down F12 F12 Down Down Down Down F12 F12 F12, then ESC.
# The program runs on through every switch and ends with status 0.
#
# Usage: bash mode_switches.sh PATH/TO/sample   (run in the folder with the pictures)
set -u

sample=${1:?usage: mode_switches.sh PATH/TO/sample}
source "$(dirname "$0")/support/session.sh"

require_tools Xvfb openbox xprop xdotool xwininfo
start_xvfb 1024x768
start_window_manager
SDL_AUDIODRIVER=dummy start_sample
find_window
# The start-up box about the missing sound device.
sleep 1
press Return
sleep 0.5

keys=(F12 F12 Down Down Down F12 F12 Down Down Down Down F12 F12 F12)
for ((i = 0; i < ${#keys[@]}; ++i)); do
    press "${keys[i]}"
    sleep 1
    if ! kill -0 "$sample_pid" 2>/dev/null; then
        wait "$sample_pid"
        fail "sample ended with status $? after key $((i + 1)) of ${#keys[@]} (${keys[*]:0:i+1})"
    fi
done
echo "the window and full screen switched $(grep -o F12 <<<"${keys[*]}" | wc -l) times with effects on in between"

press Escape
expect_exit ESC
echo "PASS: ${keys[*]} Escape: the program ran on and ended with status 0"
