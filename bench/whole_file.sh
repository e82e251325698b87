#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Whole files through kelvane-cli against the checksum alone over the same
# bytes in memory (the serial floor of one file), and against OpenSSL's
# DES-ECB, all in one run; also the peak resident memory of each run.
# Builds nothing.
#
# Each of the checksum, encrypt and decrypt runs RUNS times, in turn, and
# the best time counts, with the range beside it: on a virtual machine the
# first write into memory the host has taken back costs several times more
# than the copy itself, and that varies from run to run.
#
#   bench/whole_file.sh [BIN_DIR]       (default: build/bin)
#   SIZE_MIB=256 RUNS=5 bench/whole_file.sh    (defaults: 1024 and 3)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh

bin="${1:-build/bin}"
size_mib="${SIZE_MIB:-1024}"
require_built "$bin" kelvane-cli kelvane_checksum_time
require_gnu_time
make_work whole
key_hex="$(des_key_hex "$password")"

head -c "$((size_mib << 20))" /dev/urandom >"$work/plain"

# measure COMMAND... : prints "seconds peak-KiB", the seconds to the
# millisecond: GNU time's hundredths hide the fixed cost of a 16 MiB run.
measure() {
    local start end
    start=$EPOCHREALTIME
    /usr/bin/time -f '%M' -o "$work/time" "$@"
    end=$EPOCHREALTIME
    awk -v peak="$(cat "$work/time")" "BEGIN { printf \"%.3f %d\\n\", $end - $start, peak }"
}

runs="${RUNS:-3}"
crc=() enc=() dec=() m_enc=0 m_dec=0
for _ in $(seq "$runs"); do
    read -r t _ < <("$bin/kelvane_checksum_time" "$work/plain")
    crc+=("$t")
    rm -f "$work/plain.cry"
    read -r t m < <(measure "$bin/kelvane-cli" encrypt -k -f -q -p "$work/pw" "$work/plain")
    enc+=("$t") && m_enc=$((m > m_enc ? m : m_enc))
    rm -f "$work/back"
    read -r t m < <(measure "$bin/kelvane-cli" decrypt -k -f -q -p "$work/pw" -o "$work/back" \
        "$work/plain.cry")
    dec+=("$t") && m_dec=$((m > m_dec ? m : m_dec))
    cmp -s "$work/plain" "$work/back" || { echo "round trip differs" >&2; exit 1; }
done
rm -f "$work/back"
read -r t_ssl _ < <(measure openssl enc -des-ecb -nopad -provider legacy -provider default \
    -K "$key_hex" -in "$work/plain" -out "$work/ssl.des")

calc() { awk "BEGIN { printf \"$1\", $2 }"; }
t_crc="$(best "${crc[@]}")" t_enc="$(best "${enc[@]}")" t_dec="$(best "${dec[@]}")"
machine_line
printf '%s MiB in /dev/shm, best of %s runs (range)\n' "$size_mib" "$runs"
printf 'checksum alone       %6.3f s (%s-%s)\n' "$t_crc" "$t_crc" "$(worst "${crc[@]}")"
line() { # name peak-KiB best all...
    local name="$1" peak="$2" t="$3"
    shift 3
    printf '%-20s %6.3f s (%s-%s)  %5.2fx the checksum  peak %5d MiB (limit file + 64 = %d)\n' \
        "$name" "$t" "$t" "$(worst "$@")" "$(calc %.2f "$t / $t_crc")" "$((peak / 1024))" \
        "$((size_mib + 64))"
}
line "kelvane-cli encrypt" "$m_enc" "$t_enc" "${enc[@]}"
line "kelvane-cli decrypt" "$m_dec" "$t_dec" "${dec[@]}"
printf 'openssl enc -des-ecb %6.3f s  kelvane-cli encrypt is %.1fx faster\n' \
    "$t_ssl" "$(calc %.2f "$t_ssl / $t_enc")"
