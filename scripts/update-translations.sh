#!/usr/bin/env bash
# Brings the translation sources (src/app/translations/*.ts) up to date with the texts marked in
# the code (LV_TEXT, tr): new texts are added unfinished, texts no longer in the code are dropped.
# Translate the unfinished ones (Qt Linguist, or by hand) and commit the .ts files.
# TS_FILE=other.ts updates a copy instead (the test suite checks one that way).
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=${LUPDATE:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}
"$lupdate" -silent -locations none -no-obsolete -source-language ja_JP -target-language en_US \
    -tr-function-alias QT_TRANSLATE_NOOP+=LV_TEXT \
    -extensions cpp,h src -ts "${TS_FILE:-src/app/translations/lumavox_en.ts}" "$@"
