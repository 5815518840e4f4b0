#!/usr/bin/env bash
# SIGTERM while a box of either program waits for a click: the program ends within 2 s, finishes
# a recording that runs and leaves no temporary file; a temporary file that a killed cut left
# behind goes when QuorSplit next opens a file beside it, one that a running cut holds stays.
# The build's own programs, under a private X server, sound server and settings.
# usage: signal_with_box_open.sh BUILD_DIR   (QUOR_E2E_SHOTS=DIR keeps the screenshots there)
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../support/private_session.sh"
export QUOR_E2E_WORK="$work" QUOR_E2E_BIN="$build/bin"
xvfb-run -a -s "-screen 0 1280x800x24" bash "$here/drive_boxes.sh"
