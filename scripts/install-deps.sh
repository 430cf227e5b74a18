#!/usr/bin/env bash
# Installs the Debian packages Kelvora needs to build, test and run, when any is missing.
set -euo pipefail

packages=(g++ make cmake ninja-build pkg-config qt6-base-dev libsqlite3-dev libgtest-dev libgmock-dev
          libbenchmark-dev fonts-noto-cjk qt6-translations-l10n dpkg-dev file lintian poppler-utils
          postgresql libpq-dev python3-dateutil)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
