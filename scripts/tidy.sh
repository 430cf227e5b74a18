#!/usr/bin/env bash
# Runs clang-tidy with the house checks (.clang-tidy) over the program's, the tool's and the
# benchmark's sources, using the compile commands of build/; any finding fails the run.
# Arguments narrow it to some files (paths or regular expressions, as run-clang-tidy takes them).
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v run-clang-tidy >/dev/null; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get install -y --no-install-recommends clang-tidy
fi
[ -f build/compile_commands.json ] || scripts/build.sh
if [ $# -eq 0 ]; then set -- "$PWD/(src|tools|bench)/"; fi
run-clang-tidy -quiet -p build -j "$(nproc)" "$@"
