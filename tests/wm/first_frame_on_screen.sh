#!/usr/bin/env bash
# The main window of a glyph larger than the screen (1600 x 1000) is inside it
# from the moment it appears: its frame, looked at 30 times 100 ms apart from
# then on, is inside every time; three starts in a row.
#   first_frame_on_screen.sh DRIVER   (run by with_window_manager.sh)
set -euo pipefail
driver=$1
echo "wait file looked" > stay.script  # the file "looked" lets the program quit

# The frame of shown window $1 as "X Y W H": its place on the screen less its
# place in the frame, its size with the frame's borders; fails while hidden.
frame() {
    local info l r t b
    info=$(xwininfo -id "$1" 2>/dev/null) && grep -q 'IsViewable' <<<"$info" || return 1
    read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | grep -o '[0-9, ]*$' | tr -d ',' || echo 0 0 0 0)
    awk -v l="${l:-0}" -v r="${r:-0}" -v t="${t:-0}" -v b="${b:-0}" '
        /Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
        /Relative upper-left X/ {x -= $4} /Relative upper-left Y/ {y -= $4}
        /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w + l + r, h + t + b}' <<<"$info"
}

running=""
trap '[ -z "$running" ] || kill "$running" 2>/dev/null || true' EXIT
status=0
for run in 1 2 3; do
    printf '[Font]\nFont Width = 1024\nFont Height = 1024\n' > Glyphery.inf
    rm -f looked
    QT_QPA_PLATFORM=xcb "$driver" stay.script >/dev/null &
    running=$!
    # The first look is when the window appears, however slow the start (a
    # minute at most); then a look every 100 ms, or as soon as the last one
    # is done when it took longer: the looks are counted, not timed.
    sample=""
    for i in $(seq 1200); do
        id=$(xwininfo -name Glyphery 2>/dev/null | awk '/Window id:/ {print $4}') || true
        [ -n "$id" ] && sample=$(frame "$id") && break
        sleep 0.05
    done
    [ -n "$sample" ] || { echo "run $run: the window never appeared"; exit 1; }
    outside=0
    for look in $(seq 30); do
        [ "$look" = 1 ] || { wait "$pace"; sample=$(frame "$id") || sample="-1 -1 0 0"; }
        sleep 0.1 &
        pace=$!
        read -r x y w h <<<"$sample"
        if [ "$x" -lt 0 ] || [ "$y" -lt 0 ] || [ $((x + w)) -gt 1600 ] || [ $((y + h)) -gt 1000 ]; then
            outside=$((outside + 1))
            echo "run $run, look $look: frame $x,$y $w x $h reaches past the screen"
        fi
    done
    echo "run $run: 30 looks, $outside past the screen, the last $x,$y $w x $h"
    [ "$outside" = 0 ] || status=1
    touch looked
    wait "$running" || status=1
    running=""
done
exit $status
