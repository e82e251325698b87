#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program on a virtual X display with a window manager,
# waits for the "Kelvane 95" window, checks its class hint and icon, its
# first size and that the window manager keeps it above its minimum size,
# closes it through File > Exit and expects the program to end with exit
# code 0. Skips (77) where xvfb-run, xdotool, xprop or openbox is missing.
#   window_smoke.sh path/to/kelvane
set -euo pipefail

program=$(realpath "$1")
for tool in xvfb-run xdotool xprop openbox; do
    if ! command -v "$tool" >/dev/null; then
        echo "window smoke test skipped: $tool is not installed"
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/sample/Letters" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
echo "some text" >"$work/sample/notes.txt"

# The test environment asks for the offscreen platform; this test wants X.
unset QT_QPA_PLATFORM
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" XDG_STATE_HOME="$work/state"
export PROGRAM="$program" SAMPLE="$work/sample"

# Every wait is on an event (the window mapped, the process gone) with a
# time limit, never a fixed pause. Exits 75 when the virtual display could
# not be opened: xvfb-run -a can hand out a display number whose server is
# still going away.
run_on_display() {
# The script in single quotes is expanded by the shell on the display.
# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -u
    cd "$SAMPLE"
    openbox --sm-disable >/dev/null 2>&1 & wm=$!
    trap "kill $wm 2>/dev/null" EXIT
    # Openbox publishes the work area last, once it manages new windows; a
    # window mapped before that can stay unmapped for good.
    for _ in $(seq 1 600); do
        xprop -root _NET_WORKAREA 2>/dev/null | grep -q "= " && break
        timeout 0.1 tail --pid="$wm" -f /dev/null
    done
    kill -0 "$wm" 2>/dev/null || { echo "openbox could not open the display" >&2; exit 75; }
    "$PROGRAM" & pid=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --name "^Kelvane 95$" | head -n 1)
    if [ -z "$window" ]; then
        echo "no window named \"Kelvane 95\" appeared" >&2
        kill "$pid" 2>/dev/null
        exit 1
    fi
    echo "found window $window: $(xdotool getwindowname "$window")"

    # A taskbar matches the window to its desktop entry by the class hint
    # (StartupWMClass=kelvane) and shows the icon the window carries.
    class=$(xprop -id "$window" WM_CLASS)
    icons=$(xprop -id "$window" _NET_WM_ICON | grep -o "Icon ([0-9]* x [0-9]*)" | tr "\n" " ")
    echo "$class; $icons"
    if [ "$class" != "WM_CLASS(STRING) = \"kelvane\", \"Kelvane 95\"" ] ||
        [[ "$icons" != *"Icon (16 x 16)"*"Icon (48 x 48)"* ]]; then
        echo "the window lacks its class hint or its icon" >&2
        kill "$pid"
        exit 1
    fi

    # The size with the frame: the client size plus the frame the window
    # manager drew around it (left, right, top, bottom).
    frame_extents() {
        xprop -id "$window" _NET_FRAME_EXTENTS | sed "s/.*= //; s/,//g"
    }
    outer_size() {
        eval "$(xdotool getwindowgeometry --shell "$window")"
        set -- $(frame_extents)
        echo "$((WIDTH + $1 + $2))x$((HEIGHT + $3 + $4))"
    }
    # Waits until the outer size reads $1 (the window manager answers
    # requests in its own time), or fails after a while.
    expect_outer() {
        for _ in $(seq 1 1200); do
            [ "$(outer_size)" = "$1" ] && return 0
            timeout 0.05 tail --pid="$pid" -f /dev/null
        done
        echo "outer size $(outer_size), expected $1" >&2
        kill "$pid"
        exit 1
    }
    expect_outer 533x492
    echo "first outer size: $(outer_size)"
    # What the window manager holds a drag above: 420 by 420 with the frame.
    set -- $(frame_extents)
    minimum="minimum size: $((420 - $1 - $2)) by $((420 - $3 - $4))"
    if ! xprop -id "$window" WM_NORMAL_HINTS | grep -q "$minimum"; then
        echo "the window does not publish its $minimum:" >&2
        xprop -id "$window" WM_NORMAL_HINTS >&2
        kill "$pid"
        exit 1
    fi
    echo "published $minimum"
    # Shrunk far below its minimum through the window manager, as a drag
    # would, the window stays at 420 by 420 with its frame.
    xdotool windowsize "$window" 200 150
    expect_outer 420x420
    echo "outer size after shrinking: $(outer_size)"
    # File > Exit from the keyboard: Alt+F opens the menu, which takes the x.
    xdotool windowfocus --sync "$window"
    xdotool key alt+f x
    if ! timeout 30 tail --pid="$pid" -f /dev/null; then
        echo "the program did not end after File > Exit" >&2
        kill "$pid"
        exit 1
    fi
    wait "$pid"; status=$?
    echo "program ended with exit code $status"
    exit "$status"
'
}

for _ in 1 2 3; do
    status=0
    run_on_display || status=$?
    [ "$status" -eq 75 ] || exit "$status"
done
exit 1
