# Sourced first by an end-to-end script that runs whole inside a private X server: called with
# BUILD_DIR, it starts the private sound server and settings (private_session.sh) and runs the
# script again under xvfb-run, then exits with its status; inside, it sets up the X side
# (in_x_server.sh) and returns.
if [ -z "${QUOR_E2E_WORK:-}" ]; then
    build=$(cd "$1" && pwd)
    source "$here/../support/private_session.sh"
    export QUOR_E2E_WORK="$work" QUOR_E2E_BIN="$build/bin"
    # -noreset: Xvfb otherwise resets when its last client leaves (the accessibility bus's launcher
    # reads a property and goes), and a program that connects meanwhile is refused.
    xvfb-run -a -s "-screen 0 1280x800x24 -noreset" bash "$0"
    exit
fi
source "$here/in_x_server.sh"
