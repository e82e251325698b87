#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The main window's encryption of one file (EncryptOneFile, on the offscreen
# platform) against kelvane-cli encrypting the same file, in one run. Both
# delete the source afterwards, as the window always does. Each runs RUNS
# times in turn; the best time counts, with the range beside it.
# Builds nothing.
#
#   bench/window_run.sh [BIN_DIR]              (default: build/bin)
#   SIZE_MIB=256 RUNS=5 bench/window_run.sh    (defaults: 1024 and 3)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh

bin="${1:-build/bin}"
size_mib="${SIZE_MIB:-1024}"
runs="${RUNS:-3}"
require_built "$bin" kelvane-cli kelvane_window_time
require_gnu_time
make_work window
# The window's preferences go to a registry of this run's own.
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$work/files" "$XDG_CONFIG_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
head -c "$((size_mib << 20))" /dev/urandom >"$work/original"

fresh_copy() { rm -f "$work/files/"*; cp "$work/original" "$work/files/data.bin"; }

cli=() win=()
for _ in $(seq "$runs"); do
    fresh_copy
    /usr/bin/time -f '%e' -o "$work/time" \
        "$bin/kelvane-cli" encrypt -f -q -p "$work/pw" "$work/files/data.bin"
    cli+=("$(cat "$work/time")")
    fresh_copy
    if ! t="$("$bin/kelvane_window_time" "$work/files/data.bin" "$password" 2>"$work/log")" ||
        [ -e "$work/files/data.bin" ] || [ ! -s "$work/files/data.bin.cry" ]; then
        cat "$work/log" >&2
        echo "the window's run failed" >&2
        exit 1
    fi
    win+=("$t")
done

t_cli="$(best "${cli[@]}")" t_win="$(best "${win[@]}")"
machine_line
printf '%s MiB in /dev/shm, best of %s runs (range)\n' "$size_mib" "$runs"
printf 'kelvane-cli encrypt        %6.2f s (%s-%s)\n' "$t_cli" "$t_cli" "$(worst "${cli[@]}")"
printf 'window, EncryptOneFile     %6.2f s (%s-%s)  %.2fx the CLI\n' \
    "$t_win" "$t_win" "$(worst "${win[@]}")" "$(awk "BEGIN { printf \"%.2f\", $t_win / $t_cli }")"
