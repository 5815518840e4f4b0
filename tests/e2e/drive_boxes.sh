#!/usr/bin/env bash
# Runs inside the private X server: opens boxes of both programs, sends SIGTERM while each waits,
# and checks how soon the program ends and what it leaves behind.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/in_x_server.sh"
bin=$QUOR_E2E_BIN
music=$HOME/Music
reg=$bin/quor-reg
pid=
holder=
trap 'kill $pid $holder 2>/dev/null || true' EXIT

fail() { echo "FAIL: $*"; exit 1; }

ends_within_2s() { # what -> sends SIGTERM to $pid; fails unless it has ended 2 s later
    local sent now
    sent=$(date +%s%N)
    kill -TERM "$pid"
    while kill -0 "$pid" 2>/dev/null; do
        now=$(date +%s%N)
        (( now - sent < 2000000000 )) || { kill -KILL "$pid"; fail "$1: still running 2 s after SIGTERM"; }
        sleep 0.05
    done
    wait "$pid" || fail "$1: ended with status $?"
    echo "$1: ended $(( ($(date +%s%N) - sent) / 1000000 )) ms after SIGTERM"
    pid=
}

temporaries() { # the cut's temporary files in the music folder
    ls -A "$music" | grep '^\.quorsplit-' || true
}

box_over() { # window id of the program's window -> a new window of $pid beside it (and beside $2...)
    local id
    id=$(new_window "$pid" "$@") || fail "no box opened"
    painted "$id" "$work/box.png"
    echo "$id"
}

start() { # program, arguments... -> starts it in the background as $pid
    "$@" > "$work/program.log" 2>&1 &
    pid=$!
}

sized_box() { # width height [key] -> the window of $pid of that size (a notification box), up to 20 s;
    # the key goes to whatever has the focus meanwhile (another box that comes first)
    local id w h
    for _ in $(seq 200); do
        for id in $(xdotool search --onlyvisible --pid "$pid" '' 2>/dev/null); do
            read -r w h < <(xdotool getwindowgeometry "$id" | awk '/Geometry/ { sub("x", " ", $2); print $2 }')
            if [ "$w" = "$1" ] && [ "$h" = "$2" ]; then
                painted "$id" "$work/box.png"
                echo "$id"
                return
            fi
        done
        [ -n "${3:-}" ] && xdotool key "$3"
        sleep 0.1
    done
    fail "no $1 x $2 box"
}

shown() { # title regex -> the window of $pid with that title, once painted
    local id
    id=$(window "$1" "$pid") || fail "no window '$1'"
    painted "$id" "$work/window.png"
    echo "$id"
}

ffmpeg -nostdin -v error -f lavfi -i sine=duration=5 -c:a libmp3lame -b:a 128k "$music/song.mp3"

echo "== QuorSplit: the cannot-play box at start"
echo "just words" > "$music/words.mp3"
start "$bin/QuorSplit" "$music/words.mp3"
box=$(shown '^QuorSplit$') # the system box, titled by the program's name
import -window root "$shots/signal-cannot-play.png"
ends_within_2s "QuorSplit with its cannot-play box"

echo "== QuorSplit: a failed cut's error box; left-behind temporary files"
mkdir -p "$work/conv"
printf '#!/bin/sh\nfor a; do out=$a; done\nprintf "half a file" > "${out#file:}"\nexit 1\n' > "$work/conv/screenshot"
chmod +x "$work/conv/screenshot"
"$reg" set 'Software\QuorRecorder' dir sz "$work/conv"
echo stale > "$music/.quorsplit-stale001.mp3"   # a killed cut's
echo held > "$music/.quorsplit-inuse001.mp3"    # a running cut's, locked
# The holder is the locking process itself, so killing it frees the lock and leaves no child
# behind holding the test's output open.
( exec 9>>"$music/.quorsplit-inuse001.mp3"; flock 9; exec sleep 600 ) > /dev/null 2>&1 &
holder=$!
while flock -n "$music/.quorsplit-inuse001.mp3" true; do sleep 0.05; done # until it holds the lock
start "$bin/QuorSplit" "$music/song.mp3"
split=$(shown '자르개')
for _ in $(seq 100); do [ "$(temporaries)" = ".quorsplit-inuse001.mp3" ] && break; sleep 0.1; done
[ "$(temporaries)" = ".quorsplit-inuse001.mp3" ] || fail "left behind: $(temporaries)"
click "$split" 440 183   # cut 1002 at (392, 168) 96 x 30
save=$(box_over "$split")
xdotool windowfocus --sync "$save" key Return   # Split_song.mp3 beside the song
box=$(sized_box 200 130)
import -window root "$shots/signal-cut-error.png"
[ "$(temporaries)" = ".quorsplit-inuse001.mp3" ] || fail "while the error box waits: $(temporaries)"
ends_within_2s "QuorSplit with its cut error box"
[ "$(temporaries)" = ".quorsplit-inuse001.mp3" ] || fail "after the signal: $(temporaries)"
[ ! -e "$music/Split_song.mp3" ] || fail "a failed cut left its output"
kill "$holder"
wait "$holder" 2>/dev/null || true
holder=
rm "$music/.quorsplit-inuse001.mp3"

echo "== QuorSplit: the overwrite question"
"$reg" set 'Software\QuorRecorder' dir sz "$bin"
echo precious > "$music/Split_song.mp3"
start "$bin/QuorSplit" "$music/song.mp3"
split=$(shown '자르개')
click "$split" 440 183
save=$(box_over "$split")
xdotool windowfocus --sync "$save" key Return
box=$(sized_box 300 150 y)                      # after the file dialog's own question, answered y
import -window root "$shots/signal-overwrite.png"
ends_within_2s "QuorSplit with its overwrite question"
[ "$(cat "$music/Split_song.mp3")" = precious ] || fail "the old file changed"
[ -z "$(temporaries)" ] || fail "left behind: $(temporaries)"

recordings() { ls "$music"/2*.mp3 2>/dev/null || true; }

echo "== QuorRecorder: a notice while it records"
start "$bin/QuorRecorder" QuorRecorder
rec=$(shown '^쿠오르녹음기$')
click "$rec" 26 132        # record 1003 at (9, 115) 34 x 34
for _ in $(seq 100); do [ -n "$(recordings)" ] && [ "$(stat -c %s "$(recordings)")" -gt 20000 ] && break; sleep 0.1; done
[ -n "$(recordings)" ] || fail "no recording started"
click "$rec" 266 15        # settings at (255, 4): refused while recording, with a notice
box=$(sized_box 300 150)
import -window root "$shots/signal-recording-notice.png"
ends_within_2s "QuorRecorder recording, with a notice"
seconds=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$(recordings)")
awk -v s="$seconds" 'BEGIN { exit !(s >= 1) }' || fail "the recording was not finished ($seconds s)"
echo "every program ended in time"
