#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The cost of one small run: kelvane-cli encrypting one 100-byte file
# against ccrypt doing the same, each deleting its source, in turns, RUNS
# times each. What counts is what the start and the end of a program cost,
# so the file is made anew before each run and only the run is timed; the
# median and the best are given, and the same for /bin/true, the cost of
# starting any program at all. Builds nothing.
#
#   bench/start_up.sh [BIN_DIR]      (default: build/bin)
#   RUNS=500 bench/start_up.sh       (default: 300)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh

bin="$(realpath -m "${1:-build/bin}")"
runs="${RUNS:-300}"
require_built "$bin" kelvane-cli
command -v ccrypt >/dev/null || { echo "ccrypt is missing (apt-get install ccrypt)" >&2; exit 2; }
make_work start
cd "$work"
head -c 100 /dev/urandom >source

# timed NAME COMMAND... : runs COMMAND on a fresh copy of the file and adds
# its wall time in microseconds to the file NAME.
timed() {
    local name="$1" start end
    shift
    rm -f file file.cry file.cpt
    cp source file
    start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 || { echo "$name failed" >&2; exit 1; }
    end=$EPOCHREALTIME
    awk "BEGIN { printf \"%d\\n\", ($end - $start) * 1000000 }" >>"$name"
}

others_start
for _ in $(seq "$runs"); do
    timed kelvane "$bin/kelvane-cli" encrypt -q -p pw file
    timed ccrypt ccrypt -e -f -k pw file
    timed true /bin/true
done
others="$(others_seconds)"

median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
least() { sort -n "$1" | head -1; }
machine_line
printf 'one 100-byte file in /dev/shm, %s runs each in turns; other programs took %s s of CPU\n' \
    "$runs" "$others"
for name in kelvane ccrypt true; do
    printf '%-8s median %5d us  best %5d us\n' "$name" "$(median "$name")" "$(least "$name")"
done
awk -v k="$(median kelvane)" -v c="$(median ccrypt)" -v t="$(median true)" 'BEGIN {
    printf "kelvane-cli / ccrypt: %.2fx (net of starting a program: %.2fx)\n", k / c, (k - t) / (c - t) }'
