#!/usr/bin/env bash
# Installs what Quovix needs from Debian's packages (only when missing) and builds it into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

# dpkg-dev: dpkg-buildflags gives the hardening flags Debian builds its packages with
packages=(g++ dpkg-dev cmake make pkg-config freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri
          libcairo2-dev fonts-dejavu-core libpng-dev zlib1g-dev libgtest-dev libx11-dev libxfixes-dev libsdl2-dev
          xvfb xauth xdotool x11-utils "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt_get() { if [ "$(id -u)" = 0 ]; then apt-get "$@"; else sudo apt-get "$@"; fi; }
  apt_get update -qq
  DEBIAN_FRONTEND=noninteractive apt_get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
