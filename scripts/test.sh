#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under CTest on the offscreen Qt platform.
# With --sanitize the same suite runs from build-sanitize/, built with AddressSanitizer and
# UndefinedBehaviorSanitizer: any report fails the test that caused it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if [ "${1:-}" = "--sanitize" ]; then
  export KELVORA_BUILD_DIR=build-sanitize
  scripts/build.sh -DKELVORA_SANITIZE=ON
  export ASAN_OPTIONS="abort_on_error=1:detect_stack_use_after_return=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  cd build-sanitize
else
  scripts/build.sh
  cd build
fi
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 600
