#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Brings kelvane-cli's catalogues up to date with the sources: a new
# po/kelvane-cli.pot, and each po/LANG.po merged with it, so a new or
# changed text shows up there untranslated (or fuzzy) for its translator.
# Run it after changing a text, translate, and commit the po/ files.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/make_cli_catalogue_template.sh po/kelvane-cli.pot
for po in po/*.po; do
    msgmerge --quiet --update --backup=none --add-location=file "$po" po/kelvane-cli.pot
done
echo "po/: the template and $(find po -name '*.po' | wc -l) translations are up to date"
