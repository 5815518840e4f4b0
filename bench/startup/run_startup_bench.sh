#!/usr/bin/env bash
# Start-up to first paint of QuorRecorder and QuorSplit (opening a 60 s MP3) against a bare Qt
# window of each one's size, and QuorSplit opening a 60 s and a 3-hour MP3 until the length is
# shown, under a private X server, sound server and settings. The 3-hour file (32 kbps mono,
# about a minute to encode) is kept in BUILD_DIR/bench-data for later runs.
# usage: run_startup_bench.sh BUILD_DIR [benchmark flags, e.g. --benchmark_filter=QuorSplit]; 15 runs each (start-up times on a desktop vary by several ms), median reported
set -euo pipefail
build=$(cd "$1" && pwd)
shift
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../tests/support/private_session.sh"

sox -n -r 44100 -c 2 -b 16 -e signed-integer -t raw - synth 60 sine 440 vol 0.5 |
    lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -b 128 - "$work/home/Music/input.mp3"
long="$build/bench-data/three_hours_32k_mono.mp3"
if [ ! -s "$long" ]; then
    mkdir -p "$build/bench-data"
    sox -n -r 22050 -c 1 -b 16 -e signed-integer -t raw - synth 10800 sine 440 vol 0.5 |
        lame --quiet -r -s 22.05 -m m --bitwidth 16 --signed --little-endian -b 32 - "$long.part"
    mv "$long.part" "$long"
fi
cp "$long" "$work/home/Music/long.mp3"
export QUOR_BENCH_MP3="$work/home/Music/input.mp3" QUOR_BENCH_LONG_MP3="$work/home/Music/long.mp3"
# The repetitions of all the programs are interleaved at random: run one after another, a drift of
# the machine during one program's runs moved its median by up to 10 ms against the others'.
xvfb-run -a -s "-screen 0 1280x800x24" "$build/bin/startup_bench" --benchmark_enable_random_interleaving=true "$@"
