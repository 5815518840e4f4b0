#!/usr/bin/env bash
# Both programs as a keyboard and screen-reader user meets them: a private X server, a private
# session bus with the accessibility bus, and a private PulseAudio server playing a tone. Reads
# each window's accessible tree over at-spi, walks the windows by keys alone, and checks that the
# windows' WM_CLASS matches the menu entries and that no main window claims to be modal.
# usage: keyboard_and_readers.sh BUILD_DIR   (QUOR_E2E_SHOTS=DIR keeps the screenshots there)
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

source "$here/../support/private_session.sh"
export QUOR_E2E_WORK="$work" QUOR_E2E_BIN="$build/bin" QUOR_E2E_DESKTOP="$here/../../desktop"
xvfb-run -a -s "-screen 0 1280x800x24" bash "$here/drive_by_keys.sh"
