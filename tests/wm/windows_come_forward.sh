#!/usr/bin/env bash
# "View font" and "Import TTF Font" bring their window forward when it is
# open already behind the main window: it becomes the active window and the
# top of the window manager's stack.
#   windows_come_forward.sh DRIVER   (run by with_window_manager.sh)
set -euo pipefail
driver=$1

idle() { for i in $(seq "$1"); do echo idle; done; }
# Opens the window with a command, puts the main window on top, gives the
# command again, then leaves time to look at the stack. The window manager
# has a second to answer each step (more than it needs, even on a busy
# machine).
twice() {
    echo "$1"; idle 100
    echo "activate 0"; idle 100
    echo "dump active"
    echo "$1"; idle 100
    echo "dump active"; idle 500
}
{ idle 100; twice "shortcut 0 68"; twice "menu 37"; } > forward.script

# The title of the window at the top of the window manager's stack; empty
# while there is none.
top_window() {
    local stack
    stack=$(xprop -root _NET_CLIENT_LIST_STACKING 2>/dev/null | grep -o '0x[0-9a-f]*$') || return 0
    xprop -id "$stack" _NET_WM_NAME 2>/dev/null | sed 's/^[^"]*"//; s/"$//' || true
}

QT_QPA_PLATFORM=xcb "$driver" forward.script > out.txt &
running=$!
status=0
# Waits until the driver has printed its Nth "active" line, then until the
# window named is on top (for some seconds at most).
check() {
    for i in $(seq 1200); do
        [ "$(grep -c '^active' out.txt)" -ge "$1" ] && break
        sleep 0.05
    done
    local top=""
    for i in $(seq 100); do
        top=$(top_window)
        [ "$top" = "$2" ] && break
        sleep 0.05
    done
    echo "after $(grep '^active' out.txt | sed -n "$1p"): on top \"$top\""
    [ "$top" = "$2" ] || status=1
}
check 2 "Font View"
check 4 "TrueType Font View"
wait "$running" || status=1
# The main window was active after each "activate 0", the view after the
# command that found it open.
[ "$(grep '^active' out.txt | tr '\n' ' ')" = "active 0 active 69 active 0 active 103 " ] || status=1
cat out.txt
exit $status
