# Sourced by the end-to-end scripts that run inside the private X server: the work and screenshot
# folders, Qt on X, and a wait for a window.
work=$QUOR_E2E_WORK
shots=${QUOR_E2E_SHOTS:-$work/shots}
mkdir -p "$shots"
export QT_QPA_PLATFORM=xcb

# Every wait below is on a condition, bounded so a broken run fails instead of hanging.
window() { # title regex [pid] -> the id of a visible window of that title (of that process), up to 20 s
    local id
    id=$(timeout 20 xdotool search --sync --onlyvisible ${2:+--pid "$2"} --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] || { echo "no window '$1'" >&2; return 1; }
    echo "$id"
}

new_window() { # pid, ids already seen -> a visible window of that process not among them, up to 20 s
    local pid=$1 id
    shift
    for _ in $(seq 200); do
        for id in $(xdotool search --onlyvisible --pid "$pid" '' 2>/dev/null); do
            [[ " $* " == *" $id "* ]] || { echo "$id"; return; }
        done
        sleep 0.1
    done
    echo "no new window of process $pid" >&2
    return 1
}

painted() { # window id, picture file: waits up to 10 s until the window shows more than a plain background
    local colours=0
    for _ in $(seq 100); do
        import -window "$1" "$2"
        colours=$(convert "$2" -format '%k' info:)
        [ "$colours" -gt 50 ] && return
        sleep 0.1
    done
    echo "the window stays blank ($colours colours)" >&2
    return 1
}

origin() { # window id -> "X Y"
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$X $Y"
}

click() { # window id, x, y in the window
    read -r ox oy < <(origin "$1")
    xdotool mousemove $((ox + $2)) $((oy + $3)) click 1
}
