#!/usr/bin/env bash
# Installs what is missing, builds, prepares demo/Kelvora.mdb when it is absent and starts the
# program with demo/ as its current folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
mkdir -p demo
if [ ! -f demo/Kelvora.mdb ]; then
  build/kelvora-db demo demo/Kelvora.mdb
fi
cd demo
exec ../build/kelvora
