#!/usr/bin/env bash
# Runs inside the private X server; see run_cpu_bench.sh.
set -euo pipefail
build=$QUOR_BENCH_BUILD
seconds=$QUOR_BENCH_SECONDS
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
synth="sox -n -r 44100 -c 2 -b 16 -e signed-integer -t raw - synth 3600"
case $QUOR_BENCH_SIGNAL in
tone) ;;
music) player="$synth pinknoise tremolo 1.5 90 vol 0.5" ;;
silence) player="$synth sine 1000 vol 0" ;;
*) echo "unknown signal $QUOR_BENCH_SIGNAL"; exit 2 ;;
esac
echo "signal: $QUOR_BENCH_SIGNAL"
source "$here/../../tests/support/private_session.sh"
source "$here/../support/recorder_window.sh"
tick=$(getconf CLK_TCK)

cpu_ticks() { # pid... -> utime + stime summed over the processes
    local total=0 fields
    for pid in "$@"; do
        read -ra fields < <(sed 's/^.*) //' "/proc/$pid/stat")
        total=$((total + fields[11] + fields[12])) # fields 14 and 15 of stat, counted after "comm"
    done
    echo "$total"
}
seconds_of() { awk -v t="$1" -v k="$tick" 'BEGIN { printf "%.2f", t / k }'; }
duration_of() { ffprobe -v error -show_entries format=duration -of csv=p=0 "$1"; }
measure_recorder() { # kbps quality-index
    "$build/bin/quor-reg" set 'Software\QuorRecorder' FileSettingSel dword "$2"
    rm -f "$HOME"/Music/*.mp3
    start_recorder
    local pid=$recorder_pid
    if [ "$1" = 128 ]; then # the window alone, spectrum running, for comparison
        local i0; i0=$(cpu_ticks "$pid"); sleep "$seconds"; local i1; i1=$(cpu_ticks "$pid")
        echo "recorder idle (window shown, not recording) ${seconds}s: $(seconds_of $((i1 - i0))) s CPU"
    fi
    local c0; c0=$(cpu_ticks "$pid")
    click_record
    sleep "$seconds"
    click_stop
    sleep 0.5
    local c1; c1=$(cpu_ticks "$pid")
    stop_recorder
    local file; file=$(ls "$HOME"/Music/*.mp3 | head -n 1)
    echo "recorder ${1} kbps ${seconds}s: $(seconds_of $((c1 - c0))) s CPU; file $(duration_of "$file") s"
    recorder_ticks=$((c1 - c0))
}

measure_baseline() { # kbps
    rm -f "$work/base.mp3" "$work/fifo"; mkfifo "$work/fifo"
    parec -d speakers.monitor --rate=44100 --channels=2 --format=s16le > "$work/fifo" &
    local parec=$!
    lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -b "$1" "$work/fifo" "$work/base.mp3" &
    local lame=$!
    sleep "$seconds"
    local ticks; ticks=$(cpu_ticks "$parec" "$lame")
    kill "$parec"; wait "$parec" 2>/dev/null || true; wait "$lame" || true
    echo "parec | lame -b $1 ${seconds}s: $(seconds_of "$ticks") s CPU; file $(duration_of "$work/base.mp3") s"
    baseline_ticks=$ticks
}

for pair in "128 3" "320 0"; do
    read -r kbps index <<< "$pair"
    measure_recorder "$kbps" "$index"
    measure_baseline "$kbps"
    awk -v r="$recorder_ticks" -v b="$baseline_ticks" -v k="$kbps" \
        'BEGIN { printf "ratio at %s kbps: %.2f (goal <= 1.20)\n", k, r / b }'
done
