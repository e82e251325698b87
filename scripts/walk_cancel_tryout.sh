#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Stopping Encrypt All as a user would, on the real program under Xvfb with a
# window manager and the real mouse: a right-click on the folder "many" in
# the folder list (the open folder is its parent), "Encrypt All", one
# password for the session, then a walk over FILES files of 10 bytes. Takes
# SHOTS pictures of the screen 0.2 s apart mid-walk, clicks "Cancel process"
# where it sits, and checks that the walk stopped inside "many" and touched
# nothing else. Writes OUT-1.png ... and OUT-stopped.png.
# Needs xvfb-run, openbox, xdotool and xprop; builds kelvane and kelvane-grab.
#
#   scripts/walk_cancel_tryout.sh [OUT]        (default: /tmp/walk-cancel)
#   FILES=20000 SHOTS=6 scripts/walk_cancel_tryout.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out="$(realpath -m "${1:-/tmp/walk-cancel}")"
files="${FILES:-20000}"
shots="${SHOTS:-6}"

cmake --build build -j2 --target kelvane kelvane-grab >/dev/null

work="$(mktemp -d "${TMPDIR:-/tmp}/kelvane-walk.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/top/many" "$work/top/other" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
for i in $(seq -w 1 "$files"); do printf 'file %s\n' "$i" >"$work/top/many/f$i.txt"; done
echo "not to be walked" >"$work/top/other/keep.txt"
echo "nor this" >"$work/top/top.txt"

unset QT_QPA_PLATFORM
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
export PROGRAM="$root/build/bin/kelvane" GRAB="$root/build/bin/kelvane-grab"
export TOP="$work/top" OUT="$out" SHOTS="$shots" FILES="$files"

# shellcheck disable=SC2016 # expanded by the inner shell
xvfb-run -a -s "-screen 0 800x600x24" bash -c '
    set -eu
    limit=60
    fail() { echo "$*" >&2; "$GRAB" "$OUT-failed.png" || true; kill "$pid" 2>/dev/null; exit 1; }
    # Polls $1 until it holds, at most $limit seconds.
    wait_until() {
        local end=$((SECONDS + limit))
        until eval "$1"; do
            [ "$SECONDS" -lt "$end" ] || return 1
            timeout 0.05 tail -f /dev/null || true
        done
    }
    crypted() { find "$TOP/many" -name "*.cry" | wc -l; }
    openbox --sm-disable >/dev/null 2>&1 & wm=$!
    trap "kill $wm 2>/dev/null" EXIT
    wait_until "xprop -root _NET_WORKAREA 2>/dev/null | grep -q \"= \"" ||
        { echo "openbox did not start" >&2; exit 1; }
    cd "$TOP"
    "$PROGRAM" & pid=$!
    main=$(timeout "$limit" xdotool search --sync --onlyvisible --name "^Kelvane 95$" | head -n 1)
    [ -n "$main" ] || fail "no main window"
    wait_until "xprop -id $main _NET_FRAME_EXTENTS 2>/dev/null | grep -q \"= \"" ||
        fail "the window was not framed"
    xdotool windowfocus --sync "$main"

    # The folder list: the way down to the open folder, one item per level
    # from the root, 16 pixels apart from y 54, then its subfolders: "many"
    # comes right after the open folder.
    levels=$(echo "$TOP" | tr -cd / | wc -c)
    y=$((54 + 8 + 16 * (levels + 1)))
    xdotool mousemove --sync --window "$main" 60 "$y" click 3
    wait_until "[ \$(xdotool search --onlyvisible --pid $pid 2>/dev/null | wc -l) -gt 1 ]" ||
        fail "no menu after the right-click"
    "$GRAB" "$OUT-menu.png"
    xdotool key Down Down Return                       # Encrypt All
    timeout "$limit" xdotool search --sync --onlyvisible --name "^Confirmation$" >/dev/null ||
        fail "no warning before the walk"
    xdotool key Tab Tab space                          # Change password "expire" option
    prefs=$(timeout "$limit" xdotool search --sync --onlyvisible --name "^Preferences$" | head -n 1)
    [ -n "$prefs" ] || fail "no preferences"
    xdotool mousemove --sync --window "$prefs" 30 64 click 1   # One password for a session
    xdotool mousemove --sync --window "$prefs" 126 145 click 1 # Ok
    timeout "$limit" xdotool search --sync --onlyvisible --name "^Confirm$" >/dev/null ||
        fail "no recursion question"
    xdotool key Return                                 # Yes
    dialog=$(timeout "$limit" xdotool search --sync --onlyvisible --name "^Encryption procedure$" | head -n 1)
    [ -n "$dialog" ] || fail "no password dialog"
    xdotool windowfocus --sync "$dialog" type --delay 20 "s3cret!"
    xdotool key Tab type --delay 20 "s3cret!"
    xdotool key Return

    wait_until "[ \$(crypted) -ge 100 ]" || fail "the walk did not start"
    for i in $(seq 1 "$SHOTS"); do
        "$GRAB" "$OUT-$i.png"
        echo "picture $i: $(crypted) files crypted"
        timeout 0.2 tail -f /dev/null || true
    done
    # "Cancel process" beside the "Crypted files" caption.
    xdotool mousemove --sync --window "$main" 468 222 click 1
    before=$(crypted)
    timeout 1 tail -f /dev/null || true
    after=$(crypted)
    "$GRAB" "$OUT-stopped.png"
    echo "clicked at $before crypted files; one second later $after of $FILES"
    [ "$after" -lt "$FILES" ] || fail "the walk was not stopped"
    # The files written before the click are committed with their batch,
    # at most one batch of them; no file is started after it.
    [ "$after" -le $((before + 257)) ] || fail "the walk went on after the click"
    xdotool key --window "$main" alt+F4 2>/dev/null || kill "$pid"
    wait "$pid" || true
'
if [ "$(cat "$work/top/other/keep.txt")" != "not to be walked" ] ||
    [ "$(cat "$work/top/top.txt")" != "nor this" ]; then
    echo "files outside the right-clicked folder changed" >&2
    exit 1
fi
for i in $(seq -w 1 "$files"); do
    [ -e "$work/top/many/f$i.txt" ] || [ -e "$work/top/many/f$i.txt.cry" ] ||
        { echo "f$i.txt was lost" >&2; exit 1; }
done
if find "$work/top" -name '*kelvane-tmp*' | grep -q .; then
    echo "a temporary was left behind" >&2
    exit 1
fi
echo "only the right-clicked folder was walked, nothing lost; pictures in $out-*.png"
