#!/usr/bin/env bash
# Installs, builds and runs every test, the windowed ones under Xvfb at 1366x768x24.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cd build
xvfb-run -a -s "-screen 0 1366x768x24 -nolisten tcp" ctest --output-on-failure -j2
