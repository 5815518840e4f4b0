# Sourced by the bench sessions: start QuorRecorder from $build and click its buttons.
start_recorder() { # -> sets $recorder_pid and $recorder_win
    "$build/bin/QuorRecorder" QuorRecorder > "$work/recorder.log" 2>&1 & # as its launcher starts it
    recorder_pid=$!
    recorder_win=""
    for _ in $(seq 200); do
        recorder_win=$(xdotool search --onlyvisible --pid "$recorder_pid" 2>/dev/null | head -n 1) &&
            [ -n "$recorder_win" ] && break
        sleep 0.1
    done
    [ -n "$recorder_win" ] || { echo "no recorder window"; return 1; }
    sleep 2
}
click() { # window id, x, y in the window
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + $2)) $((Y + $3)) click 1
}
click_record() { click "$recorder_win" 26 132; } # record 1003 at (9, 115) 34 x 34
click_stop() { click "$recorder_win" 65 132; }   # stop 1004 at (48, 115)
stop_recorder() { kill "$recorder_pid"; wait "$recorder_pid" 2>/dev/null || true; }
