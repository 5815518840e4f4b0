#!/usr/bin/env bash
# Both programs as a keyboard and screen-reader user meets them, under a private X server, a
# private session bus with its accessibility bus and a private PulseAudio server playing a tone:
# each window's accessible tree read over at-spi while keys alone (xdotool) walk the windows, and
# WM_CLASS as the menu entries say, with no main window claiming to be modal.
# usage: keyboard_and_readers.sh BUILD_DIR   (QUOR_E2E_SHOTS=DIR keeps the screenshots there)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/run_in_x_server.sh"
tree() { /usr/bin/python3 "$here/accessible_tree.py" "$@"; }
key() { xdotool key --clearmodifiers "$@"; }
# A window manager gives the main window the keyboard back when a box closes; here the script does.
refocus() { xdotool windowfocus --sync "$win"; }
identity() { # program: the window's WM_CLASS is its menu entry's StartupWMClass; it is not modal
    grep -qx "StartupWMClass=$1" "$here/../../desktop/kr.quortools.$1.desktop"
    [ "$(xprop -id "$win" WM_CLASS)" = "WM_CLASS(STRING) = \"$1\", \"$1\"" ] || { echo "FAIL: WM_CLASS"; exit 1; }
    if xprop -id "$win" _NET_WM_STATE | grep -q MODAL; then echo "FAIL: $1 claims to be modal"; exit 1; fi
}

dbus-daemon --session --fork --print-address=3 --print-pid=4 3> "$work/bus.address" 4> "$work/bus.pid"
export DBUS_SESSION_BUS_ADDRESS=$(cat "$work/bus.address") QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
running=($(cat "$work/bus.pid"))
trap 'kill "${running[@]}" 2> /dev/null || true' EXIT
/usr/libexec/at-spi-bus-launcher --launch-immediately > "$work/a11y.log" 2>&1 &
running+=($!)

echo "== the recorder, its settings and a notification box"
"$QUOR_E2E_BIN/QuorRecorder" QuorRecorder > "$work/recorder.log" 2>&1 &
running+=($!)
win=$(window '^쿠오르녹음기$' $!)
identity QuorRecorder
tree QuorRecorder 쿠오르녹음기 focused=녹음 "push button=정지" "push button=자르개" "push button=저장폴더" \
    "push button=정보" "push button=환경설정" "push button=최소화" "push button=종료" "slider=녹음 볼륨" \
    chart=스펙트럼 label=00:00:00 "label=MP3 128 Kbps 44100 Hz STEREO"
key Tab Tab Tab Tab Tab Tab
tree QuorRecorder 쿠오르녹음기 focused=환경설정 > /dev/null
import -window "$win" "$shots/recorder-focus-on-settings.png"
key Return
tree QuorRecorder 환경설정 focused=파일설정 > /dev/null # the dialog has the keyboard before Tab is sent
key Tab
tree QuorRecorder 환경설정 '!Check1' '!Check2' "check box=재생 음소거" "check box=녹음 음소거" \
    "slider=녹음 볼륨" "text=저장위치" "push button=닫기" focused=볼륨설정
import -window root "$shots/settings-by-keys.png"
key Escape
refocus
key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space Tab Tab Tab Tab Tab Tab Return
tree QuorRecorder alert "label=레코딩 중에는 변경할수 없습니다." focused=확인
import -window root "$shots/alert-by-keys.png"
key Return
refocus
tree QuorRecorder 쿠오르녹음기 focused=환경설정 "push button=일시중지" > /dev/null

echo "== the splitter"
ffmpeg -v error -nostdin -f lavfi -i "sine=frequency=440:duration=60" -ac 2 -b:a 128k "$work/tone.mp3"
"$QUOR_E2E_BIN/QuorSplit" "$work/tone.mp3" > "$work/splitter.log" 2>&1 &
running+=($!)
win=$(window '^쿠오르녹음기-자르개$' $!)
identity QuorSplit
tree QuorSplit 쿠오르녹음기-자르개 focused=파일열기 > /dev/null
key Tab Tab Right Right Right Prior
tree QuorSplit 쿠오르녹음기-자르개 "focused=시작 위치=13" "slider=끝 위치" "text=파일" "push button=닫기" \
    "push button=최소화" "push button=정보" "push button=파일열기" "push button=저장폴더" \
    "push button=자르기" "push button=정지" "push button=일시정지" "push button=재생"
import -window "$win" "$shots/splitter-focus-on-start-thumb.png"
echo "keyboard and screen readers check out"
