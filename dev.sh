#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   ./dev.sh run    install what is missing, build, start QuorRecorder
#   ./dev.sh build  install what is missing, build
#   ./dev.sh test   install what is missing, build, run every test
# Knobs: QUOR_BUILD_DIR (build/), QUOR_JOBS (2), QUOR_CMAKE_ARGS, QUOR_CTEST_ARGS; CI=true adds
# -DQUOR_WERROR=ON.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${QUOR_BUILD_DIR:-$here/build}

install_missing() {
    local wanted missing=()
    wanted=$(grep -v '^#' "$here/scripts/debian-packages.txt" | grep -v '^$')
    for pkg in $wanted; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages: ${missing[*]}" >&2
        echo "Run as root (sudo $0 $*) or install them with: sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() {
    local extra=()
    [ "${CI:-}" = "true" ] && extra+=(-DQUOR_WERROR=ON)
    cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" ${QUOR_CMAKE_ARGS:-}
    cmake --build "$build" -j"${QUOR_JOBS:-2}"
}

case "${1:-}" in
run)
    install_missing
    configure_and_build
    exec "$build/bin/QuorRecorder" QuorRecorder
    ;;
build)
    install_missing
    configure_and_build
    ;;
test)
    install_missing
    configure_and_build
    cd "$build"
    exec ctest --output-on-failure -j"${QUOR_JOBS:-2}" --timeout 600 ${QUOR_CTEST_ARGS:-}
    ;;
*)
    echo "usage: $0 run|build|test" >&2
    exit 2
    ;;
esac
