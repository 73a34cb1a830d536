#!/usr/bin/env bash
# A main window saved where no screen is now (a second monitor unplugged)
# opens whole on the screen, in its bottom-right corner, and that place is
# what the settings keep.
#   off_screen_position.sh DRIVER   (run by with_window_manager.sh)
set -euo pipefail
driver=$1

printf '[Windows]\nMainX = 3000\nMainY = 2000\n' > Glyphery.inf
printf 'wait placed 0\ndump frame 0\n' > start-and-quit.script
QT_QPA_PLATFORM=xcb "$driver" start-and-quit.script > out.txt
cat out.txt
read -r x y w h < <(sed -E 's/^frame 0 ([0-9-]+),([0-9-]+) ([0-9]+) x ([0-9]+) on .*/\1 \2 \3 \4/' out.txt)
position=$(grep -E '^Main[XY] *=' Glyphery.inf | tr -d ' \r' | tr '\n' ' ')
echo "settings: $position"
# The frame ends at the screen's edge (1600 x 1000, no panel under openbox).
[ "$((x + w))" = 1600 ] && [ "$((y + h))" = 1000 ] && [ "$position" = "MainX=$x MainY=$y " ]
