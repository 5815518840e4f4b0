#!/usr/bin/env bash
# Makes the bench's MP3 files and runs loudness_bench on them. The 3-hour file (128 kbit/s
# stereo, ten minutes encoded once and repeated, as frames join without a seam) is kept in
# BUILD_DIR/bench-data for later runs.
# usage: run_loudness_bench.sh BUILD_DIR [benchmark flags]
set -euo pipefail
build=$(cd "$1" && pwd)
shift
data="$build/bench-data"
mkdir -p "$data"
encode() { # seconds output
    sox -n -r 44100 -c 2 -b 16 -e signed-integer -t raw - synth "$1" sine 220-880 tremolo 3 40 vol 0.7 |
        lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -b 128 -t - "$2"
}
[ -s "$data/one_minute_128k.mp3" ] || encode 60 "$data/one_minute_128k.mp3"
long="$data/three_hours_128k_stereo.mp3"
if [ ! -s "$long" ]; then
    encode 600 "$data/ten_minutes.part"
    for _ in $(seq 18); do cat "$data/ten_minutes.part"; done > "$long.part"
    rm "$data/ten_minutes.part"
    mv "$long.part" "$long"
fi
# A cold cache would time the disk, not the scan: read the files once first.
cat "$data/one_minute_128k.mp3" "$long" > /dev/null
QUOR_BENCH_MP3="$data/one_minute_128k.mp3" QUOR_BENCH_LONG_MP3="$long" "$build/bin/loudness_bench" "$@"
