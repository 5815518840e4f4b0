#!/usr/bin/env bash
# Runs inside the private X server; see run_cpu_bench.sh. One signal, everything measured in this
# one session: the idle window, recordings at 128 and 320 kbps, parec | lame at both, cava, and
# parec | lame with cava beside it (each tool's share of that window counted), in rounds; each
# figure is the median of its rounds, so that a drift of the machine during one round moves no
# ratio on its own. A second summary takes the ratios within each round.
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
start_parec_lame() { # lame settings... -> $parec, $lame, writing $work/base.mp3
    rm -f "$work/base.mp3" "$work/fifo"; mkfifo "$work/fifo"
    parec -d speakers.monitor --rate=44100 --channels=2 --format=s16le > "$work/fifo" &
    parec=$!
    lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian "$@" "$work/fifo" "$work/base.mp3" 2> "$work/lame.err" &
    lame=$!
    wait_for_streams "$parec" 1
}
pipe_ended_early() { # true (and both reaped) when parec or lame is gone
    kill -0 "$parec" 2>/dev/null && kill -0 "$lame" 2>/dev/null && return 1
    kill "$parec" "$lame" 2>/dev/null || true
    wait "$parec" "$lame" 2>/dev/null || true
}
stop_parec_lame() { kill "$parec"; wait "$parec" 2>/dev/null || true; wait "$lame" || true; }
run_parec_lame() {
    local name=$1 kbps=$2
    shift 2
    start_parec_lame "$@"
    local c0; c0=$(cpu_ticks "$parec" "$lame")
    sleep "$seconds"
    pipe_ended_early && return 1
    local c1; c1=$(cpu_ticks "$parec" "$lame")
    stop_parec_lame
    report "$name $kbps" $((c1 - c0)) "(file $(duration_of "$work/base.mp3") s)"
}

write_cava_config() { # pulse input on the same monitor, 43 frames/s, 10 bars, drawn in a tmux terminal
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
}
start_cava() { # -> $cava (the program) and $cava_server (tmux drawing it)
    tmux -S "$work/tmux.sock" new-session -d -x 80 -y 24 "exec cava -p '$work/cava.conf'"
    cava=$(tmux -S "$work/tmux.sock" list-panes -F '#{pane_pid}')
    cava_server=$(tmux -S "$work/tmux.sock" display-message -p '#{pid}')
    wait_for_streams "$cava" 1
}
stop_cava() { tmux -S "$work/tmux.sock" kill-server; }

measure_cava() {
    start_cava
    local c0 t0; c0=$(cpu_ticks "$cava"); t0=$(cpu_ticks "$cava_server")
    sleep "$seconds"
    local c1 t1; c1=$(cpu_ticks "$cava"); t1=$(cpu_ticks "$cava_server")
    stop_cava
    report "cava" $((c1 - c0))
    report "  (tmux drawing it, not counted)" $((t1 - t0))
}

# The two tools the recorder replaces, running at once as a user would run them. The server hands
# every capture of a source the fragments of its most eager one: beside cava, parec gets small
# fragments and lame wakes for each, as the recorder's recording stream does beside its display.
# Alone, parec is sent large ones.
measure_tools_together() { # kbps
    start_cava
    local attempt
    for attempt in 1 2; do
        start_parec_lame -b "$1"
        local p0 c0; p0=$(cpu_ticks "$parec" "$lame"); c0=$(cpu_ticks "$cava")
        sleep "$seconds"
        if pipe_ended_early; then
            echo "  (parec | lame beside cava ended before its $seconds s, lame said:" \
                "$(tail -n 2 "$work/lame.err" | tr '\n' ' ')- measuring again)"
            continue
        fi
        local p1 c1; p1=$(cpu_ticks "$parec" "$lame"); c1=$(cpu_ticks "$cava")
        stop_parec_lame
        stop_cava
        report "parec | lame -b, beside cava $1" $((p1 - p0)) "(file $(duration_of "$work/base.mp3") s)"
        report "cava, beside parec | lame $1" $((c1 - c0))
        return 0
    done
    stop_cava
    return 1
}

declare -A quality_index=([128]=3 [320]=0) # the settings' list entry for each bitrate
write_cava_config
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
        measure_tools_together "$kbps"
    done
done

echo "-- medians of $rounds round(s)"
declare -A cost # figure name -> the median
for name in "${!rounds_of[@]}"; do
    cost[$name]=$(median "${rounds_of[$name]}")
done
for name in "recorder idle (live spectrum)" "recorder recording 128 kbps" "recorder recording 320 kbps" \
    "parec | lame -b 128" "parec | lame -b 320" "cava" "parec | lame -b, beside cava 128" \
    "cava, beside parec | lame 128" "parec | lame -b, beside cava 320" "cava, beside parec | lame 320"; do
    printf '%-42s %6.2f s/min (rounds:%s)\n' "$name" "${cost[$name]}" "${rounds_of[$name]}"
done

ratio() { # label numerator denominator goal
    awk -v l="$1" -v a="$2" -v b="$3" -v g="$4" \
        'BEGIN { r = b > 0 ? a / b : 0; printf "%-56s %5.2f x (goal <= %s) %s\n", l, r, g, r <= g ? "met" : "NOT met" }'
}
idle=${cost["recorder idle (live spectrum)"]} cava=${cost[cava]}
for kbps in 128 320; do
    rec=${cost["recorder recording $kbps kbps"]} base=${cost["parec | lame -b $kbps"]}
    same=${cost["parec | lame (recorder's settings) $kbps"]}
    own=$(awk -v a="$rec" -v b="$idle" 'BEGIN { print a - b }')
    ratio "$kbps kbps: recording / (parec|lame + cava)" "$rec" "$(awk -v a="$base" -v b="$cava" 'BEGIN { print a + b }')" 1.0
    ratio "$kbps kbps: (recording - idle) / parec|lame" "$own" "$base" 1.1
    ratio "$kbps kbps:   same, LAME at the recorder's settings" "$own" "$same" 1.1
    # The same two goals against the tools running together (see measure_tools_together).
    base=${cost["parec | lame -b, beside cava $kbps"]}
    ratio "$kbps kbps: recording / (parec|lame + cava) together" "$rec" \
        "$(awk -v a="$base" -v b="${cost["cava, beside parec | lame $kbps"]}" 'BEGIN { print a + b }')" 1.0
    ratio "$kbps kbps: (recording - idle) / parec|lame beside cava" "$own" "$base" 1.1
done
ratio "idle / cava" "$idle" "$cava" 1.0

# The same goals with each ratio taken within its round, then the median of those: the figures of
# one round were measured minutes apart at most, so a round in which the whole machine ran slower
# moves both sides of its own ratios. The two summaries disagree when the rounds do.
echo "-- medians of the ratios within each round"
of_round() { awk -v i="$2" '{ print $i }' <<< "${rounds_of[$1]}"; } # figure name, round
per_round() { # awk expression over i (idle), c (cava), r (recording), b (parec|lame), and
    # tb, tc (parec|lame and cava run together); kbps
    local ratios="" round
    for round in $(seq "$rounds"); do
        ratios+=" $(awk -v i="$(of_round "recorder idle (live spectrum)" "$round")" \
            -v c="$(of_round cava "$round")" -v r="$(of_round "recorder recording $2 kbps" "$round")" \
            -v b="$(of_round "parec | lame -b $2" "$round")" \
            -v tb="$(of_round "parec | lame -b, beside cava $2" "$round")" \
            -v tc="$(of_round "cava, beside parec | lame $2" "$round")" "BEGIN { print $1 }")"
    done
    median "$ratios"
}
for kbps in 128 320; do
    ratio "$kbps kbps: recording / (parec|lame + cava)" "$(per_round 'r / (b + c)' "$kbps")" 1 1.0
    ratio "$kbps kbps: (recording - idle) / parec|lame" "$(per_round '(r - i) / b' "$kbps")" 1 1.1
    ratio "$kbps kbps: recording / (parec|lame + cava) together" "$(per_round 'r / (tb + tc)' "$kbps")" 1 1.0
    ratio "$kbps kbps: (recording - idle) / parec|lame beside cava" "$(per_round '(r - i) / tb' "$kbps")" 1 1.1
done
ratio "idle / cava" "$(per_round 'i / c' 128)" 1 1.0
