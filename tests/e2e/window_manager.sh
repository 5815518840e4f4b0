#!/usr/bin/env bash
# Both programs under a real window manager (openbox; xfwm4 or mutter with QUOR_WINDOW_MANAGER)
# in a private X server, as a desktop user
# has them: no frame; the title, WM_CLASS as the menu entry says and a 64 px icon; the recorder
# kept above another window; dragging the body moves each window; the skinned minimise button
# minimises it and it comes back whole; the settings dialog opens centred on its owner and above.
# usage: window_manager.sh BUILD_DIR   (QUOR_E2E_SHOTS=DIR keeps the screenshots there)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/run_in_x_server.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
running=()
bus_pid=
stop_all() {
    # What the bus started for xfwm4 (its settings daemon) ends first, and is waited for: it
    # writes into the session's home, which goes next.
    if [ -n "$bus_pid" ]; then
        pkill -P "$bus_pid" 2> /dev/null || true
        until_true bash -c "! pgrep -P $bus_pid > /dev/null" || true
    fi
    kill "${running[@]}" 2> /dev/null || true
}
trap stop_all EXIT
manager=${QUOR_WINDOW_MANAGER:-openbox}
case $manager in
openbox) openbox --sm-disable > "$work/manager.log" 2>&1 & ;;
xfwm4 | mutter) # their settings come over D-Bus: a bus of its own, ended with the rest
    { read -r bus; read -r bus_pid; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
    running+=("$bus_pid")
    if [ "$manager" = xfwm4 ]; then
        DBUS_SESSION_BUS_ADDRESS=$bus NO_AT_BRIDGE=1 xfwm4 --compositor=off --sm-client-disable > "$work/manager.log" 2>&1 &
    else # GNOME's window manager in its X11 mode, compositing as on a GNOME on Xorg session
        DBUS_SESSION_BUS_ADDRESS=$bus NO_AT_BRIDGE=1 mutter --x11 --replace --sm-disable > "$work/manager.log" 2>&1 &
    fi
    ;;
*) fail "unknown window manager $manager" ;;
esac
running+=($!)
has_manager() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
until_true has_manager || { cat "$work/manager.log" >&2; fail "$manager did not start"; }

in_state() { xprop -id "$1" WM_STATE | grep -q "window state: $2"; }
near() { # window id, x, y: the window's origin is within 2 px of it
    local x y
    read -r x y < <(origin "$1")
    [ $((x - $2)) -le 2 ] && [ $((x - $2)) -ge -2 ] && [ $((y - $3)) -le 2 ] && [ $((y - $3)) -ge -2 ]
}
stacked_above() { # window a is above window b in the manager's stacking order
    local ia=-1 ib=-1 i=0 w
    for w in $(clients); do
        [ $((w)) -eq $(($1)) ] && ia=$i
        [ $((w)) -eq $(($2)) ] && ib=$i
        i=$((i + 1))
    done
    [ "$ia" -gt "$ib" ] && [ "$ib" -ge 0 ]
}

clients() { xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | cut -d'#' -f2; }
managed_window() { # pid, ids already seen -> a window of that process the manager took on
    local pid=$1 id
    shift
    for id in $(clients); do
        [ "$(xdotool getwindowpid $((id)) 2> /dev/null)" = "$pid" ] || continue
        [[ " $* " == *" $((id)) "* ]] || { echo $((id)); return 0; }
    done
    return 1
}
# No frame: extents of nothing, or (mutter) no extents and no frame window around it.
frameless() {
    local extents
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS)
    [ "$extents" = "_NET_FRAME_EXTENTS(CARDINAL) = 0, 0, 0, 0" ] && return 0
    [[ $extents == *"not found"* ]] && xwininfo -children -id "$1" | grep -q "Parent window id: .*(the root window)"
}
has_icon() { xprop -id "$1" _NET_WM_ICON | grep -q 'Icon (64 x 64)'; }
desktop_window() { # window id, program, title; the manager and Qt set some of it after mapping
    until_true frameless "$1" || fail "$2 has a frame: $(xprop -id "$1" _NET_FRAME_EXTENTS)"
    until_true has_icon "$1" || fail "$2 has no 64 px icon"
    [ "$(xdotool getwindowname "$1")" = "$3" ] || fail "$2's title is $(xdotool getwindowname "$1")"
    grep -qx "StartupWMClass=$2" "$here/../../desktop/kr.quortools.$2.desktop"
    [ "$(xprop -id "$1" WM_CLASS)" = "WM_CLASS(STRING) = \"$2\", \"$2\"" ] || fail "$2's WM_CLASS"
}
# A window busy reading its file takes the press late, and the manager's move starts from then;
# xfwm4 then follows the pointer from where it was at that moment, not from the press. So the
# pointer, held down, is nudged by a pixel until the window follows, and at the end until the
# window stands where the drag puts it.
nudged_to() { # window id, x, y it should reach, pointer x, y
    xdotool mousemove $(($4 + 1)) "$5" mousemove "$4" "$5"
    near "$1" "$2" "$3"
}
follows() { # window id, its origin before the drag, pointer x, y
    xdotool mousemove $(($3 + 1)) $(($4 + 1)) mousemove "$3" "$4" mousemove $(($3 + 1)) $(($4 + 1))
    [ "$(origin "$1")" != "$2" ]
}
# xfwm4 now and then starts no move for a press at all: as a person would, the button is let go
# and pressed again.
# What a person does when a press or click is lost: it again, a few times, then gives up.
again_until() { # tries, what failed, command...
    local tries=$1 what=$2 attempt
    shift 2
    for attempt in $(seq "$tries"); do
        [ "$attempt" -eq 1 ] || echo "again (try $attempt): $*"
        "$@" && return 0
    done
    fail "$what"
}
grabbed() { # window id, its origin before, pointer x, y: pressed, the window follows within 3 s
    xdotool mouseup 1 mousemove "$3" "$4" mousedown 1
    until_true_within 30 follows "$@"
}
dragged_by_body() { # window id, x, y of a point of its body
    local x y
    read -r x y < <(origin "$1")
    again_until 5 "the window does not follow a drag of its body" grabbed "$1" "$x $y" $((x + $2)) $((y + $3))
    for step in 1 2 3 4 5 6; do xdotool mousemove $((x + $2 + 10 * step)) $((y + $3 + 6 * step)); done
    until_true nudged_to "$1" $((x + 60)) $((y + 36)) $((x + $2 + 60)) $((y + $3 + 36)) ||
        fail "dragging the body left the window at $(origin "$1")"
    xdotool mouseup 1
}
minimised_by_click() { # window id, x, y of its minimise button: minimised within 5 s
    click "$@"
    until_true_within 50 in_state "$1" Iconic
}
# A click that comes while the manager is still ending the drag goes to the manager and is lost
# (mutter on a busy machine): as a person would, the button is clicked again.
minimised_and_back() { # window id, x, y of its minimise button, name for the picture
    again_until 3 "the minimise button did not minimise" minimised_by_click "$1" "$2" "$3"
    xdotool windowactivate "$1" # what a taskbar does
    until_true in_state "$1" Normal || fail "the window did not come back"
    painted "$1" "$shots/$4-restored.png"
}

echo "== the recorder"
"$QUOR_E2E_BIN/QuorRecorder" QuorRecorder > "$work/recorder.log" 2>&1 &
running+=($!)
recorder_pid=$!
rec=$(window '^쿠오르녹음기$' $recorder_pid)
desktop_window "$rec" QuorRecorder 쿠오르녹음기
above() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
until_true above "$rec" || fail "always on top is not asked of the manager"
dragged_by_body "$rec" 120 14
minimised_and_back "$rec" 289 14 recorder

click "$rec" 266 15 # settings
dialog=$(until_true managed_window $recorder_pid "$rec") || fail "no settings dialog"
until_true in_state "$dialog" Normal || fail "the settings dialog did not show"
read -r rx ry < <(origin "$rec")
eval "$(xdotool getwindowgeometry --shell "$dialog")"
until_true near "$dialog" $((rx + 165 - WIDTH / 2)) $((ry + 79 - HEIGHT / 2)) ||
    fail "the settings dialog is at $(origin "$dialog"), not centred on the recorder at $rx $ry"
stacked_above "$dialog" "$rec" || fail "the settings dialog is below its owner"
import -window root "$shots/settings-over-recorder.png"
xdotool windowactivate --sync "$dialog" && xdotool key Escape
until_true bash -c "! xprop -id $dialog WM_STATE 2> /dev/null | grep -q Normal" || fail "Escape left the dialog open"

echo "== another program's window comes up below the recorder"
xmessage -title another "another program" 2> /dev/null &
running+=($!)
other=$(window '^another$')
xdotool windowactivate --sync "$other"
until_true stacked_above "$rec" "$other" || fail "the recorder fell below another window"

echo "== the splitter"
ffmpeg -v error -nostdin -f lavfi -i "sine=frequency=440:duration=20" -ac 2 -b:a 128k "$work/tone.mp3"
"$QUOR_E2E_BIN/QuorSplit" "$work/tone.mp3" > "$work/splitter.log" 2>&1 &
running+=($!)
split=$(window '^쿠오르녹음기-자르개$' $!)
desktop_window "$split" QuorSplit 쿠오르녹음기-자르개
xdotool windowactivate --sync "$split"
until_true stacked_above "$split" "$rec" || fail "the splitter (also always on top) did not come up"
dragged_by_body "$split" 200 14
minimised_and_back "$split" 458 14 splitter
xdotool windowmove "$rec" 40 40 # both in sight for the picture
until_true near "$rec" 40 40 || fail "the recorder did not move to the corner"
import -window root "$shots/both-under-$manager.png"
echo "both windows behave under $manager"
