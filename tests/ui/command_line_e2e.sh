#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The command-line actions of the real program, end to end. Without a
# dialog to answer, on the offscreen platform: three parameters and an
# unknown switch end at once and leave the file alone. With the password
# dialog answered by xdotool on a virtual X display: "/DECRYPT dir/a.txt.cry"
# in mixed case, one path to a plain file, a name that is not UTF-8, and a
# bare file name. Skips (77)
# where xvfb-run or xdotool is missing.
#   command_line_e2e.sh path/to/kelvane path/to/kelvane-cli
set -euo pipefail

program=$(realpath "$1")
cli=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config" "$work/runtime" "$work/files/dir"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" XDG_STATE_HOME="$work/state"
cd "$work/files"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

printf 'secret1\n' >"$work/pw"
printf 'alpha text\n' >dir/a.txt
"$cli" encrypt -q -p "$work/pw" dir/a.txt >/dev/null || fail "kelvane-cli could not encrypt"
[ -f dir/a.txt.cry ] || fail "no crypted file to start from"
crypted_sum=$(md5sum <dir/a.txt.cry)

# Ends by itself within the time limit, exit code 0.
run_offscreen() {
    QT_QPA_PLATFORM=offscreen timeout 30 "$program" "$@" || fail "kelvane $* did not end cleanly ($?)"
}
run_offscreen /open dir/a.txt.cry extra
run_offscreen /shred dir/a.txt.cry
[ "$(md5sum <dir/a.txt.cry)" = "$crypted_sum" ] || fail "a no-op changed the crypted file"
echo "three parameters and an unknown switch: nothing done, program ended"

for tool in xvfb-run xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "dialog cases skipped: $tool is not installed"
        exit 77
    fi
done
printf 'plain letter\n' >dir/letter.txt
printf 'bare\n' >todo.txt
# The name is the bytes the system passes, whatever their encoding.
latin1=$(printf 'dir/caf\351.txt')
printf 'latin-1 name\n' >"$latin1"
export LATIN1="$PWD/$latin1"

unset QT_QPA_PLATFORM
export PROGRAM="$program"
# Every wait is on an event (a window mapped, the process gone) with a time
# limit, never a fixed pause.
# The inner script expands its own variables, on the display xvfb-run opened.
# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -u
    # A search may meet a window that closes while it looks and give up:
    # look again.
    find_window() {
        local found=""
        for _ in 1 2 3 4 5; do
            found=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1)
            [ -n "$found" ] && break
        done
        echo "$found"
    }
    # Runs the program with the given parameters, types the password into
    # the dialog with the given title (twice for an encryption) and waits
    # for the program to end.
    answer() {
        local title=$1 twice=$2; shift 2
        "$PROGRAM" "$@" & local pid=$!
        local dialog
        dialog=$(find_window "^$title\$" | head -n 1)
        [ -n "$dialog" ] || { echo "no \"$title\" dialog for $*" >&2; kill $pid; return 1; }
        xdotool windowfocus --sync "$dialog"
        xdotool type "secret1"
        if [ "$twice" = yes ]; then
            xdotool key Tab
            xdotool type "secret1"
        fi
        xdotool key Return
        timeout 30 tail --pid=$pid -f /dev/null || { echo "kelvane $* did not end" >&2; kill $pid; return 1; }
        wait $pid
    }
    answer "Decryption procedure" no /DeCrYpT dir/a.txt.cry || exit 1
    answer "Encryption procedure" yes "$PWD/dir/letter.txt" || exit 1
    answer "Encryption procedure" yes todo.txt || exit 1
    answer "Encryption procedure" yes "$LATIN1" || exit 1
'
[ "$(cat dir/a.txt)" = "alpha text" ] || fail "/DeCrYpT did not give the plain file back"
[ ! -e dir/a.txt.cry ] || fail "/DeCrYpT left the crypted file"
{ [ -f dir/letter.txt.cry ] && [ ! -e dir/letter.txt ]; } || fail "one path did not encrypt the file"
{ [ -f todo.txt.cry ] && [ ! -e todo.txt ]; } || fail "a bare name did not encrypt the file in the current folder"
"$cli" decrypt -q -p "$work/pw" dir/letter.txt.cry >/dev/null || fail "the encrypted letter does not decrypt"
[ "$(cat dir/letter.txt)" = "plain letter" ] || fail "the letter came back different"
{ [ -f "$latin1.cry" ] && [ ! -e "$latin1" ]; } || fail "a name that is not UTF-8 was not encrypted"
echo "decrypt in mixed case, one path, a name that is not UTF-8 and a bare name: done through the dialogs"
