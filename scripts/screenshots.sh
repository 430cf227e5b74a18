#!/usr/bin/env bash
# Builds when needed, then opens every window from the menu on a demo database made in a scratch
# folder, offscreen on a 1366x768 screen, and saves one picture per window in docs/screenshots/.
# The same run checks that every window opens without a message and shows its texts whole.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
mkdir -p docs/screenshots
KELVORA_SCREENSHOTS_DIR="$PWD/docs/screenshots" \
QT_QPA_PLATFORM="offscreen:configfile=$PWD/tests/screens/desk_screen.json" \
  build/tests/test_screens

# The first page of each sheet, written by the tool on a demo database and rendered as the
# reader of the PDF sees it.
sheets=$(mktemp -d)
trap 'rm -rf "$sheets"' EXIT
build/kelvora-db demo "$sheets/Kelvora.mdb"
today=$(date +%F)
build/kelvora-db sheet "$sheets/Kelvora.mdb" --date "$today" --pdf "$sheets/day.pdf"
build/kelvora-db sheet "$sheets/Kelvora.mdb" --date "$today" --target 3 --week --pdf "$sheets/week.pdf"
build/kelvora-db sheet "$sheets/Kelvora.mdb" --date "$today" --calls --pdf "$sheets/calls.pdf"
build/kelvora-db stats "$sheets/Kelvora.mdb" --from "$(date +%Y-%m)" --to "$(date +%Y-%m)" "$sheets/stats.pdf"
for sheet in day week calls stats; do
  pdftoppm -png -r 80 -f 1 -singlefile "$sheets/$sheet.pdf" "docs/screenshots/sheet_$sheet"
done
