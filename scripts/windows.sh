#!/usr/bin/env bash
# Cross-builds Quovix for 64-bit Windows into build-windows/ with Debian's mingw-w64,
# its libraries built from Debian's own source packages, makes the zip players unpack,
# and tests both under Wine: the window-free suites, then the real game in Xvfb.
# Run as root on Debian 12 (scripts/test.sh runs it last); a second run reuses the
# libraries already built.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-windows
deps=$out/deps
prefix=$deps/prefix
toolchain=$root/cmake/mingw-w64.cmake
jobs=$(nproc)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# The native build, whose models, pictures, sounds and levels (made with Cairo) the zip
# ships, with the cross compiler, Wine to run what it makes, and the zip's tools.
bash scripts/setup.sh g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 dpkg-dev zip unzip

# Source entries mirroring the machine's own binary ones, so apt-get source finds
# exactly the versions Debian ships here.
source_entries() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] && [ "$(basename "$f")" != quovix-source.sources ] || continue
    # one deb822 stanza a paragraph: those of type deb come again as deb-src
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /(^|\n)Types:[^\n]*[[:space:]]deb([[:space:]]|$)/ && !/(^|\n)Types:[^\n]*deb-src/ {
           sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' "$f"
  done
}
source_lines() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -e "$f" ] && [ "$(basename "$f")" != quovix-source.list ] || continue
    sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f"
  done
}
update=0
write_if_changed() { # file, text
  if [ -n "$2" ] && [ "$(cat "$1" 2>/dev/null)" != "$2" ]; then
    printf '%s\n' "$2" | as_root tee "$1" >/dev/null
    update=1
  fi
}
write_if_changed /etc/apt/sources.list.d/quovix-source.sources "$(source_entries)"
write_if_changed /etc/apt/sources.list.d/quovix-source.list "$(source_lines)"
if [ $update = 1 ] || ! apt-cache showsrc freeglut >/dev/null 2>&1; then
  as_root apt-get update -qq
fi

# Fetches a source package into deps/src/<name>, newest version first: the archive's
# pool may have dropped the newest files a stale index still lists.
fetch_source() { # name
  local name=$1 dir=$deps/src/$1 v
  [ -d "$dir" ] && return 0
  mkdir -p "$deps/download/$name"
  for v in $(apt-cache showsrc "$name" | awk '/^Version:/ { print $2 }' | sort -u | sort -rV); do
    if (cd "$deps/download/$name" && apt-get source --download-only -qq "$name=$v" >/dev/null 2>&1); then
      local dsc
      dsc=$(ls "$deps/download/$name"/*"_${v#*:}.dsc")
      # apt checked the files against the archive's signed index as it fetched them
      mkdir -p "$deps/src"
      dpkg-source --no-check -x "$dsc" "$dir.part" >"$deps/$name.log" 2>&1
      mv "$dir.part" "$dir"
      return 0
    fi
    echo "$name $v could not be fetched; trying an older version" >&2
  done
  echo "no version of $name could be fetched" >&2
  return 1
}

# Builds a source package with CMake for Windows into the prefix, once.
build_dep() { # name, cmake options...
  local name=$1
  shift
  [ -e "$prefix/.$name.done" ] && return 0
  fetch_source "$name"
  echo "Building $name for Windows"
  rm -rf "$deps/build/$name"
  cmake -S "$deps/src/$name" -B "$deps/build/$name" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >>"$deps/$name.log" 2>&1
  cmake --build "$deps/build/$name" -j"$jobs" >>"$deps/$name.log" 2>&1 || { tail -30 "$deps/$name.log"; exit 1; }
  cmake --install "$deps/build/$name" >>"$deps/$name.log" 2>&1
  touch "$prefix/.$name.done"
}

# Static libraries throughout: the game is one .exe, with nothing to find beside it.
mkdir -p "$prefix"
# zlib's CMake makes its DLL from a resource file Debian's source leaves out: the
# static library alone is built, and installed by hand
if [ ! -e "$prefix/.zlib.done" ]; then
  fetch_source zlib
  echo "Building zlib for Windows"
  rm -rf "$deps/build/zlib"
  cmake -S "$deps/src/zlib" -B "$deps/build/zlib" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release >>"$deps/zlib.log" 2>&1
  cmake --build "$deps/build/zlib" --target zlibstatic -j"$jobs" >>"$deps/zlib.log" 2>&1
  mkdir -p "$prefix/lib" "$prefix/include"
  cp "$deps/build/zlib/libzlibstatic.a" "$prefix/lib/libz.a"
  cp "$deps/src/zlib/zlib.h" "$deps/build/zlib/zconf.h" "$prefix/include/"
  touch "$prefix/.zlib.done"
fi
build_dep libpng1.6 -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
          -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include"
build_dep freeglut -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=ON \
          -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_REPLACE_GLUT=OFF
build_dep libsdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
build_dep googletest -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_force_shared_crt=ON

# The game, its tools and the window-free suites for Windows, then the zip.
cmake -S . -B "$out" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out" -j"$jobs"
cmake --build "$out" --target quovix_zip
echo "Made $(ls "$out"/quovix-*-windows.zip)"

# Wine in a prefix of its own, made once, its server kept for the whole run.
WINEPREFIX=$(mktemp -d /tmp/quovix-wine-XXXXXX)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
wineserver -p
# now and then a first start in a new prefix gives up: once more then
wine wineboot -i >/dev/null 2>&1 || wine wineboot -i >/dev/null 2>&1
status=0
(cd "$out" && ctest --output-on-failure -j2) || status=1
# -noreset: a server resetting as its last client leaves refuses the next game that starts
screen="-screen 0 1366x768x24 -nolisten tcp -noreset"
(cd build && xvfb-run -a -s "$screen" ctest --output-on-failure -j1 -R '^WindowsZip\.') || status=1
exit $status
