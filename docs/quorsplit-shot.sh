#!/bin/sh
# Usage: xvfb-run -a -s "-screen 0 1280x800x24" docs/quorsplit-shot.sh build/bin/QuorSplit song.mp3 shot.png
# Runs QuorSplit on a file under Xvfb, makes a selection by dragging the thumbs, plays, takes a shot.
D=$(mktemp -d /tmp/paXXXXXX)
export XDG_RUNTIME_DIR=$D PULSE_RUNTIME_PATH=$D PULSE_STATE_PATH=$D HOME=$D
echo "autospawn = no" > $D/client.conf
export PULSE_CLIENTCONFIG=$D/client.conf PULSE_SERVER=unix:$D/native
pulseaudio -n --daemonize=no --use-pid-file=no --exit-idle-time=-1 --disallow-exit \
  -L "module-null-sink sink_name=speakers sink_properties=device.description=Speakers" \
  -L "module-native-protocol-unix socket=$D/native auth-anonymous=1" >/dev/null 2>&1 &
PA=$!
sleep 0.5
QT_QPA_PLATFORM=xcb "$1" "$2" >/dev/null 2>&1 &
APP=$!
sleep 2
# Start thumb right by 120 px, end thumb left by 90 px.
xdotool mousemove 407 429 mousedown 1; for x in $(seq 410 6 527); do xdotool mousemove $x 429; done; xdotool mouseup 1
sleep 0.3
xdotool mousemove 872 429 mousedown 1; for x in $(seq 868 -6 782); do xdotool mousemove $x 429; done; xdotool mouseup 1
sleep 0.3
xdotool mousemove 421 477 click 1
sleep 3.4
xdotool mousemove 700 250
sleep 0.3
import -window root "$3"
kill $APP $PA
rm -rf $D
