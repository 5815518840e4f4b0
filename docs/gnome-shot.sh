#!/usr/bin/env bash
# Usage (as a user other than root):
#   docs/gnome-shot.sh BUILD_DIR xwayland|native song.mp3 shot.png
# Starts GNOME's compositor, mutter, as a headless Wayland session (1280x800, XWayland on) with
# PipeWire as the sound server, runs both programs in it, through XWayland (their own choice on a
# Wayland session) or natively (QT_QPA_PLATFORM=wayland, needs qt6-wayland), and takes a shot
# through mutter's screen cast (needs gstreamer1.0-pipewire, gstreamer1.0-tools,
# gstreamer1.0-plugins-good and python3-gi). The programs' own messages are printed after the
# shot: a clean start prints none.
set -euo pipefail
bin=$(cd "$1/bin" && pwd) mode=$2 song=$(realpath "$3") shot=$(realpath -m "$4")
run=$(mktemp -d /tmp/gnomeXXXXXX)
export XDG_RUNTIME_DIR=$run HOME=$run NO_AT_BRIDGE=1
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
running=()
trap 'kill "${running[@]}" 2> /dev/null; rm -rf "$run"' EXIT
{ read -r bus; read -r bus_pid; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=$bus
running+=("$bus_pid")
pipewire > /dev/null 2>&1 &
running+=($!)
until [ -S "$run/pipewire-0" ]; do sleep 0.1; done
wireplumber > /dev/null 2>&1 &
running+=($!)
pipewire-pulse > /dev/null 2>&1 &
running+=($!)
until pactl info > /dev/null 2>&1; do sleep 0.1; done
pactl load-module module-null-sink sink_name=speakers > /dev/null
mutter --wayland --headless --virtual-monitor 1280x800 --sm-disable > "$run/mutter.log" 2>&1 &
running+=($!)
until grep -q "Using public X11 display" "$run/mutter.log"; do sleep 0.1; done
export WAYLAND_DISPLAY=wayland-0 XAUTHORITY=$(ls "$run"/.mutter-Xwaylandauth.*)
export DISPLAY=$(grep -o "Using public X11 display :[0-9]*" "$run/mutter.log" | grep -o ":[0-9]*")
"$bin/quor-reg" set 'Software\QuorRecorder' CkInfoOpen dword 1 # no start-up notice (offline here)
[ "$mode" = native ] && export QT_QPA_PLATFORM=wayland
"$bin/QuorRecorder" QuorRecorder > "$run/recorder.log" 2>&1 &
running+=($!)
"$bin/QuorSplit" "$song" > "$run/splitter.log" 2>&1 &
running+=($!)
if [ "$mode" = native ]; then
    sleep 4 # mutter alone offers no list of Wayland windows to wait for; it places them itself
else
    until rec=$(xdotool search --name '^쿠오르녹음기$') && split=$(xdotool search --name '자르개$'); do sleep 0.2; done
    xdotool windowmove "$rec" 40 60 windowmove "$split" 420 300
    sleep 2 # mutter draws the moved windows, the recorder its first spectrum
fi
# One frame of the screen: a screen cast session over D-Bus, its PipeWire stream read by GStreamer.
python3 - "$shot" << 'EOF'
import subprocess, sys
import gi
gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib

NAME = "org.gnome.Mutter.ScreenCast"
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
def call(path, iface, method, args, reply):
    return bus.call_sync(NAME, path, NAME + iface, method, args, GLib.VariantType(reply),
                         Gio.DBusCallFlags.NONE, 10000, None).unpack()
(session,) = call("/org/gnome/Mutter/ScreenCast", "", "CreateSession", GLib.Variant("(a{sv})", ({},)), "(o)")
(stream,) = call(session, ".Session", "RecordArea",
                 GLib.Variant("(iiiia{sv})", (0, 0, 1280, 800, {"cursor-mode": GLib.Variant("u", 0)})), "(o)")
node, loop = [], GLib.MainLoop()
def added(connection, sender, path, iface, signal, params):
    node.append(params.unpack()[0])
    loop.quit()
bus.signal_subscribe(None, NAME + ".Stream", "PipeWireStreamAdded", stream, None, Gio.DBusSignalFlags.NONE, added)
call(session, ".Session", "Start", None, "()")
GLib.timeout_add_seconds(10, loop.quit)
loop.run()
if not node:
    sys.exit("mutter offered no screen cast stream")
subprocess.run(["gst-launch-1.0", "-q", "pipewiresrc", "path=%d" % node[0], "num-buffers=1", "!", "videoconvert",
                "!", "pngenc", "!", "filesink", "location=" + sys.argv[1]], check=True, timeout=20)
call(session, ".Session", "Stop", None, "()")
EOF
cat "$run/recorder.log" "$run/splitter.log"
