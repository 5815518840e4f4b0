#!/usr/bin/env bash
# Runs inside the private X server: launches a menu entry as the desktop does (gio), waits for the
# recorder's window, and checks that the program behind it is the one in the unpacked package.
# usage: launch_from_menu.sh ENTRY.desktop
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/in_x_server.sh"

gio launch "$1"
rec=$(window '^쿠오르녹음기$')
pid=$(xdotool getwindowpid "$rec")
trap 'kill "$pid" 2>/dev/null || true' EXIT
exe=$(readlink "/proc/$pid/exe")
[ "$exe" = "$QUOR_E2E_PRIVATE/QuorRecorder" ] || { echo "FAIL: the window belongs to $exe"; exit 1; }

# The first paint comes before the sound server is opened: wait until the window shows more than a
# plain background.
painted "$rec" "$shots/package-recorder.png" || { echo "FAIL: the recorder's window stays blank"; exit 1; }
import -window root "$shots/package-desktop.png"
echo "recorder started from the menu entry: $exe"
