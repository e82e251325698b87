#!/usr/bin/env bash
# Starts the real program on a virtual X display, waits for the "Kelvane 95"
# window, closes it through File > Exit and expects the program to end with
# exit code 0. Skips (77) where xvfb-run or xdotool is missing.
#   window_smoke.sh path/to/kelvane
set -euo pipefail

program=$(realpath "$1")
for tool in xvfb-run xdotool; do
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
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
export PROGRAM="$program" SAMPLE="$work/sample"

# Every wait is on an event (the window mapped, the process gone) with a
# time limit, never a fixed pause.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -u
    cd "$SAMPLE"
    "$PROGRAM" & pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name "^Kelvane 95$" | head -n 1)
    if [ -z "$window" ]; then
        echo "no window named \"Kelvane 95\" appeared" >&2
        kill "$pid" 2>/dev/null
        exit 1
    fi
    echo "found window $window: $(xdotool getwindowname "$window")"
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
