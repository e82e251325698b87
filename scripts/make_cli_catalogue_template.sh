#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the template of kelvane-cli's message catalogue: every text that
# the command line and the layers below it hand to Tr or KELVANE_TR_NOOP,
# with its context and the TRANSLATORS: note before it. The build, the
# catalogue check and the update all make it here, so they agree.
#   make_cli_catalogue_template.sh OUTPUT.pot
set -euo pipefail
output=$1
cd "$(dirname "$0")/.."

# The window's layers (commands, ui, app) have catalogues of their own.
sources=()
while IFS= read -r -d '' file; do
    sources+=("$file")
done < <(find src/cli src/engine src/platform src/crypto -name '*.cpp' -print0 -o -name '*.h' -print0 |
    LC_ALL=C sort -z)

# Files only, no line numbers: a line moved elsewhere changes nothing for a
# translator. qt-format lets msgfmt --check compare each %N.
xgettext --language=C++ --qt --from-code=UTF-8 --add-comments=TRANSLATORS: \
    --keyword=Tr:1c,2 --keyword=KELVANE_TR_NOOP:1c,2 \
    --flag=Tr:2:qt-format --flag=KELVANE_TR_NOOP:2:qt-format \
    --add-location=file --package-name=kelvane-cli --msgid-bugs-address=https://kelvane.github.io/ \
    --output="$output" "${sources[@]}"
