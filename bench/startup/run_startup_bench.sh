#!/usr/bin/env bash
# Start-up to first paint of QuorRecorder and QuorSplit (opening a 60 s MP3) against a bare Qt
# window of each one's size, under a private X server, sound server and settings.
# usage: run_startup_bench.sh BUILD_DIR [benchmark flags, e.g. --benchmark_filter=QuorSplit]; 7 runs each, median reported
set -euo pipefail
build=$(cd "$1" && pwd)
shift
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../tests/support/private_session.sh"

sox -n -r 44100 -c 2 -b 16 -e signed-integer -t raw - synth 60 sine 440 vol 0.5 |
    lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -b 128 - "$work/home/Music/input.mp3"
export QUOR_BENCH_MP3="$work/home/Music/input.mp3"
xvfb-run -a -s "-screen 0 1280x800x24" "$build/bin/startup_bench" "$@"
