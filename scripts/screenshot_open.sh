#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes docs/images/open-in-editor.png: a crypted text file opened from the
# "Crypted files" context menu is shown decrypted in the desktop's text
# editor (Mousepad) while Kelvane 95 watches it; closing the editor encrypts
# it again, which the script checks. Needs Xvfb, openbox, xdotool and
# mousepad; run it as an ordinary user (the editor warns root users).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
for tool in Xvfb openbox xdotool mousepad; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 2; }
done
build="${BUILD_DIR:-$root/build}"
out="${OUT:-$root/docs/images/open-in-editor.png}"
{ [ -x "$build/bin/kelvane" ] && [ -x "$build/bin/kelvane-grab" ]; } || { echo "build first" >&2; exit 2; }

# A fixed place, so the folder list in the picture is the same every time.
work="${TMPDIR:-/tmp}/kelvane-open"
rm -rf "$work"
cleanup() {
    kill "${pids[@]}" 2>/dev/null || true
    rm -rf "$work"
}
pids=()
trap cleanup EXIT
# xdotool's own --sync search gives up on a window that closes while it looks.
find_window() {
    local found
    for _ in $(seq 1 300); do
        found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.1
    done
    echo "no window named $1" >&2
    cat "$work/kelvane.log" >&2
    return 1
}
mkdir -p "$work/Documents" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
printf 'secret1\n' >"$work/pw"
printf 'Meeting notes, 8 December\n\n- bank: call about the loan\n- landlord: deposit back by Friday\n- keep the account numbers in crypted files only\n' \
    >"$work/Documents/notes.txt"
head -c 52736 /dev/urandom >"$work/Documents/budget-2026.xls"
"$build/bin/kelvane-cli" encrypt -q -p "$work/pw" "$work/Documents/notes.txt"
printf '[Default Applications]\ntext/plain=org.xfce.mousepad.desktop\n' >"$work/config/mimeapps.list"

unset QT_QPA_PLATFORM
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
# A display number no other server uses: Xvfb picks it and tells us.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1100x560x24 >/dev/null 2>&1 & pids+=($!)
exec 3>&-
timeout 20 bash -c "until [ -s '$work/display' ]; do sleep 0.1; done"
DISPLAY=":$(cat "$work/display")"
export DISPLAY
openbox >/dev/null 2>&1 & pids+=($!)
cd "$work/Documents"
"$build/bin/kelvane" >"$work/kelvane.log" 2>&1 & kelvane=$!
pids+=("$kelvane")

window=$(find_window "^Kelvane 95$")
xdotool windowmove --sync "$window" 10 30
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
# The crypted grid's first row, then "Open" from its context menu.
xdotool mousemove $((X + 250)) $((Y + 290)) click 1 sleep 0.3 click 3 sleep 0.5
xdotool key Down Return
dialog=$(find_window "^Decryption procedure$")
xdotool windowfocus --sync "$dialog"
xdotool type secret1
xdotool key Return
editor=$(find_window "notes.txt - Mousepad$")
xdotool windowsize --sync "$editor" 520 300
xdotool windowmove --sync "$editor" 570 120
sleep 1
"$build/bin/kelvane-grab" "$out" 0 0 1100 560

# Closing the editor ends the watch: the file is encrypted again.
xdotool windowfocus --sync "$editor"
xdotool key ctrl+q
dialog=$(find_window "^Encryption procedure$")
xdotool windowfocus --sync "$dialog"
xdotool type secret1
xdotool key Tab
xdotool type secret1
xdotool key Return
timeout 30 bash -c 'until [ -f notes.txt.cry ] && [ ! -e notes.txt ]; do sleep 0.2; done' ||
    { echo "the file was not encrypted again" >&2; exit 1; }
echo "wrote $out; notes.txt was encrypted again after the editor closed"
