#!/usr/bin/env bash
# Runs a check on the real program under an X server of its own (Xvfb,
# 1600 x 1000) with a window manager (openbox):
#   with_window_manager.sh CHECK DRIVER WORKDIR
# CHECK runs in the fresh folder WORKDIR once the window manager is ready,
# with the driver's path as its argument; its exit status is the test's.
#
# Many of these run at once on a busy machine, so nothing here counts on
# time: the server picks a free display itself and says so once it takes
# connections, the window manager is waited for until it has announced
# itself (a minute at most), and one that ends before that is started again.
# When the check fails, the window manager's state and output are shown.
set -euo pipefail
check=$(realpath "$1")
driver=$(realpath "$2")
work=$3

rm -rf "$work"
mkdir -p "$work"
cd "$work"

server='' wm=''
stop() {
    [ -z "$wm" ] || kill "$wm" 2>/dev/null || true
    [ -z "$server" ] || kill "$server" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap stop EXIT

# The server writes its display's number to the pipe when it is ready; an
# empty read means it ended first.
mkfifo display.pipe
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>display.pipe 2>xvfb.log &
server=$!
display=''
read -r -t 60 display <display.pipe || true
if [ -z "$display" ]; then
    echo "The X server did not start:"
    cat xvfb.log
    exit 1
fi
export DISPLAY=":$display"
unset XAUTHORITY

# The window manager is ready once it has announced itself on the root. Each
# keeps its own cache folder: they share nothing with one another.
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
deadline=$((SECONDS + 60))
until wm_ready; do
    if [ -z "$wm" ] || ! kill -0 "$wm" 2>/dev/null; then
        [ -z "$wm" ] || echo "openbox ended before it was ready; starting it again" >>openbox.log
        XDG_CACHE_HOME="$work/cache" openbox >>openbox.log 2>&1 &
        wm=$!
    fi
    if [ "$SECONDS" -ge "$deadline" ]; then
        echo "The window manager did not start within a minute:"
        cat openbox.log
        exit 1
    fi
    sleep 0.05
done

status=0
"$check" "$driver" || status=$?
if [ "$status" != 0 ]; then
    kill -0 "$wm" 2>/dev/null && echo "openbox: running" || echo "openbox: ended"
    cat openbox.log
fi
exit "$status"
