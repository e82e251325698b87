#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The start of the real program, kelvane, on the offscreen platform: from its
# exec to the first showing of the window with both file grids drawn, in a
# folder of N files (half plain, half crypted) and in an empty one, with the
# peak resident memory of each run. KELVANE_QUIT_WHEN_SHOWN makes the program
# end right after that first showing, so no run waits on a clock. Each folder
# is started RUNS times in turn; the best counts, the median beside it.
# Builds nothing.
#
#   bench/window_start.sh [BIN_DIR]               (default: build/bin)
#   FILES=10000 RUNS=9 bench/window_start.sh      (defaults: 100000 and 7)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh

bin="${1:-build/bin}"
files="${FILES:-100000}"
runs="${RUNS:-7}"
require_built "$bin" kelvane
require_gnu_time
make_work start
# Preferences, the journal of decrypted files and Qt's runtime files go to
# folders of this run's own.
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/runtime"
export QT_QPA_PLATFORM=offscreen KELVANE_QUIT_WHEN_SHOWN=1
mkdir -p "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" "$work/empty" "$work/many"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# A crypted file need not be a valid one to be listed: the names decide.
(cd "$work/many" &&
    seq -f 'document-%06g' 0 2 "$((files - 1))" | sed 's/$/.txt/' | xargs touch &&
    seq -f 'document-%06g' 1 2 "$((files - 1))" | sed 's/$/.txt.cry/' | xargs touch)
[ "$(find "$work/many" -type f | wc -l)" -eq "$files" ] || { echo "the folder was not made" >&2; exit 1; }
program="$(cd "$bin" && pwd)/kelvane"

# start FOLDER : one start in FOLDER; prints the seconds and the peak KiB.
start() {
    local t0 t1
    t0=$EPOCHREALTIME
    if ! (cd "$1" && timeout 60 /usr/bin/time -f '%M' -o "$work/rss" "$program" 2>"$work/log"); then
        cat "$work/log" >&2
        echo "the window's start failed" >&2
        exit 1
    fi
    t1=$EPOCHREALTIME
    printf '%s %s\n' "$(awk "BEGIN { printf \"%.3f\", $t1 - $t0 }")" "$(tail -1 "$work/rss")"
}

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

declare -A seconds kib
for _ in $(seq "$runs"); do
    for folder in empty many; do
        read -r t m < <(start "$work/$folder")
        seconds[$folder]+="$t "
        kib[$folder]+="$m "
    done
done

machine_line
printf 'kelvane from exec to the first shown, filled window (offscreen), best of %s runs (median)\n' "$runs"
for folder in empty many; do
    # shellcheck disable=SC2086 # the lists are words on purpose
    read -r t_best t_median m_best m_median < <(echo "$(best ${seconds[$folder]}) $(median ${seconds[$folder]})" \
        "$(best ${kib[$folder]}) $(median ${kib[$folder]})")
    label="empty folder"
    [ "$folder" = many ] && label="$files files"
    printf '%-14s %6.3f s (%.3f)   peak RSS %6.1f MiB (%.1f)\n' "$label" "$t_best" "$t_median" \
        "$(awk "BEGIN { print $m_best / 1024 }")" "$(awk "BEGIN { print $m_median / 1024 }")"
done
