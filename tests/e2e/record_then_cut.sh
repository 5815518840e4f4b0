#!/usr/bin/env bash
# Installs the build into a temporary prefix, starts a private PulseAudio server playing a
# 1 kHz tone and a private X server, then clicks through QuorRecorder (5 s of MP3) and
# QuorSplit (cut 1-3 s) with xdotool, and checks both files.
# usage: record_then_cut.sh BUILD_DIR   (QUOR_E2E_SHOTS=DIR keeps the screenshots there)
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

work=$(mktemp -d /tmp/e2eXXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

echo "== install into $work/prefix"
cmake --install "$build" --prefix "$work/prefix" > "$work/install.log"
libdir=$(cd "$work/prefix" && ls -d lib*/QuorRecorder lib/*/QuorRecorder 2>/dev/null | head -n 1)
private="$work/prefix/$libdir"
for f in QuorRecorder QuorSplit liblame_enc.so screenshot quor-reg; do
    [ -e "$private/$f" ] || { echo "missing $private/$f"; exit 1; }
done
[ -x "$work/prefix/bin/quorrecorder" ] && [ -x "$work/prefix/bin/quorsplit" ]

echo "== private PulseAudio server"
mkdir -p "$work/pa/runtime" "$work/pa/state" "$work/home/Music" "$work/config"
chmod 700 "$work/pa/runtime"
echo "autospawn = no" > "$work/pa/client.conf"
XDG_RUNTIME_DIR="$work/pa/runtime" PULSE_RUNTIME_PATH="$work/pa/runtime" PULSE_STATE_PATH="$work/pa/state" \
HOME="$work/home" pulseaudio -n --daemonize=no --use-pid-file=no --exit-idle-time=-1 --disallow-exit \
    -L "module-null-sink sink_name=speakers sink_properties=device.description=Speakers" \
    -L "module-native-protocol-unix socket=$work/pa/native auth-anonymous=1" > "$work/pa.log" 2>&1 &
pids+=($!)
export PULSE_SERVER="unix:$work/pa/native" PULSE_CLIENTCONFIG="$work/pa/client.conf"
for _ in $(seq 100); do pactl info > /dev/null 2>&1 && break; sleep 0.1; done
pactl info > /dev/null

sox -n -r 44100 -c 2 -b 16 -e signed-integer -t raw - synth 120 sine 1000 vol 0.5 |
    pacat --playback -d speakers --rate=44100 --channels=2 --format=s16le &
pids+=($!)

echo "== a new user's settings, no network"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_MUSIC_DIR="$work/home/Music"
reg="$private/quor-reg"
"$reg" set 'Software\QuorRecorder' Savepath sz "$work/home/Music"
"$reg" set 'Software\QuorRecorder' FileTypeSel dword 0
"$reg" set 'Software\QuorRecorder' FileSettingSel dword 3
"$reg" set 'Software\QuorRecorder' CkInfoOpen dword 1
for gate in upchkdate update actionapp; do "$reg" set 'Software\QuorRecorder' "$gate" sz 99991231; done
export QUOR_UPDATE_BASE_URL=http://127.0.0.1:9 QUOR_WEB_BASE_URL=http://127.0.0.1:9

export QUOR_E2E_WORK="$work" QUOR_E2E_PREFIX="$work/prefix"
xvfb-run -a -s "-screen 0 1280x800x24" bash "$here/drive_windows.sh"

echo "== check the files"
bash "$here/check_files.sh" "$work/home/Music"
