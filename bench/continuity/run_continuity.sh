#!/usr/bin/env bash
# Records SECONDS of WAV with QuorRecorder (clicked under a private X server) while the sound
# server plays continuity_check's counter signal and a busy loop keeps the other core loaded,
# then checks the file for gaps and repeats. Prints PASS or FAIL; exits non-zero on FAIL.
# usage: run_continuity.sh BUILD_DIR [SECONDS=600]
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export QUOR_BENCH_BUILD=$build QUOR_BENCH_SECONDS=${2:-600}
exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$here/continuity_session.sh"
