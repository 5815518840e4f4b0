# Sourced by the end-to-end test and the bench scripts: a private PulseAudio server whose
# "speakers" play a 1 kHz tone, private recorder settings (MP3, no welcome pop-up, no update
# check) and no network.
# Needs: $build (the build tree). Sets: $work, $pids (kill them at exit), PULSE_* variables.
# Optional: $quality (FileSettingSel: 0 = 320 kbps, 3 = 128 kbps; default 3), $filetype
# (FileTypeSel: 0 = MP3, 1 = WAV; default 0), $player (a command writing 44.1 kHz s16le stereo to
# stdout; default an hour of 1 kHz tone).
work=$(mktemp -d /tmp/quorbenchXXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

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

${player:-sox -n -r 44100 -c 2 -b 16 -e signed-integer -t raw - synth 3600 sine 1000 vol 0.5} |
    pacat --playback -d speakers --rate=44100 --channels=2 --format=s16le --latency-msec=500 &
pids+=($!)

export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_MUSIC_DIR="$work/home/Music"
reg=${reg:-$build/bin/quor-reg}
"$reg" set 'Software\QuorRecorder' Savepath sz "$work/home/Music"
"$reg" set 'Software\QuorRecorder' FileTypeSel dword "${filetype:-0}"
"$reg" set 'Software\QuorRecorder' FileSettingSel dword "${quality:-3}"
"$reg" set 'Software\QuorRecorder' CkInfoOpen dword 1
for gate in upchkdate update actionapp; do "$reg" set 'Software\QuorRecorder' "$gate" sz 99991231; done
export QUOR_UPDATE_BASE_URL=http://127.0.0.1:9 QUOR_WEB_BASE_URL=http://127.0.0.1:9
export QT_QPA_PLATFORM=xcb
