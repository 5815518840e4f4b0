#!/usr/bin/env bash
# Runs inside the private X server; see run_cpu_bench.sh. One signal, everything measured in this
# one session: the idle window, recordings at 128 and 320 kbps, parec | lame at both, and cava,
# in rounds; each figure is the median of its rounds, so that a drift of the machine during one
# round moves no ratio on its own. A second summary takes the ratios within each round.
set -euo pipefail
build=$QUOR_BENCH_BUILD
seconds=$QUOR_BENCH_SECONDS
rounds=$QUOR_BENCH_ROUNDS
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
synth="sox -n -r 44100 -c 2 -b 16 -e signed-integer -t raw - synth 3600"
case $QUOR_BENCH_SIGNAL in
tone) ;;
music) player="$synth pinknoise tremolo 1.5 90 vol 0.5" ;;
silence) player="$synth sine 1000 vol 0" ;;
*) echo "unknown signal $QUOR_BENCH_SIGNAL"; exit 2 ;;
esac
echo "signal: $QUOR_BENCH_SIGNAL, ${seconds} s per figure, $rounds round(s), CPU seconds per minute"
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
per_minute() { awk -v t="$1" -v k="$tick" -v s="$seconds" 'BEGIN { printf "%.2f", t / k * 60 / s }'; }
duration_of() { ffprobe -v error -show_entries format=duration -of csv=p=0 "$1"; }
declare -A rounds_of # figure name -> CPU seconds per minute of each round, space separated
report() { # name ticks [note]
    local figure; figure=$(per_minute "$2")
    rounds_of[$1]="${rounds_of[$1]:-} $figure"
    printf '%-42s %6s s/min %s\n' "$1" "$figure" "${3:-}"
}
median() { tr ' ' '\n' <<< "$1" | grep . | sort -g | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure_recorder() { # kbps quality-index; the idle window is measured with the 128 kbps start
    "$build/bin/quor-reg" set 'Software\QuorRecorder' FileSettingSel dword "$2"
    rm -f "$HOME"/Music/*.mp3
    start_recorder
    local pid=$recorder_pid
    if [ "$1" = 128 ]; then
        local i0; i0=$(cpu_ticks "$pid"); sleep "$seconds"; local i1; i1=$(cpu_ticks "$pid")
        report "recorder idle (live spectrum)" $((i1 - i0))
    fi
    click_record
    local c0; c0=$(cpu_ticks "$pid")
    sleep "$seconds"
    local c1; c1=$(cpu_ticks "$pid")
    click_stop
    stop_recorder
    local file; file=$(ls "$HOME"/Music/*.mp3 | head -n 1)
    report "recorder recording $1 kbps" $((c1 - c0)) "(file $(duration_of "$file") s)"
}

measure_parec_lame() { # name kbps lame-settings...; a pipe that ended early is measured again, once
    local attempt
    for attempt in 1 2; do
        run_parec_lame "$@" && return 0
        echo "  ($1 $2 ended before its $seconds s, lame said: $(tail -n 2 "$work/lame.err" | tr '\n' ' ')- measuring again)"
    done
    return 1
}
run_parec_lame() {
    local name=$1 kbps=$2
    shift 2
    rm -f "$work/base.mp3" "$work/fifo"; mkfifo "$work/fifo"
    parec -d speakers.monitor --rate=44100 --channels=2 --format=s16le > "$work/fifo" &
    local parec=$!
    lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian "$@" "$work/fifo" "$work/base.mp3" 2> "$work/lame.err" &
    local lame=$!
    wait_for_streams "$parec" 1
    local c0; c0=$(cpu_ticks "$parec" "$lame")
    sleep "$seconds"
    if ! kill -0 "$parec" 2>/dev/null || ! kill -0 "$lame" 2>/dev/null; then
        kill "$parec" "$lame" 2>/dev/null || true
        wait "$parec" "$lame" 2>/dev/null || true
        return 1
    fi
    local c1; c1=$(cpu_ticks "$parec" "$lame")
    kill "$parec"; wait "$parec" 2>/dev/null || true; wait "$lame" || true
    report "$name $kbps" $((c1 - c0)) "(file $(duration_of "$work/base.mp3") s)"
}

measure_cava() { # pulse input on the same monitor, 43 frames/s, 10 bars, drawn in a tmux terminal
    cat > "$work/cava.conf" <<CONF
[general]
framerate = 43
bars = 10
[input]
method = pulse
source = speakers.monitor
[output]
method = ncurses
CONF
    local socket="$work/tmux.sock"
    tmux -S "$socket" new-session -d -x 80 -y 24 "exec cava -p '$work/cava.conf'"
    local cava; cava=$(tmux -S "$socket" list-panes -F '#{pane_pid}')
    local server; server=$(tmux -S "$socket" display-message -p '#{pid}')
    wait_for_streams "$cava" 1
    local c0 t0; c0=$(cpu_ticks "$cava"); t0=$(cpu_ticks "$server")
    sleep "$seconds"
    local c1 t1; c1=$(cpu_ticks "$cava"); t1=$(cpu_ticks "$server")
    tmux -S "$socket" kill-server
    report "cava" $((c1 - c0))
    report "  (tmux drawing it, not counted)" $((t1 - t0))
}

declare -A quality_index=([128]=3 [320]=0) # the settings' list entry for each bitrate
# Each figure is measured next to the one it is compared with: cava just before the idle window,
# each bitrate's pipes just after its recording. Measured minutes apart, a drift of the machine
# moved one side of a ratio by several per cent.
for round in $(seq "$rounds"); do
    echo "-- round $round"
    measure_cava
    for kbps in 128 320; do
        measure_recorder "$kbps" "${quality_index[$kbps]}"
        # The goal's baseline, and the same with the recorder's own encoder settings (LAME's CBR
        # preset for the bitrate, no bit reservoir): the difference between the two is LAME's.
        measure_parec_lame "parec | lame -b" "$kbps" -b "$kbps"
        measure_parec_lame "parec | lame (recorder's settings)" "$kbps" --preset cbr "$kbps" --nores
    done
done

echo "-- medians of $rounds round(s)"
declare -A cost # figure name -> the median
for name in "${!rounds_of[@]}"; do
    cost[$name]=$(median "${rounds_of[$name]}")
done
for name in "recorder idle (live spectrum)" "recorder recording 128 kbps" "recorder recording 320 kbps" \
    "parec | lame -b 128" "parec | lame -b 320" "cava"; do
    printf '%-42s %6.2f s/min (rounds:%s)\n' "$name" "${cost[$name]}" "${rounds_of[$name]}"
done

ratio() { # label numerator denominator goal
    awk -v l="$1" -v a="$2" -v b="$3" -v g="$4" \
        'BEGIN { r = b > 0 ? a / b : 0; printf "%-50s %5.2f x (goal <= %s) %s\n", l, r, g, r <= g ? "met" : "NOT met" }'
}
idle=${cost["recorder idle (live spectrum)"]} cava=${cost[cava]}
for kbps in 128 320; do
    rec=${cost["recorder recording $kbps kbps"]} base=${cost["parec | lame -b $kbps"]}
    same=${cost["parec | lame (recorder's settings) $kbps"]}
    own=$(awk -v a="$rec" -v b="$idle" 'BEGIN { print a - b }')
    ratio "$kbps kbps: recording / (parec|lame + cava)" "$rec" "$(awk -v a="$base" -v b="$cava" 'BEGIN { print a + b }')" 1.0
    ratio "$kbps kbps: (recording - idle) / parec|lame" "$own" "$base" 1.1
    ratio "$kbps kbps:   same, LAME at the recorder's settings" "$own" "$same" 1.1
done
ratio "idle / cava" "$idle" "$cava" 1.0

# The same goals with each ratio taken within its round, then the median of those: the figures of
# one round were measured minutes apart at most, so a round in which the whole machine ran slower
# moves both sides of its own ratios. The two summaries disagree when the rounds do.
echo "-- medians of the ratios within each round"
of_round() { awk -v i="$2" '{ print $i }' <<< "${rounds_of[$1]}"; } # figure name, round
per_round() { # awk expression over i (idle), c (cava), r (recording), b (parec|lame); kbps
    local ratios="" round
    for round in $(seq "$rounds"); do
        ratios+=" $(awk -v i="$(of_round "recorder idle (live spectrum)" "$round")" \
            -v c="$(of_round cava "$round")" -v r="$(of_round "recorder recording $2 kbps" "$round")" \
            -v b="$(of_round "parec | lame -b $2" "$round")" "BEGIN { print $1 }")"
    done
    median "$ratios"
}
for kbps in 128 320; do
    ratio "$kbps kbps: recording / (parec|lame + cava)" "$(per_round 'r / (b + c)' "$kbps")" 1 1.0
    ratio "$kbps kbps: (recording - idle) / parec|lame" "$(per_round '(r - i) / b' "$kbps")" 1 1.1
done
ratio "idle / cava" "$(per_round 'i / c' 128)" 1 1.0
