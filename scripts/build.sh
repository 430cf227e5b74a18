#!/usr/bin/env bash
# Configures and builds everything (program, tool, benchmark and tests) into build/, or into the
# folder named by KELVORA_BUILD_DIR; further arguments go to CMake.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${KELVORA_BUILD_DIR:-build}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
