# Sourced by the bench sessions: start QuorRecorder from $build and click its buttons. Every step
# waits for what it asks for (a window, a capture stream on the sound server), never a fixed time.
capture_streams() { # pid -> how many capture streams the process has on the sound server
    pactl list source-outputs 2>/dev/null | grep -c "application.process.id = \"$1\"" || true
}
wait_for_streams() { # pid count: until the process has that many capture streams (20 s at most)
    for _ in $(seq 200); do
        [ "$(capture_streams "$1")" = "$2" ] && return 0
        sleep 0.1
    done
    echo "process $1 never had $2 capture stream(s)"
    return 1
}
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
    wait_for_streams "$recorder_pid" 1 # the spectrum's monitor capture runs
}
click() { # window id, x, y in the window
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + $2)) $((Y + $3)) click 1
}
# record 1003 at (9, 115) 34 x 34, stop 1004 at (48, 115); each waits for the recording capture.
click_record() { click "$recorder_win" 26 132 && wait_for_streams "$recorder_pid" 2; }
click_stop() { click "$recorder_win" 65 132 && wait_for_streams "$recorder_pid" 1; }
stop_recorder() { kill "$recorder_pid"; wait "$recorder_pid" 2>/dev/null || true; }
