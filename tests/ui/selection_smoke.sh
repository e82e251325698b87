#!/usr/bin/env bash
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
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
export PROGRAM="$program" SAMPLE="$work/sample"
export PICTURE="${2:+$(realpath -m "$2")}" GRAB="${3:+$(realpath "$3")}"

# Every wait is on an event (a window mapped, a file there or gone) with a
# time limit, never a fixed pause. Points are in the main window's own
# coordinates: the rows of "Available for encryption" start at y 74, those of
# "Crypted files" at y 283, 20 pixels apart.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -u
    fail() { echo "$*" >&2; kill "$pid" 2>/dev/null; exit 1; }
    wait_until() { timeout 20 bash -c "until $1; do :; done"; }
    cd "$SAMPLE"
    openbox >/dev/null 2>&1 &
    wait_until "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window" ||
        { echo "openbox did not start" >&2; exit 1; }
    "$PROGRAM" & pid=$!
    w=$(timeout 30 xdotool search --sync --onlyvisible --name "^Kelvane 95$" | head -n 1)
    [ -n "$w" ] || fail "no window named \"Kelvane 95\" appeared"
    xdotool windowfocus --sync "$w"

    # a.txt, then Shift+click on c.txt with the button held, dragged down
    # onto the crypted files.
    xdotool mousemove --sync --window "$w" 230 74 click 1
    xdotool keydown shift mousemove --sync --window "$w" 230 114 mousedown 1 keyup shift
    for y in 120 140 180 220 280 300; do xdotool mousemove --sync --window "$w" 300 "$y"; done
    xdotool mouseup 1

    d=$(timeout 20 xdotool search --sync --onlyvisible --name "^Encryption procedure$" | head -n 1)
    [ -n "$d" ] || fail "no password dialog after the drop"
    xdotool windowfocus --sync "$d" type --delay 20 "secret12"
    xdotool key Tab type --delay 20 "secret12"
    xdotool key Return
    wait_until "[ -e a.txt.cry ] && [ -e b.txt.cry ] && [ -e c.txt.cry ]" ||
        fail "the three files were not encrypted: $(ls)"
    [ -e d.txt ] && [ ! -e a.txt ] || fail "wrong files changed: $(ls)"
    echo "dropped: $(ls | tr "\n" " ")"

    # Right-click a.txt.cry; "Delete" is the menu'"'"'s last item.
    xdotool mousemove --sync --window "$w" 230 283 click 3
    wait_until "[ \$(xdotool search --onlyvisible --pid $pid 2>/dev/null | wc -l) -gt 1 ]" ||
        fail "no context menu"
    xdotool key Up Return
    c=$(timeout 20 xdotool search --sync --onlyvisible --name "^Confirmation$" | head -n 1)
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
