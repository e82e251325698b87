#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build, the tests and the benchmarks need.
# As root it installs what is missing; otherwise it prints the apt-get line.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev libglib2.0-dev qt6-l10n-tools qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev
    clang-format clang-tidy fonts-liberation desktop-file-utils shared-mime-info
    xvfb xauth xdotool x11-utils openbox openssl time strace
    cups-daemon cups-client
    clang libclang-rt-dev
    appstream man-db groff-base dpkg-dev debhelper file lintian librsvg2-bin
    libsodium-dev age
    ccrypt p7zip-full
    shellcheck
    gettext locales-all
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages. Install them with:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
