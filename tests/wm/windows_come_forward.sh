#!/usr/bin/env bash
# "View font" and "Import TTF Font" bring their window forward when it is
# open already behind the main window: it becomes the active window and the
# top of the window manager's stack.
#   windows_come_forward.sh DRIVER   (run by with_window_manager.sh)
set -euo pipefail
driver=$1

idle() { for i in $(seq "$1"); do echo idle; done; }
# Opens the window with a command, puts the main window on top, gives the
# command again, then leaves time to look at the stack.
twice() {
    echo "$1"; idle 40
    echo "activate 0"; idle 40
    echo "dump active"
    echo "$1"; idle 40
    echo "dump active"; idle 300
}
{ idle 40; twice "shortcut 0 68"; twice "menu 37"; } > forward.script

# The title of the window at the top of the window manager's stack.
top_window() {
    local stack
    stack=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //')
    xprop -id "${stack##*, }" _NET_WM_NAME | sed 's/^[^"]*"//; s/"$//'
}

QT_QPA_PLATFORM=xcb "$driver" forward.script > out.txt &
running=$!
status=0
check() {  # the number of "active" lines to wait for, the window expected on top
    for i in $(seq 100); do
        [ "$(grep -c '^active' out.txt)" -ge "$1" ] && break
        sleep 0.05
    done
    local top
    top=$(top_window)
    echo "after $(sed -n "$1p" <(grep '^active' out.txt)): on top \"$top\""
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
