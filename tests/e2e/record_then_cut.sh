#!/usr/bin/env bash
# Installs the build into a temporary prefix, starts a private PulseAudio server playing a
# 1 kHz tone and a private X server, then clicks through QuorRecorder (5 s of MP3) and
# QuorSplit (cut 1-3 s) with xdotool, and checks both files; then records 2 s with quor-record.
# usage: record_then_cut.sh BUILD_DIR   (QUOR_E2E_SHOTS=DIR keeps the screenshots there)
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

echo "== private PulseAudio server playing 1 kHz, a new user's settings, no network"
source "$here/../support/private_session.sh"

echo "== install into $work/prefix"
cmake --install "$build" --prefix "$work/prefix" > "$work/install.log"
private=$(ls -d "$work"/prefix/lib*/QuorRecorder "$work"/prefix/lib/*/QuorRecorder 2>/dev/null | head -n 1 || true)
for f in QuorRecorder QuorSplit liblame_enc.so screenshot quor-reg quor-record; do
    [ -e "$private/$f" ] || { echo "missing $private/$f"; exit 1; }
done
# Every library is linked directly; the encoder library, loaded by name, is the only one installed.
libraries=$(cd "$work/prefix" && find . -name '*.so*' ! -type d -printf '%f\n' | sort | tr '\n' ' ')
[ "$libraries" = "liblame_enc.so " ] || { echo "shared libraries installed: $libraries"; exit 1; }
for f in quorrecorder quorsplit quor-record quor-reg; do
    [ -x "$work/prefix/bin/$f" ] || { echo "missing launcher $work/prefix/bin/$f"; exit 1; }
    [ -f "$work/prefix/share/man/man1/$f.1.gz" ] || { echo "no manual page for $f"; exit 1; }
done

export QUOR_E2E_WORK="$work" QUOR_E2E_PREFIX="$work/prefix"
xvfb-run -a -s "-screen 0 1280x800x24" bash "$here/drive_windows.sh"

echo "== check the files"
bash "$here/check_files.sh" "$work/home/Music" "$(cat "$work/recorded-for")"

echo "== quor-record through its launcher, as a timer would start it"
# Two seconds to the sample, and the encoder's delay and padding of two frames at most.
"$work/prefix/bin/quor-record" --duration 2s "$work/cli.mp3"
length=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$work/cli.mp3")
awk -v v="$length" 'BEGIN { exit !(v >= 2.0 && v <= 2.06) }' || { echo "quor-record made $length s"; exit 1; }
echo "quor-record made $length s"
