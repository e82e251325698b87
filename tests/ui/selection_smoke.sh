#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A new user's first minutes, on a virtual X display with a window manager:
# picks three files with a click and a Shift+click, drags them onto "Crypted
# files", types the password once, then right-clicks the first crypted file,
# picks "Delete" and confirms. Expects the three crypted files, then one
# fewer. Skips (77) where xvfb-run, xdotool, xprop or openbox is missing.
#   selection_smoke.sh path/to/kelvane [DIALOG_PICTURE.png path/to/kelvane-grab]
set -euo pipefail

program=$(realpath "$1")
for tool in xvfb-run xdotool xprop openbox; do
    if ! command -v "$tool" >/dev/null; then
        echo "selection smoke test skipped: $tool is not installed"
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/sample" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
for name in a b c d; do echo "text of $name" >"$work/sample/$name.txt"; done

unset QT_QPA_PLATFORM
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" XDG_STATE_HOME="$work/state"
export PROGRAM="$program" SAMPLE="$work/sample"
export PICTURE="${2:+$(realpath -m "$2")}" GRAB="${3:+$(realpath "$3")}"

# Every wait is on an event (a window mapped, a file there or gone) with a
# generous time limit, never a fixed pause: the machine may be loaded.
# Points are in the main window's own coordinates. The rows of both grids are
# 20 pixels apart under a heading 22 high; the menu bar above takes 18. The
# plain files' grid starts 24 below the menu bar, so its first row is at
# y 74 whatever the window's size. The crypted files' grid shares with it the
# height the folder list leaves above the status panel, so its first row
# follows the window's height.
# Exits 75 when the virtual display could not be opened: xvfb-run -a can hand
# out a display number whose server is still going away.
run_on_display() {
# The inner script expands its own variables, on the display xvfb-run opened.
# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -u
    limit=60 menu=18 row=20 heading=22
    fail() { echo "$*" >&2; kill "$pid" 2>/dev/null; exit 1; }
    # Polls $1 until it holds; a finished program ends the wait at once.
    wait_until() {
        local end=$((SECONDS + limit))
        until eval "$1"; do
            [ "$SECONDS" -lt "$end" ] || return 1
            if [ -n "${pid:-}" ]; then
                kill -0 "$pid" 2>/dev/null || return 1
                timeout 0.1 tail --pid="$pid" -f /dev/null
            else
                timeout 0.1 tail -f /dev/null
            fi
        done
        return 0
    }
    outer_size() {
        local extents
        extents=$(xprop -id "$w" _NET_FRAME_EXTENTS 2>/dev/null | sed -n "s/.*= //; s/,//gp")
        [ -n "$extents" ] || return 0
        eval "$(xdotool getwindowgeometry --shell "$w")"
        set -- $extents
        echo "$((WIDTH + $1 + $2))x$((HEIGHT + $3 + $4))"
    }
    # Centre of the first row of the crypted files: the list between the
    # menu bar and the status panel (49 high, 10 above the bottom) runs from
    # y 28, less 8; the plain grid takes half of it less 32, and the crypted
    # grid starts 32 below that.
    first_crypted_row() {
        eval "$(xdotool getwindowgeometry --shell "$w")"
        local list=$((HEIGHT - menu - 49 - 10 - 28 - 8))
        echo $((menu + 28 + (list - 32) / 2 + 32 + heading + row / 2))
    }
    cd "$SAMPLE"
    openbox --sm-disable >/dev/null 2>&1 & wm=$!
    trap "kill $wm 2>/dev/null" EXIT
    # Openbox publishes the work area last, once it manages new windows; a
    # window mapped before that can stay unmapped for good.
    wait_until "! kill -0 $wm 2>/dev/null || xprop -root _NET_WORKAREA 2>/dev/null | grep -q \"= \"" ||
        { echo "openbox did not start" >&2; exit 1; }
    kill -0 "$wm" 2>/dev/null || { echo "openbox could not open the display" >&2; exit 75; }
    "$PROGRAM" & pid=$!
    w=$(timeout "$limit" xdotool search --sync --onlyvisible --name "^Kelvane 95$" | head -n 1)
    [ -n "$w" ] || fail "no window named \"Kelvane 95\" appeared"
    # The window takes its first size once the window manager has framed it;
    # a click before that could land on a control that is still moving.
    wait_until "[ \"\$(outer_size)\" = 533x492 ]" ||
        fail "the window did not take its first size: $(outer_size)"
    xdotool windowfocus --sync "$w"

    # a.txt, then Shift+click on c.txt with the button held, dragged down
    # onto the crypted files.
    first=$((menu + 24 + heading + row / 2))
    xdotool mousemove --sync --window "$w" 230 "$first" click 1
    xdotool keydown shift mousemove --sync --window "$w" 230 $((first + 2 * row)) mousedown 1 keyup shift
    for y in 120 140 180 220 280 300; do xdotool mousemove --sync --window "$w" 300 "$y"; done
    xdotool mouseup 1

    d=$(timeout "$limit" xdotool search --sync --onlyvisible --name "^Encryption procedure$" | head -n 1)
    [ -n "$d" ] || fail "no password dialog after the drop"
    xdotool windowfocus --sync "$d" type --delay 20 "secret12"
    xdotool key Tab type --delay 20 "secret12"
    xdotool key Return
    wait_until "[ -e a.txt.cry ] && [ -e b.txt.cry ] && [ -e c.txt.cry ]" ||
        fail "the three files were not encrypted: $(ls)"
    [ -e d.txt ] && [ ! -e a.txt ] || fail "wrong files changed: $(ls)"
    echo "dropped: $(ls | tr "\n" " ")"

    # Right-click a.txt.cry; "Delete" comes just before the menu'"'"'s last
    # item, "Convert to age…".
    xdotool mousemove --sync --window "$w" 230 "$(first_crypted_row)" click 3
    wait_until "[ \$(xdotool search --onlyvisible --pid $pid 2>/dev/null | wc -l) -gt 1 ]" ||
        fail "no context menu"
    xdotool key Up Up Return
    c=$(timeout "$limit" xdotool search --sync --onlyvisible --name "^Confirmation$" | head -n 1)
    [ -n "$c" ] || fail "no \"Confirmation\" before the deletion"
    [ -e a.txt.cry ] || fail "deleted before the answer"
    if [ -n "$PICTURE" ]; then
        eval "$(xdotool getwindowgeometry --shell "$c")"
        # The frame and its title bar, which the reported origin leaves out.
        "$GRAB" "$PICTURE" $((X - 1)) $((Y - 41)) $((WIDTH + 2)) $((HEIGHT + 23))
    fi
    # "&Ok" has the focus: Enter confirms.
    xdotool windowfocus --sync "$c" key Return
    wait_until "[ ! -e a.txt.cry ]" || fail "a.txt.cry was not deleted"
    [ -e b.txt.cry ] && [ -e c.txt.cry ] || fail "more than one file went: $(ls)"
    echo "deleted: now $(ls | tr "\n" " ")"
    kill "$pid"
    wait "$pid" 2>/dev/null
    exit 0
'
}

for _ in 1 2 3; do
    status=0
    run_on_display || status=$?
    [ "$status" -eq 75 ] || exit "$status"
done
exit 1
