# Sourced by the end-to-end scripts that run inside the private X server: the work and screenshot
# folders, Qt on X, and a wait for a window.
work=$QUOR_E2E_WORK
shots=${QUOR_E2E_SHOTS:-$work/shots}
mkdir -p "$shots"
export QT_QPA_PLATFORM=xcb

# Every wait is on a condition, bounded so a broken run fails instead of hanging.
until_true() { # command...: run every 0.1 s until it succeeds (its output is passed on), up to 20 s
    until_true_within 200 "$@"
}
until_true_within() { # tries, command...: as until_true, giving up after that many tries
    local tries=$1
    shift
    for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done # the poll interval
    return 1
}

# xdotool's search dies on a window that goes while it looks (a tooltip): it is simply asked again.
visible_window() { # title regex [pid] -> the first visible window of that title (of that process)
    local id
    id=$(xdotool search --onlyvisible ${2:+--pid "$2"} --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && echo "$id"
}
window() { # title regex [pid] -> the id of a visible window of that title (of that process)
    until_true visible_window "$@" || { echo "no window '$1'" >&2; return 1; }
}

unseen_window() { # pid, ids already seen -> a visible window of that process not among them
    local pid=$1 id
    shift
    for id in $(xdotool search --onlyvisible --pid "$pid" '' 2>/dev/null); do
        [[ " $* " == *" $id "* ]] || { echo "$id"; return 0; }
    done
    return 1
}
new_window() { # pid, ids already seen -> a visible window of that process not among them
    until_true unseen_window "$@" || { echo "no new window of process $1" >&2; return 1; }
}

shows_more_than_a_background() { # window id, picture file
    import -window "$1" "$2" && [ "$(convert "$2" -format '%k' info:)" -gt 50 ]
}
painted() { # window id, picture file: waits until the window shows more than a plain background
    until_true shows_more_than_a_background "$@" || { echo "the window stays blank" >&2; return 1; }
}

origin() { # window id -> "X Y"
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$X $Y"
}

click() { # window id, x, y in the window
    read -r ox oy < <(origin "$1")
    xdotool mousemove $((ox + $2)) $((oy + $3)) click 1
}
