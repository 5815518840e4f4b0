# Sourced by the end-to-end scripts that run inside the private X server: the work and screenshot
# folders, Qt on X, and a wait for a window.
work=$QUOR_E2E_WORK
shots=${QUOR_E2E_SHOTS:-$work/shots}
mkdir -p "$shots"
export QT_QPA_PLATFORM=xcb

window() { # title regex -> window id, waiting up to 20 s
    for _ in $(seq 200); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ] && { echo "$id"; return; }
        sleep 0.1
    done
    echo "no window '$1'" >&2
    return 1
}
