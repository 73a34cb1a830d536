#!/usr/bin/env bash
# Runs a check on the real program under an X server of its own (Xvfb,
# 1600 x 1000) with a window manager (openbox):
#   with_window_manager.sh CHECK DRIVER WORKDIR
# CHECK runs in the fresh folder WORKDIR once the window manager is ready,
# with the driver's path as its argument; its exit status is the test's.
# Many of these run at once on a busy machine, so nothing here counts on
# time: the server picks a free display itself and names it once it takes
# connections, and the window manager gets a minute to announce itself. When
# anything fails, the window manager's output is shown.
set -euo pipefail
check=$(realpath "$1")
driver=$(realpath "$2")
work=$3

rm -rf "$work"
mkdir -p "$work"
cd "$work"
trap 'status=$?; kill $(jobs -p) 2>/dev/null; wait; [ $status = 0 ] || cat openbox.log 2>/dev/null; exit $status' EXIT

mkfifo display.pipe
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>display.pipe 2>xvfb.log &
read -r -t 60 display <display.pipe || { echo "The X server did not start:"; cat xvfb.log; exit 1; }
export DISPLAY=":$display"
unset XAUTHORITY

# Each window manager keeps a cache folder of its own.
XDG_CACHE_HOME="$work/cache" openbox >openbox.log 2>&1 &
wm=$!
deadline=$((SECONDS + 60))
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    if ! kill -0 "$wm" 2>/dev/null || [ "$SECONDS" -ge "$deadline" ]; then
        echo "The window manager did not start:"
        exit 1
    fi
    sleep 0.05
done
"$check" "$driver"
