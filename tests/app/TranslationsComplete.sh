#!/usr/bin/env bash
# Every text marked for translation in the sources has a finished English translation: the
# committed .ts, brought up to date with the sources in a temporary copy, holds no unfinished or
# empty entry. Usage: TranslationsComplete.sh LUPDATE SOURCE_DIR
set -euo pipefail
lupdate=$1
source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir/src/app/translations/lumavox_en.ts" "$work/lumavox_en.ts"
LUPDATE=$lupdate TS_FILE="$work/lumavox_en.ts" "$source_dir/scripts/update-translations.sh"
if grep -n -B3 -E 'type="unfinished"|<translation></translation>|<translation/>' \
    "$work/lumavox_en.ts"; then
    echo "texts without an English translation (above): run scripts/update-translations.sh" \
         "and translate them in src/app/translations/lumavox_en.ts" >&2
    exit 1
fi
count=$(grep -c '<message>' "$work/lumavox_en.ts")
echo "$count texts, all translated"
