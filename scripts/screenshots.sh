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
