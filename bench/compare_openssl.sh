#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The four times are read back by name in the table at the end.
# shellcheck disable=SC2034
# Times kelvane-cli against OpenSSL's DES-ECB on the same random file in
# /dev/shm, checks both round trips and that both produce the same
# ciphertext, and prints MiB/s and the ratio. Builds nothing.
#
#   bench/compare_openssl.sh [BIN_DIR]     (default: build/bin)
#   SIZE_MIB=64 bench/compare_openssl.sh   (default: 256)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh

bin="${1:-build/bin}"
cli="$bin/kelvane-cli"
size_mib="${SIZE_MIB:-256}"
require_built "$bin" kelvane-cli
command -v openssl >/dev/null || { echo "openssl is missing" >&2; exit 2; }

make_work bench
key_hex="$(des_key_hex "$password")"
ossl=(openssl enc -des-ecb -nopad -provider legacy -provider default -K "$key_hex")

head -c "$((size_mib << 20))" /dev/urandom >"$work/plain"
cp "$work/plain" "$work/data"

now() { date +%s.%N; }
# seconds COMMAND... : runs COMMAND and prints the elapsed seconds.
seconds() {
    local start end
    start="$(now)"
    "$@"
    end="$(now)"
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}

t_kel_enc="$(seconds "$cli" encrypt -k -f -q -p "$work/pw" "$work/data")"
rm "$work/data"
t_kel_dec="$(seconds "$cli" decrypt -k -f -q -p "$work/pw" "$work/data.cry")"
cmp -s "$work/plain" "$work/data" || { echo "kelvane-cli round trip differs" >&2; exit 1; }

t_ssl_enc="$(seconds "${ossl[@]}" -in "$work/plain" -out "$work/plain.des")"
t_ssl_dec="$(seconds "${ossl[@]}" -d -in "$work/plain.des" -out "$work/plain.back")"
cmp -s "$work/plain" "$work/plain.back" || { echo "openssl round trip differs" >&2; exit 1; }

# The same key and plain blocks give the same ciphertext: the .cry file is the
# 14-byte header, OpenSSL's output, and one enciphered block of padding.
cmp -s <(tail -c +15 "$work/data.cry" | head -c "$((size_mib << 20))") "$work/plain.des" ||
    { echo "kelvane-cli and openssl ciphertexts differ" >&2; exit 1; }

rate() { awk -v m="$size_mib" -v t="$1" 'BEGIN { printf "%.1f", m / t }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
machine_line
printf '%s MiB in /dev/shm, %s\n' "$size_mib" "$(openssl version)"
printf '%-10s %14s %14s %8s\n' "" "kelvane-cli" "openssl" "ratio"
for op in enc dec; do
    k="t_kel_$op"; s="t_ssl_$op"
    printf '%-10s %9s MiB/s %9s MiB/s %7sx\n' "$([ $op = enc ] && echo encrypt || echo decrypt)" \
        "$(rate "${!k}")" "$(rate "${!s}")" "$(ratio "${!s}" "${!k}")"
done
echo "ratio = kelvane-cli speed / openssl speed; round trips and ciphertexts match"
