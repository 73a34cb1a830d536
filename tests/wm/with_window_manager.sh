#!/usr/bin/env bash
# Runs a check on the real program under an X server of its own (Xvfb,
# 1600 x 1000) with a window manager (openbox):
#   with_window_manager.sh CHECK DRIVER WORKDIR
# CHECK runs in the fresh folder WORKDIR once the window manager is ready,
# with the driver's path as its argument; its exit status is the test's.
set -euo pipefail
check=$(realpath "$1")
driver=$(realpath "$2")
work=$3

if [ "${4:-}" != "--inside" ]; then
    rm -rf "$work"
    mkdir -p "$work"
    # A free display of its own, then this script again inside it.
    exec xvfb-run -a -s "-screen 0 1600x1000x24 -nolisten tcp" "$(realpath "$0")" "$check" "$driver" "$work" --inside
fi
cd "$work"

openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null || true' EXIT
# The window manager is ready once it has announced itself on the root.
for i in $(seq 400); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
"$check" "$driver"
