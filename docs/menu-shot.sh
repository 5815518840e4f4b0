#!/usr/bin/env bash
# Usage: xvfb-run -a -s "-screen 0 1024x600x24" docs/menu-shot.sh PREFIX shot.png
# Shows the application menu entries that `cmake --install --prefix PREFIX` put in place, as an
# application launcher (rofi) lists them, and takes a shot of the screen.
set -euo pipefail
prefix=$(cd "$1" && pwd)
export XDG_DATA_DIRS="$prefix/share:/usr/share" XDG_CONFIG_HOME=$(mktemp -d) LANG=C.UTF-8 LANGUAGE=ko
rofi -show drun -show-icons -drun-display-format '{name}  <span size="small">{generic}</span>' \
    -filter 쿠오르 -theme-str 'window { width: 520px; } listview { lines: 4; }' &
launcher=$!
sleep 2
import -window root "$2"
mogrify -trim +repage "$2"
kill "$launcher"
