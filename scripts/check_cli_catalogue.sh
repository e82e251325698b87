#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kelvane-cli's catalogues match its sources: po/kelvane-cli.pot holds
# exactly the texts (with their contexts) that the sources hand to Tr, and
# every po/LANG.po has an entry for each of them, compiles cleanly and keeps
# each %N. A translation may lag behind (untranslated or fuzzy), but it must
# be there for its translator to find. scripts/update_cli_catalogue.sh
# brings them up to date.
set -euo pipefail
cd "$(dirname "$0")/.."

scratch=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-pot-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
scripts/make_cli_catalogue_template.sh "$scratch/sources.pot"

failed=0
# msgcmp DEF REF: each text of REF has an entry in DEF.
if ! msgcmp --use-untranslated po/kelvane-cli.pot "$scratch/sources.pot" 2>"$scratch/new.log"; then
    cat "$scratch/new.log" >&2
    echo "po/kelvane-cli.pot lacks texts the sources have" >&2
    failed=1
fi
if ! msgcmp --use-untranslated "$scratch/sources.pot" po/kelvane-cli.pot 2>"$scratch/gone.log"; then
    cat "$scratch/gone.log" >&2
    echo "po/kelvane-cli.pot holds texts the sources no longer have" >&2
    failed=1
fi
for po in po/*.po; do
    if ! msgcmp --use-fuzzy --use-untranslated "$po" po/kelvane-cli.pot 2>"$scratch/po.log"; then
        cat "$scratch/po.log" >&2
        echo "$po lacks entries of po/kelvane-cli.pot" >&2
        failed=1
    fi
    msgfmt --check -o /dev/null "$po" || failed=1
done
scripts/check_cli_placeholders.sh po/*.po || failed=1

if [ "$failed" -ne 0 ]; then
    echo "texts in only one of the sources and po/kelvane-cli.pot:" >&2
    msgcomm --unique --no-location --no-wrap "$scratch/sources.pot" po/kelvane-cli.pot 2>/dev/null |
        grep -E '^msg(ctxt|id) ' >&2 || true
    echo "run scripts/update_cli_catalogue.sh, translate, and commit po/" >&2
    exit 1
fi
echo "catalogue: po/kelvane-cli.pot matches the sources; $(find po -name '*.po' | wc -l) translations cover it"
