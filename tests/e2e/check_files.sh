#!/usr/bin/env bash
# Checks the recording and the cut made by the end-to-end run: durations, rates, channels and
# the tone's frequency. usage: check_files.sh MUSIC_DIR WALL_SECONDS (from the record click until
# the recording stopped growing).
set -euo pipefail
music=$1
wall=$2
recording=$(ls "$music"/[0-9]*_[0-9]*.mp3)
cut=$(ls "$music"/Split_*.mp3)
probe() { ffprobe -v error -select_streams a:0 -show_entries "stream=$2" -of csv=p=0 "$1"; }
duration() { ffprobe -v error -show_entries format=duration -of csv=p=0 "$1"; }
frequency() { # rough frequency of the decoded file's middle second
    ffmpeg -v error -nostdin -ss 0.5 -t 1 -i "$1" -ac 1 -f wav - | sox -t wav - -n stat 2>&1 |
        awk '/Rough/ {print $3}'
}
within() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }
fail() { echo "FAIL: $*"; exit 1; }

echo "recording $recording: $(duration "$recording") s, $(probe "$recording" sample_rate) Hz, $(probe "$recording" channels) ch, $(probe "$recording" bit_rate) b/s"
# At least the 5 s waited for (less a little), at most the time it was recorded for and
# the encoder's two frames.
within "$(duration "$recording")" 4.9 "$(awk -v w="$wall" 'BEGIN { print w + 0.06 }')" || fail "recording length (at most $wall s recorded)"
[ "$(probe "$recording" sample_rate)" = 44100 ] || fail "recording rate"
[ "$(probe "$recording" channels)" = 2 ] || fail "recording channels"
[ "$(probe "$recording" bit_rate)" = 128000 ] || fail "recording bitrate"
within "$(frequency "$recording")" 980 1020 || fail "recording tone"

echo "cut $cut: $(duration "$cut") s, $(probe "$cut" sample_rate) Hz, $(probe "$cut" channels) ch"
within "$(duration "$cut")" 1.9 2.1 || fail "cut length"
[ "$(probe "$cut" sample_rate)" = 44100 ] || fail "cut rate"
[ "$(probe "$cut" channels)" = 1 ] || fail "cut channels"
within "$(frequency "$cut")" 980 1020 || fail "cut tone"
echo "both files check out"
