#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Encrypt All in the main window (offscreen, a session password, so no
# dialog) against kelvane-cli encrypting the same files named in one call,
# over FOLDERS folders of FILES files of 4 KiB each. Both delete the sources.
# Reports files per second for both and their ratio; the CLI runs once with
# one file at a time (-j 1, like the window) and once with its default jobs.
# Each runs RUNS times; the best time counts. Builds nothing.
#
#   bench/tree_run.sh [BIN_DIR]                       (default: build/bin)
#   FOLDERS=100 FILES=100 RUNS=3 bench/tree_run.sh    (the defaults)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh

# Absolute, since the command-line program runs from inside the tree.
bin="$(realpath -m "${1:-build/bin}")"
folders="${FOLDERS:-100}"
files="${FILES:-100}"
runs="${RUNS:-3}"
total=$((folders * files))
require_built "$bin" kelvane-cli kelvane_tree_time
require_gnu_time
make_work tree
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$work/original" "$XDG_CONFIG_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
for d in $(seq -w 1 "$folders"); do
    mkdir "$work/original/folder$d"
    head -c $((4096 * files)) /dev/urandom |
        split -b 4096 -d -a 5 --additional-suffix=.dat - "$work/original/folder$d/file"
done

fresh_copy() { rm -rf "$work/tree"; cp -a "$work/original" "$work/tree"; }
check_all_crypted() {
    local plain crypted
    plain="$(find "$work/tree" -type f ! -name '*.cry' | wc -l)"
    crypted="$(find "$work/tree" -type f -name '*.cry' | wc -l)"
    if [ "$plain" -ne 0 ] || [ "$crypted" -ne "$total" ]; then
        echo "$1 left $plain plain and $crypted crypted files" >&2
        exit 1
    fi
}
time_cli() {
    fresh_copy
    (cd "$work/tree" && /usr/bin/time -f '%e' -o "$work/time" \
        "$bin/kelvane-cli" encrypt "$@" -f -q -p "$work/pw" folder*/*)
    check_all_crypted kelvane-cli
    cat "$work/time"
}

cli1=() clin=() win=()
for _ in $(seq "$runs"); do
    cli1+=("$(time_cli -j 1)")
    clin+=("$(time_cli)")
    fresh_copy
    if ! t="$("$bin/kelvane_tree_time" "$work/tree" "$password" 2>"$work/log")"; then
        cat "$work/log" >&2
        echo "the window's walk failed" >&2
        exit 1
    fi
    check_all_crypted "the window"
    win+=("$t")
done

rate() { awk "BEGIN { printf \"%.0f\", $total / $1 }"; }
t_cli1="$(best "${cli1[@]}")" t_clin="$(best "${clin[@]}")" t_win="$(best "${win[@]}")"
machine_line
printf '%s files of 4 KiB in %s folders in /dev/shm, best of %s runs\n' "$total" "$folders" "$runs"
printf 'kelvane-cli encrypt -j 1   %6.2f s  %6s files/s\n' "$t_cli1" "$(rate "$t_cli1")"
printf 'kelvane-cli encrypt        %6.2f s  %6s files/s\n' "$t_clin" "$(rate "$t_clin")"
printf 'window, Encrypt All        %6.2f s  %6s files/s  %.2fx the time of -j 1, %.2fx of the default\n' \
    "$t_win" "$(rate "$t_win")" "$(awk "BEGIN { printf \"%.2f\", $t_win / $t_cli1 }")" \
    "$(awk "BEGIN { printf \"%.2f\", $t_win / $t_clin }")"
