#!/usr/bin/env bash
# The menu entries start the installed launchers, carry their icons, and the splitter opens MP3s.
set -euo pipefail
dir=$1
fail() { echo "FAIL: $*"; exit 1; }
rec=$dir/kr.quortools.QuorRecorder.desktop
split=$dir/kr.quortools.QuorSplit.desktop
grep -qx 'Exec=quorrecorder' "$rec" || fail "recorder Exec"
grep -qx 'Icon=kr.quortools.QuorRecorder' "$rec" || fail "recorder icon"
grep -qx 'Exec=quorsplit %f' "$split" || fail "splitter Exec"
grep -qx 'MimeType=audio/mpeg;' "$split" || fail "splitter MimeType"
grep -qx 'Icon=kr.quortools.QuorSplit' "$split" || fail "splitter icon"
for entry in "$rec" "$split"; do
    grep -qx 'Type=Application' "$entry" || fail "$entry type"
    [ -f "$dir/$(sed -n 's/^Icon=//p' "$entry").svg" ] || fail "$entry icon file"
done
grep -q 'QuorRecorder" QuorRecorder' "$dir/quorrecorder.in" || fail "the recorder launcher passes its argument"
# Docks match a window to its entry by WM_CLASS, whose class is the program's name.
grep -qx 'StartupWMClass=QuorRecorder' "$rec" || fail "recorder StartupWMClass"
grep -qx 'StartupWMClass=QuorSplit' "$split" || fail "splitter StartupWMClass"
echo "menu entries check out"
