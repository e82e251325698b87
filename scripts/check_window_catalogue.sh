#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a text of the window is missing from its catalogues
# (translations/kelvane_*.ts): lupdate runs over the sources into a copy,
# and any text it has to add there is one the repository's catalogues lack.
# Translations may lag behind; entries may not. The fix is
# scripts/update_window_catalogue.sh, then the translations.
set -euo pipefail
cd "$(dirname "$0")/.."

copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
cp translations/kelvane_*.ts "$copy"/
scripts/update_window_catalogue.sh "$copy"

failed=0
for before in translations/kelvane_*.ts; do
    after="$copy/${before##*/}"
    # Each entry's context and source text, one a line, in the file's order.
    entries() { grep -E '<name>|<source>' "$1" | sed 's/^ *//'; }
    added=$(diff <(entries "$before") <(entries "$after") | sed -n 's/^> //p' || true)
    if [ -n "$added" ]; then
        echo "$before lacks texts of the window:" >&2
        echo "$added" >&2
        failed=1
    fi
done
if [ "$failed" -ne 0 ]; then
    echo "Run scripts/update_window_catalogue.sh and translate the new texts." >&2
    exit 1
fi
echo "catalogues: every text of the window has an entry"
