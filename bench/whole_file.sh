#!/usr/bin/env bash
# Whole files through kelvane-cli against the checksum alone over the same
# bytes in memory (the serial floor of one file), and against OpenSSL's
# DES-ECB, all in one run; also the peak resident memory of each run.
# Builds nothing.
#
#   bench/whole_file.sh [BIN_DIR]       (default: build/bin)
#   SIZE_MIB=256 bench/whole_file.sh    (default: 1024)
set -euo pipefail
cd "$(dirname "$0")/.."

bin="${1:-build/bin}"
size_mib="${SIZE_MIB:-1024}"
for tool in kelvane-cli kelvane_checksum_time; do
    [ -x "$bin/$tool" ] || { echo "no $bin/$tool; build first" >&2; exit 2; }
done
[ -x /usr/bin/time ] || { echo "GNU time is missing (apt-get install time)" >&2; exit 2; }

work="$(mktemp -d /dev/shm/kelvane-whole.XXXXXX)"
trap 'rm -rf "$work"' EXIT
password="s3cret!"
printf '%s\n' "$password" >"$work/pw"
key_hex="$(printf '%s' "$password" | od -An -tx1 | tr -d ' \n')"
while [ ${#key_hex} -lt 16 ]; do key_hex="${key_hex}00"; done

head -c "$((size_mib << 20))" /dev/urandom >"$work/plain"

# measure COMMAND... : prints "seconds peak-KiB".
measure() { /usr/bin/time -f '%e %M' -o "$work/time" "$@" && cat "$work/time"; }

read -r t_crc _ < <("$bin/kelvane_checksum_time" "$work/plain")
read -r t_enc m_enc < <(measure "$bin/kelvane-cli" encrypt -k -f -q -p "$work/pw" "$work/plain")
mv "$work/plain" "$work/original"
read -r t_dec m_dec < <(measure "$bin/kelvane-cli" decrypt -k -f -q -p "$work/pw" "$work/plain.cry")
cmp -s "$work/original" "$work/plain" || { echo "round trip differs" >&2; exit 1; }
read -r t_ssl _ < <(measure openssl enc -des-ecb -nopad -provider legacy -provider default \
    -K "$key_hex" -in "$work/original" -out "$work/ssl.des")

calc() { awk "BEGIN { printf \"$1\", $2 }"; }
printf '%s MiB in /dev/shm\n' "$size_mib"
printf 'checksum alone       %6.2f s\n' "$t_crc"
printf 'kelvane-cli encrypt  %6.2f s  %5.2fx the checksum  peak %5d MiB (limit file + 64 = %d)\n' \
    "$t_enc" "$(calc %.2f "$t_enc / $t_crc")" "$((m_enc / 1024))" "$((size_mib + 64))"
printf 'kelvane-cli decrypt  %6.2f s  %5.2fx the checksum  peak %5d MiB (limit file + 64 = %d)\n' \
    "$t_dec" "$(calc %.2f "$t_dec / $t_crc")" "$((m_dec / 1024))" "$((size_mib + 64))"
printf 'openssl enc -des-ecb %6.2f s  kelvane-cli encrypt is %.1fx faster\n' \
    "$t_ssl" "$(calc %.2f "$t_ssl / $t_enc")"
