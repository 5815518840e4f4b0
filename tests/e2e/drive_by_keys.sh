#!/usr/bin/env bash
# Runs inside the private X server for keyboard_and_readers.sh.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/in_x_server.sh"
tree() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/accessible_tree.py" "$@"; }

# A session bus of our own; the accessibility bus comes up on it, and Qt's bridge uses it at once.
dbus-daemon --session --fork --print-address=3 --print-pid=4 3> "$work/bus.address" 4> "$work/bus.pid"
export DBUS_SESSION_BUS_ADDRESS=$(cat "$work/bus.address")
running=($(cat "$work/bus.pid"))
trap 'kill "${running[@]}" 2> /dev/null || true' EXIT
/usr/libexec/at-spi-bus-launcher --launch-immediately > "$work/a11y.log" 2>&1 &
running+=($!)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
key() { xdotool key --clearmodifiers "$@"; }
# A window manager gives the keyboard back to the main window when a box closes; here the script does.
refocus() { xdotool windowfocus --sync "$win"; }

identity() { # window id, program name: WM_CLASS as its menu entry says, and not modal
    local class entry
    class=$(xprop -id "$1" WM_CLASS)
    entry=$(sed -n 's/^StartupWMClass=//p' "$QUOR_E2E_DESKTOP/kr.quortools.$2.desktop")
    [ "$class" = "WM_CLASS(STRING) = \"$2\", \"$entry\"" ] || { echo "FAIL: $class for $entry"; exit 1; }
    if xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_MODAL; then
        echo "FAIL: $2's main window claims to be modal"; exit 1
    fi
}

echo "== the recorder"
"$QUOR_E2E_BIN/QuorRecorder" QuorRecorder > "$work/recorder.log" 2>&1 &
recorder=$!
running+=($recorder)
win=$(window '^쿠오르녹음기$' "$recorder")
identity "$win" QuorRecorder
tree QuorRecorder recorder
tree QuorRecorder focused 녹음
key Tab
tree QuorRecorder focused 정지
import -window "$win" "$shots/recorder-focus-on-stop.png"
key Tab Tab Tab Tab Tab
tree QuorRecorder focused 환경설정
key Return
tree QuorRecorder settings
key Tab
import -window root "$shots/settings-by-keys.png"
key Escape
refocus
tree QuorRecorder focused 환경설정

echo "== record, a refused box read as an alert, stop"
key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
tree QuorRecorder focused 녹음
key space
tree QuorRecorder focused 일시중지 # named by what it does now
key Tab Tab Tab Tab Tab Tab Return
tree QuorRecorder alert "레코딩 중에는 변경할수 없습니다."
import -window root "$shots/alert-by-keys.png"
key Return
refocus
tree QuorRecorder focused 환경설정
key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab Return
tree QuorRecorder focused 정지
kill -TERM "$recorder"
wait "$recorder"
ls "$work/home/Music/"*.mp3

echo "== the splitter"
ffmpeg -v error -nostdin -f lavfi -i "sine=frequency=440:duration=60" -ac 2 -b:a 128k "$work/tone.mp3"
"$QUOR_E2E_BIN/QuorSplit" "$work/tone.mp3" > "$work/splitter.log" 2>&1 &
splitter=$!
running+=($splitter)
win=$(window '^쿠오르녹음기-자르개$' "$splitter")
identity "$win" QuorSplit
tree QuorSplit splitter
tree QuorSplit focused 파일열기
key Tab Tab Right Right Right Prior
tree QuorSplit focused "시작 위치" 13
import -window "$win" "$shots/splitter-focus-on-start-thumb.png"
key Tab Next
tree QuorSplit focused "끝 위치" 50
key Escape
for _ in $(seq 100); do kill -0 "$splitter" 2> /dev/null || break; sleep 0.1; done
if kill -0 "$splitter" 2> /dev/null; then echo "FAIL: Escape left the splitter open"; exit 1; fi
echo "keyboard and screen readers check out"
