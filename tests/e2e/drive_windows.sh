#!/usr/bin/env bash
# Runs inside the private X server: clicks the recorder and the splitter as a person would.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/in_x_server.sh"

drag() { # window id, from x y, by dx
    read -r ox oy < <(origin "$1")
    xdotool mousemove $((ox + $2)) $((oy + $3)) mousedown 1
    for step in 1 2 3 4 5 6 7 8; do
        xdotool mousemove $((ox + $2 + $4 * step / 8)) $((oy + $3))
        sleep 0.05
    done
    xdotool mouseup 1
}

seconds_of() { # an MP3 being written -> its length so far in whole seconds (0 while unreadable)
    local length
    length=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$1" 2>/dev/null || true)
    echo "${length%.*}" | grep -E '^[0-9]+$' || echo 0
}

"$QUOR_E2E_PREFIX/bin/quorrecorder" > "$work/recorder.log" 2>&1 &
recorder_pid=$!
split_pid=
trap 'kill $recorder_pid $split_pid 2>/dev/null || true' EXIT
rec=$(window '^쿠오르녹음기$' "$recorder_pid")
painted "$rec" "$work/window.png"
import -window root "$shots/e2e-recorder-idle.png"

echo "record 5 s"
started=$(date +%s.%N)
click "$rec" 26 132      # record 1003 at (9, 115) 34 x 34
for _ in $(seq 300); do
    recording=$(ls "$HOME"/Music/*.mp3 2>/dev/null | head -n 1)
    [ -n "$recording" ] && [ "$(seconds_of "$recording")" -ge 5 ] && break
    sleep 0.1
done
[ -n "$recording" ] && [ "$(seconds_of "$recording")" -ge 5 ] || { echo "FAIL: no 5 s recording"; exit 1; }
import -window root "$shots/e2e-recorder-recording.png"
click "$rec" 65 132      # stop 1004 at (48, 115)
# What the recording may hold at most: the time from the record click until the file first had
# its final size, as this script saw it (on a busy machine that runs well past the 5 s waited
# for). The writer writes about three times a second while it records, so a size that holds for
# a second is final; up to 30 s.
size=$(stat -c %s "$recording") seen=$(date +%s.%N)
for _ in $(seq 300); do
    sleep 0.1
    if [ "$(stat -c %s "$recording")" != "$size" ]; then
        size=$(stat -c %s "$recording") seen=$(date +%s.%N)
    elif awk -v a="$seen" -v b="$(date +%s.%N)" 'BEGIN { exit !(b - a >= 1) }'; then
        break
    fi
done
awk -v a="$started" -v b="$seen" 'BEGIN { print b - a }' > "$work/recorded-for"

echo "open the splitter on the recording"
click "$rec" 206 133     # splitter 1015 at (169, 120) 75 x 26
split=$(window '자르개')
split_pid=$(xdotool getwindowpid "$split")
painted "$split" "$work/window.png"

# The slider sits at (8, 96), 483 wide; thumbs hang 29 px below its top, 19 x 19. The range is
# 0 .. the file's whole seconds; move the start thumb to 1 s and the end thumb to 3 s.
seconds=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$recording")
whole=${seconds%.*}
scale=$(( (483 - 36) * 1000 / whole ))          # pixels per second, x1000
drag "$split" 17 134 $(( scale * 3 / 2 / 1000 ))                       # start: +1.5 s -> 1
drag "$split" 482 134 $(( - scale * (2 * whole - 5) / 2 / 1000 ))      # end: whole -> 3 (2.5 s)
import -window root "$shots/e2e-splitter-selection.png"

echo "cut"
before=$(xdotool search --onlyvisible --pid "$split_pid" '' 2>/dev/null || true)
click "$split" 440 183   # cut 1002 at (392, 168) 96 x 30
save=$(new_window "$split_pid" $before)
painted "$save" "$work/window.png"
import -window root "$shots/e2e-save-dialog.png"
xdotool windowfocus --sync "$save" key Return   # accept the proposed Split_<name> in the recording's folder
# The cut is written under a temporary name and renamed once complete; the notice follows.
for _ in $(seq 300); do
    ls "$HOME"/Music/Split_*.mp3 > /dev/null 2>&1 && break
    sleep 0.1
done
done_box=$(new_window "$split_pid" "$split" "$save")
painted "$done_box" "$work/window.png"
import -window root "$shots/e2e-cut-done.png"
