#!/usr/bin/env bash
# Installs, builds, makes the Debian package and runs every test, the windowed ones
# under Xvfb at 1366x768x24; then builds the suite again with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ and runs it there.
set -euo pipefail
cd "$(dirname "$0")/.."
# the game's dependencies come from dpkg-shlibdeps (dpkg-dev, file); the
# packages, their programs (hardening-check, in devscripts), the desktop entry and
# the metadata are checked by Debian's own tools, the layout of the C++ files by
# one release of the formatter
bash scripts/setup.sh dpkg-dev file lintian devscripts desktop-file-utils appstream clang-format-14
(cd build && cpack -G DEB >/dev/null)
# -noreset: a server resetting as its last client leaves refuses the next game that starts
screen="-screen 0 1366x768x24 -nolisten tcp -noreset"
(cd build && xvfb-run -a -s "$screen" ctest --output-on-failure -j2)

# The first report ends the program with an error, so its test fails.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUOVIX_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$(nproc)"
cd build-asan
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
asan=halt_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1
# Tests labelled "window" start the game in a window, whose GL driver keeps
# memory to the end: leaks are looked for only in the window-free tests.
ASAN_OPTIONS=$asan:detect_leaks=1 ctest --output-on-failure -j2 -LE window
ASAN_OPTIONS=$asan:detect_leaks=0 xvfb-run -a -s "$screen" ctest --output-on-failure -j2 -L window

# The Windows zip, cross-built and played under Wine.
bash ../scripts/windows.sh
