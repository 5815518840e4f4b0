#!/usr/bin/env bash
# CPU time (user + system, from /proc/<pid>/stat, all threads) per minute of QuorRecorder idle
# with its live spectrum and recording MP3 at 128 and 320 kbps, against `parec | lame -r -b N`
# recording the same monitor source and against cava (pulse input on that monitor, 43 frames/s,
# 10 bars, in a tmux terminal), each alone and both at once, all in one private session per
# signal so the figures compare within one run. The recorder runs under a private X server and is
# clicked with xdotool.
# SIGNALS is what the sound server plays, one session each: tone (1 kHz), music (pink noise whose
# level swings, so the spectrum changes with nearly every buffer) or silence.
# ROUNDS repeats every figure; the ratios are taken between the medians of the rounds (a single
# round moves by about ten per cent from run to run, cava and lame as much as the recorder), and
# again as the median of the ratios within each round.
# usage: run_cpu_bench.sh BUILD_DIR [SECONDS=60] [SIGNALS="tone music"] [ROUNDS=3]
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export QUOR_BENCH_BUILD=$build QUOR_BENCH_SECONDS=${2:-60} QUOR_BENCH_ROUNDS=${4:-3}
for signal in ${3:-tone music}; do
    QUOR_BENCH_SIGNAL=$signal xvfb-run -a -s "-screen 0 1280x800x24" bash "$here/cpu_bench_session.sh"
done
