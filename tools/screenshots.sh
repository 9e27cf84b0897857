#!/bin/sh
# Takes the README pictures from the real game on a virtual 1366x768 screen:
# docs/screenshots/menu.png, settings.png, play.png, summary.png (a game lost),
# level_change.png and summary_won.png (a game won on five short levels of its own).
# Usage: tools/screenshots.sh [build-dir]   (default: build)
# Needs Xvfb, xdotool and ImageMagick's import.
set -eu

src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
out="$src/docs/screenshots"
mkdir -p "$out"

# A play folder of its own, so no "player.s" lands in the build and the shipped
# levels and pictures are used as they are.
play=$(mktemp -d /tmp/quovix-shots-XXXXXX)
mkdir -p "$play/bin"
cp -r "$build/resources" "$play/resources"
echo 1 > "$play/bin/scale.txt"

display=:$((50 + $$ % 40))
Xvfb "$display" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
game=
cleanup() {
    [ -n "$game" ] && kill "$game" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$play"
}
trap cleanup EXIT
export DISPLAY="$display"
sleep 1
xset r off 2>/dev/null || true

# A key held across a few frames; a tap could fall between two of them.
press() {
    xdotool keydown "$1"
    sleep 0.4
    xdotool keyup "$1"
}
shot() {
    sleep 0.3
    import -window root "$out/$1.png"
    echo "wrote $out/$1.png"
}
# The game is the only client of this display with a named window.
focus_game() {
    for _ in $(seq 50); do
        win=$(xdotool search --name . 2>/dev/null | head -n 1) && [ -n "$win" ] && break
        sleep 0.2
    done
    [ -n "$win" ] || { echo "the game window did not appear" >&2; exit 1; }
    xdotool windowfocus "$win"
    sleep 1
}

(cd "$play/bin" && exec "$build/bin/quovix" >/dev/null 2>&1) &
game=$!
focus_game
shot menu
press o
shot settings
press Escape

press Return
# a little way into level one: stars ahead, the clock running
sleep 2.5
shot play

# Esc is the only way on from here, so make the end come quickly: steer off the
# track until no lives are left, then the summary stays up. The game reads the
# speed scale every frame, so a smaller one hurries the falls along.
echo 0.25 > "$play/bin/scale.txt"
xdotool keydown a
for _ in $(seq 360); do
    [ -f "$play/bin/player.s" ] && break
    sleep 0.5
done
xdotool keyup a
[ -f "$play/bin/player.s" ] || { echo "the game did not end" >&2; exit 1; }
sleep 1
shot summary

press Escape
wait "$game" || true
game=

# Five short levels, floor and two stars then the finish, played to the end: the
# level change's words, then the summary of a game won.
for name in levelone leveltwo levelthree levelfour levelfive; do
    {
        for _ in $(seq 216); do echo "......."; done
        for _ in $(seq 12); do echo ".FFFFF."; done
        for r in $(seq 11 -1 0); do
            case $r in 4 | 8) echo ".#*###." ;; *) echo ".#####." ;; esac
        done
    } >"$play/$name.txt"
    "$build/tools/quovix-level" bmp "$play/$name.txt" "$play/resources/$name.bmp" >/dev/null
done
rm -f "$play/bin/player.s"
echo 1 >"$play/bin/scale.txt"
(cd "$play/bin" && QUOVIX_FRAME_REPORT=1 exec "$build/bin/quovix" >/dev/null 2>"$play/err.txt") &
game=$!
focus_game
press Return
for _ in $(seq 300); do
    grep -q "frames held for the level change" "$play/err.txt" && break
    sleep 0.1
done
shot level_change
for _ in $(seq 600); do
    [ -f "$play/bin/player.s" ] && break
    sleep 0.2
done
[ -f "$play/bin/player.s" ] || { echo "the short game did not end" >&2; exit 1; }
# the fly-off and the wait after the last level, then the summary
for _ in $(seq 600); do
    [ "$(grep -c "frames held for the level change" "$play/err.txt")" -ge 5 ] && break
    sleep 0.2
done
sleep 4
shot summary_won
press Escape
wait "$game" 2>/dev/null || true
game=
