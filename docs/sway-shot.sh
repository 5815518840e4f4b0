#!/usr/bin/env bash
# Usage (as a user other than root, which sway refuses):
#   docs/sway-shot.sh BUILD_DIR xwayland|native SCALE song.mp3 shot.png
# Starts sway headless (1280x800 at SCALE, XWayland on) with a private PulseAudio, runs both
# programs in it, through XWayland (their own choice on a Wayland session) or natively
# (QT_QPA_PLATFORM=wayland, needs qt6-wayland), places them apart and takes a shot with grim.
# The programs' own messages are printed after the shot: a clean start prints none.
set -euo pipefail
bin=$(cd "$1/bin" && pwd) mode=$2 scale=$3 song=$(realpath "$4") shot=$(realpath -m "$5")
run=$(mktemp -d /tmp/swayXXXXXX)
export XDG_RUNTIME_DIR=$run HOME=$run WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
printf 'output HEADLESS-1 resolution %dx%d scale %s\nxwayland enable\n' \
    "$(echo "1280 * $scale / 1" | bc)" "$(echo "800 * $scale / 1" | bc)" "$scale" > "$run/config"
sway -c "$run/config" > "$run/sway.log" 2>&1 &
sway_pid=$!
echo "autospawn = no" > "$run/client.conf"
export PULSE_CLIENTCONFIG=$run/client.conf PULSE_SERVER=unix:$run/pulse-socket
pulseaudio -n --daemonize=no --use-pid-file=no --exit-idle-time=-1 \
    -L "module-null-sink sink_name=speakers" -L "module-native-protocol-unix socket=$run/pulse-socket auth-anonymous=1" \
    > /dev/null 2>&1 &
pulse_pid=$!
trap 'kill $sway_pid $pulse_pid 2> /dev/null; rm -rf "$run"' EXIT
until ls "$run"/wayland-? > /dev/null 2>&1 && pactl info > /dev/null 2>&1; do sleep 0.2; done
export WAYLAND_DISPLAY=$(basename "$(ls "$run"/wayland-? | head -1)") SWAYSOCK=$(ls "$run"/sway-ipc.*)
native=
[ "$mode" = native ] && native=QT_QPA_PLATFORM=wayland
# Started by sway, so that they get its DISPLAY (XWayland) as a session's programs do.
with="env HOME=$run PULSE_CLIENTCONFIG=$PULSE_CLIENTCONFIG PULSE_SERVER=$PULSE_SERVER $native"
swaymsg exec "$with $bin/QuorRecorder QuorRecorder > $run/recorder.log 2>&1" > /dev/null
swaymsg exec "$with $bin/QuorSplit '$song' > $run/splitter.log 2>&1" > /dev/null
shown() { swaymsg -t get_tree | python3 -c "import json,sys; t=json.dumps(json.load(sys.stdin), ensure_ascii=False); sys.exit(0 if sys.argv[1] in t else 1)" "\"name\": \"$1\""; }
until shown 쿠오르녹음기 && shown 쿠오르녹음기-자르개; do sleep 0.2; done
swaymsg '[title="안내$"] kill' > /dev/null || true # the start-up notice, offline here
swaymsg '[title="^쿠오르녹음기$"] move position 40 60' > /dev/null
swaymsg '[title="자르개$"] move position 420 300' > /dev/null
sleep 2 # sway draws the moved windows, the recorder its first spectrum
grim "$shot"
cat "$run/recorder.log" "$run/splitter.log"
