#!/usr/bin/env bash
# "View font" and "Import TTF Font" bring their window forward when it is
# open already behind the main window: it becomes the active window and the
# top of the window manager's stack.
#   windows_come_forward.sh DRIVER   (run by with_window_manager.sh)
set -euo pipefail
driver=$1

# Opens the window with a command (its number second) and waits until the
# window manager has framed it, puts the main window forward, gives the
# command again, then waits until the check below has looked at the stack
# (it writes the file looked-N, N third). Each wait lasts until the window
# manager has done what was asked, however busy the machine is.
twice() {
    echo "$1"; echo "wait placed $2"
    echo "activate 0"; echo "wait active 0"
    echo "dump active"
    echo "$1"; echo "wait active $2"
    echo "dump active"; echo "wait file looked-$3"
}
{ echo "wait placed 0"; twice "shortcut 0 68" 69 1; twice "menu 37" 103 2; } > forward.script

# The title of the window at the top of the window manager's stack; empty
# while there is none.
top_window() {
    local stack
    stack=$(xprop -root _NET_CLIENT_LIST_STACKING 2>/dev/null | grep -o '0x[0-9a-f]*$') || return 0
    xprop -id "$stack" _NET_WM_NAME 2>/dev/null | sed 's/^[^"]*"//; s/"$//' || true
}

rm -f looked-*
QT_QPA_PLATFORM=xcb "$driver" forward.script > out.txt &
running=$!
status=0
# Waits until the driver has printed its Nth "active" line, then until the
# window named is on top (half a minute at most), while the driver runs; then
# lets the driver go on.
check() {
    while [ "$(grep -c '^active' out.txt)" -lt "$1" ] && kill -0 "$running" 2>/dev/null; do
        sleep 0.05
    done
    local top=""
    for i in $(seq 600); do
        top=$(top_window)
        [ "$top" = "$2" ] && break
        kill -0 "$running" 2>/dev/null || break
        sleep 0.05
    done
    echo "after $(grep '^active' out.txt | sed -n "$1p"): on top \"$top\""
    [ "$top" = "$2" ] || status=1
    touch "looked-$(($1 / 2))"
}
check 2 "Font View"
check 4 "TrueType Font View"
wait "$running" || status=1
# The main window was active after each "activate 0", the view after the
# command that found it open.
[ "$(grep '^active' out.txt | tr '\n' ' ')" = "active 0 active 69 active 0 active 103 " ] || status=1
cat out.txt
exit $status
