#!/usr/bin/env bash
# Builds the Debian package from the build tree, checks its control fields, its layout against
# `cmake --install --prefix /usr` and lintian, unpacks it into a throwaway root, checks that the
# menu entries and icons sit where the desktop looks, and starts the recorder from its menu entry.
# usage: package_install.sh BUILD_DIR   (QUOR_E2E_SHOTS=DIR keeps the screenshot there)
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
fail() { echo "FAIL: $*"; exit 1; }

source "$here/../support/private_session.sh"

echo "== build the package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/quortools_*.deb)
echo "$deb"

echo "== control fields"
field() { dpkg-deb -f "$deb" "$1"; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ "$(field Package)" = quortools ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version-1" ] || fail "version $(field Version), project $version"
depends=" $(field Depends | sed 's/([^)]*)//g; s/[,|]/ /g') "
echo "Depends: $(field Depends)"
echo "Recommends: $(field Recommends)"
# Found by dpkg-shlibdeps (linked) and named by hand (run or loaded by name).
for pkg in libqt6widgets6 libqt6network6 libpulse0 libtag1v5 libmp3lame0 libmpg123-0 ffmpeg libmediainfo0v5 fonts-nanum; do
    [[ $depends == *" $pkg "* ]] || fail "Depends lacks $pkg"
done
recommends=" $(field Recommends | sed 's/,/ /g') "
[[ $recommends == *" pulseaudio | pipewire-pulse "* ]] || fail "no sound server recommended"
[[ $recommends == *" xwayland "* ]] || fail "XWayland, the programs' way on a Wayland session, is not recommended"

echo "== the package holds what cmake --install puts under /usr, nothing more or less"
DESTDIR="$work/installed" cmake --install "$build" --prefix /usr > "$work/install.log"
root="$work/root"
dpkg-deb -x "$deb" "$root"
listing() { (cd "$1" && find . -mindepth 1 \( -type l -printf '%p -> %l\n' \) -o \( ! -type d -printf '%p\n' \) | sort); }
diff <(listing "$work/installed") <(listing "$root") || fail "package and install differ"
for doc in copyright changelog.Debian.gz; do
    [ -s "$root/usr/share/doc/quortools/$doc" ] || fail "no /usr/share/doc/quortools/$doc"
done
private=$(cd "$root" && ls -d usr/lib/*/QuorRecorder)
for list_file in "$here"/../../tools/*/CMakeLists.txt; do # each tool folder builds the tool it is named after
    tool=$(basename "$(dirname "$list_file")")
    [ -x "$root/$private/$tool" ] || fail "the tool $tool is not in the package"
done
# Every library is linked directly: the one shared library of the package is the encoder library,
# which the MP3 writer loads by name.
libraries=$(cd "$root" && find . -name '*.so*' ! -type d -printf '%f\n' | sort | tr '\n' ' ')
[ "$libraries" = "liblame_enc.so " ] || fail "shared libraries in the package: $libraries"
[ "$(realpath -m "/$private/$(readlink "$root/$private/screenshot")")" = /usr/bin/ffmpeg ] ||
    fail "screenshot does not lead to /usr/bin/ffmpeg"

echo "== lintian"
lintian --fail-on error --display-info "$deb" | tee "$work/lintian.log" || fail "lintian reports errors"

echo "== menu entries and icons where the desktop looks"
export XDG_DATA_DIRS="$root/usr/share" XDG_DATA_HOME="$work/data"
for id in kr.quortools.QuorRecorder kr.quortools.QuorSplit; do
    entry="$XDG_DATA_DIRS/applications/$id.desktop"
    [ -f "$entry" ] || fail "no menu entry $entry"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ -f "$XDG_DATA_DIRS/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon"
    [ -f "$XDG_DATA_DIRS/icons/hicolor/48x48/apps/$icon.png" ] || fail "no 48x48 icon $icon"
    for png in "$XDG_DATA_DIRS"/icons/hicolor/*x*/apps/"$icon".png; do
        size=$(basename "$(dirname "$(dirname "$png")")")
        file -b "$png" | grep -q "PNG image data, ${size%x*} x ${size#*x}," || fail "$png is not $size"
    done
done

echo "== start the recorder from its menu entry"
"$root/$private/quor-reg" set 'Software\QuorRecorder' CkInfoOpen dword 1
export PATH="$root/usr/bin:$PATH" QUOR_E2E_WORK="$work" QUOR_E2E_ROOT="$root" QUOR_E2E_PRIVATE="$root/$private"
xvfb-run -a -s "-screen 0 1280x800x24" bash "$here/launch_from_menu.sh" \
    "$XDG_DATA_DIRS/applications/kr.quortools.QuorRecorder.desktop"
echo "the package installs, its entries and icons are found, and the recorder starts from the menu"
