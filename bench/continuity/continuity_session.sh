#!/usr/bin/env bash
# Runs inside the private X server; see run_continuity.sh.
set -euo pipefail
build=$QUOR_BENCH_BUILD
seconds=$QUOR_BENCH_SECONDS
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
filetype=1 quality=0 player="$build/bin/continuity_check signal"
source "$here/../../tests/support/private_session.sh"
source "$here/../support/recorder_window.sh"

start_recorder
bash -c 'while :; do :; done' &
busy=$!
started=$(date +%s.%N)
click_record
sleep "$seconds"
click_stop
stopped=$(date +%s.%N)
kill "$busy"
sleep 1
stop_recorder
file=$(ls "$HOME"/Music/*.wav | head -n 1)
awk -v a="$started" -v b="$stopped" 'BEGIN { printf "wall time between the clicks: %.3f s = %d frames\n", b - a, (b - a) * 44100 }'
"$build/bin/continuity_check" check "$file"
