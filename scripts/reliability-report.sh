#!/usr/bin/env bash
# Runs the reliability suite and writes what it tried and what held to docs/RELIABILITY.md.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/build.ninja ] && [ ! -f build/Makefile ]; then
  scripts/build.sh
fi
cmake --build build --target test_reliability -j 2
report="$(mktemp)"
trap 'rm -f "$report"' EXIT
QT_QPA_PLATFORM=offscreen KELVORA_RELIABILITY_REPORT="$report" build/tests/test_reliability
# The hand-written part after the marker stays.
marker='<!-- Everything below is kept as it is when the suite rewrites the sections above. -->'
{ cat "$report"; echo; sed -n "/^$marker\$/,\$p" docs/RELIABILITY.md; } > "$report.new"
mv "$report.new" docs/RELIABILITY.md
echo "docs/RELIABILITY.md written"
