#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the sandbox need,
# only those that are missing. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkgconf
  qt6-base-dev qt6-multimedia-dev libgl-dev
  zlib1g-dev
  libx11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  famfamfam-flag-png iso-codes
  xvfb xauth fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
