#!/usr/bin/env bash
# CPU time (user + system, from /proc/<pid>/stat, all threads) of QuorRecorder while it records
# SECONDS of MP3 with the spectrum shown, at 128 and at 320 kbps, against
# `parec | lame -r -b N` recording the same monitor source for the same time. The recorder runs
# under a private X server and is clicked with xdotool, like the end-to-end test.
# SIGNAL is what the sound server plays: tone (1 kHz, the default), music (pink noise whose level
# swings, so the spectrum changes with nearly every buffer) or silence (the spectrum stands still).
# usage: run_cpu_bench.sh BUILD_DIR [SECONDS=60] [SIGNAL=tone]
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export QUOR_BENCH_BUILD=$build QUOR_BENCH_SECONDS=${2:-60} QUOR_BENCH_SIGNAL=${3:-tone}
exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$here/cpu_bench_session.sh"
