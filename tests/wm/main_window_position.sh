#!/usr/bin/env bash
# The main window opens with its frame where the settings file says and
# writes the same place back: three runs of the real program under a window
# manager must leave MainX and MainY as they were.
#   main_window_position.sh DRIVER   (run by with_window_manager.sh)
set -euo pipefail
driver=$1

cat > Glyphery.inf <<'INF'
[Windows]
MainX = 300
MainY = 250
INF
# Each run quits once the window manager has framed the window and the
# window stands placed.
echo "wait placed 0" > start-and-quit.script

status=0
for run in 1 2 3; do
    QT_QPA_PLATFORM=xcb "$driver" start-and-quit.script >/dev/null || status=1
    position=$(grep -E '^Main[XY] *=' Glyphery.inf | tr -d ' \r' | tr '\n' ' ')
    echo "run $run: $position"
    [ "$position" = "MainX=300 MainY=250 " ] || status=1
done

# Where the window really stands while it runs: its frame's top-left corner
# (the inner window's place on the screen less its place in the frame),
# looked at until it is right (for half a minute at most); then the file
# "looked" lets the program quit.
echo "wait file looked" > stay.script
rm -f looked
QT_QPA_PLATFORM=xcb "$driver" stay.script >/dev/null &
running=$!
frame=none
for i in $(seq 300); do
    if info=$(xwininfo -name Glyphery 2>/dev/null); then
        x=$(( $(echo "$info" | awk '/Absolute upper-left X/ {print $4}') - $(echo "$info" | awk '/Relative upper-left X/ {print $4}') ))
        y=$(( $(echo "$info" | awk '/Absolute upper-left Y/ {print $4}') - $(echo "$info" | awk '/Relative upper-left Y/ {print $4}') ))
        frame="$x,$y"
        [ "$frame" = "300,250" ] && break
    fi
    kill -0 "$running" 2>/dev/null || break
    sleep 0.1
done
echo "frame on screen: $frame"
[ "$frame" = "300,250" ] || status=1
touch looked
wait "$running" || status=1
exit $status
