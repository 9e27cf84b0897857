#!/usr/bin/env bash
# Installs, builds and starts Quovix full-screen from its run folder, build/bin/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

# Every screen gets menu pictures: make a set for this one when it has none.
if size=$(xdpyinfo 2>/dev/null | awk '/dimensions:/ && size == "" {size = $2} END {print size}') && [ -n "$size" ]; then
  if [ ! -d "build/resources/$size" ]; then
    build/tools/quovix-gen-pictures "build/resources/$size" "${size%x*}" "${size#*x}"
  fi
fi

cd build/bin
[ -f scale.txt ] || echo 1 > scale.txt
exec ./quovix
