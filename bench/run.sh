#!/bin/bash
# Quovix benchmark: start-up, start of play, level changes, frame cost, map
# growth, memory and the instructions of one frame of game logic, for the game
# as it is (its fast drawing), the same game drawing the reference way, and a
# baseline built from another commit (main by default, QBENCH_BASE to choose),
# each run beside the floor program under Xvfb with Mesa's software renderer.
# Usage: bench/run.sh [rounds]   (default 1; each round runs every program once)
# Needs: cmake g++ freeglut3-dev libglu1-mesa-dev xvfb xdotool valgrind (Debian).
set -eu
rounds=${1:-1}
src=$(cd "$(dirname "$0")/.." && pwd)
bb=$src/build-bench
work=$(mktemp -d /tmp/qbench-XXXXXX)
log() { echo "== $*" >&2; }
# the raw cost of a frame: frames as fast as they are drawn, not held to 60 a second
export QUOVIX_FRAME_PACE=free

# --- builds ---------------------------------------------------------------
log "building the game and the bench pieces in $bb"
cmake -S "$src" -B "$bb" -DQUOVIX_BENCH=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$work/cfg.log"
cmake --build "$bb" -j2 --target quovix quovix-bench-logic quovix-bench-floor quovix-bench-widen \
    quovix-bench-launch quovix-bench-shim >"$work/build.log"

# The baseline: another commit's source, in a throwaway worktree.
base=${QBENCH_BASE:-main}
log "building the baseline ($base) in $work/wt"
git -C "$src" worktree add --detach "$work/wt" "$base" >/dev/null 2>&1
cleanup() {
    for p in $(cat "$work"/*.pid 2>/dev/null); do kill "$p" 2>/dev/null || true; done
    git -C "$src" worktree remove --force "$work/wt" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
cmake -S "$work/wt" -B "$work/wt/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$work/cfg-wt.log"
cmake --build "$work/wt/build" -j2 --target quovix >"$work/build-wt.log"
declare -A game=([game]="$bb/bin/quovix" [reference]="$bb/bin/quovix" [base]="$work/wt/build/bin/quovix")
declare -A drawing=([game]="" [reference]=1 [base]="")

# --- play folders -----------------------------------------------------------
levels="levelone leveltwo levelthree levelfour levelfive"
folder() {   # folder name, level picture for all five levels ("" keeps the shipped ones)
    mkdir -p "$work/$1/bin" "$work/$1/resources"
    echo 1 >"$work/$1/bin/scale.txt"
    for f in "$bb"/resources/*; do ln -s "$f" "$work/$1/resources/"; done
    if [ -n "$2" ]; then
        for l in $levels; do rm "$work/$1/resources/$l.bmp"; cp "$2" "$work/$1/resources/$l.bmp"; done
    fi
}
folder play ""
for w in 7 32 128; do
    "$bb/bench/quovix-bench-widen" "$bb/resources/levelone.bmp" $w "$work/level-$w.bmp"
    folder wide$w "$work/level-$w.bmp"
done
replays=""
for l in $levels; do replays="$replays${replays:+:}$src/data/levels/$l.replay"; done

# --- runs -------------------------------------------------------------------
start_x() {   # display, size
    Xvfb "$1" -screen 0 "$2"x24 -nolisten tcp >/dev/null 2>&1 &
    echo $! >"$work/xvfb${1#:}.pid"
    for _ in $(seq 50); do xdpyinfo -display "$1" >/dev/null 2>&1 && return; sleep 0.1; done
    echo "Xvfb $1 did not start" >&2; exit 1
}

# The game from launch: Enter on the menu once it is up, then the shim plays the replays.
run_game() {   # display, variant, folder, log, levels, frames
    local out=$4
    (cd "$work/$3/bin" && if [ -n "${drawing[$2]}" ]; then export QUOVIX_REFERENCE_DRAWING=1; fi &&
        DISPLAY=$1 LIBGL_ALWAYS_SOFTWARE=1 QBENCH_LOG=$out QBENCH_REPLAYS=$replays \
        QBENCH_LEVELS=$5 QBENCH_FRAMES=$6 LD_PRELOAD="$bb/bench/libquovix-bench-shim.so" \
        "$bb/bench/quovix-bench-launch" "${game[$2]}" >"$out.stdout" 2>&1) &
    local pid=$!
    for _ in $(seq 300); do grep -q '^menu' "$out" 2>/dev/null && break; sleep 0.05; done
    local win
    # the game is the only client of this display with a named window
    win=$(DISPLAY=$1 xdotool search --name . | head -n 1)
    DISPLAY=$1 xdotool windowfocus "$win"
    sleep 0.5
    DISPLAY=$1 xdotool keydown Return
    sleep 0.3
    DISPLAY=$1 xdotool keyup Return
    wait $pid
}

run_floor() {   # display, log, frames, y step, level pictures...
    local d=$1 out=$2 n=$3 step=$4
    shift 4
    DISPLAY=$d LIBGL_ALWAYS_SOFTWARE=1 QBENCH_LOG=$out QBENCH_MODE=floor QBENCH_GAP_MS=200 \
        LD_PRELOAD="$bb/bench/libquovix-bench-shim.so" "$bb/bench/quovix-bench-launch" \
        "$bb/bench/quovix-bench-floor" "$bb/resources" $n $step "$@" >"$out.stdout" 2>&1
}

shipped=""
for l in $levels; do shipped="$shipped $bb/resources/$l.bmp"; done
wide_frames=60
for size in 1366x768 2560x1080; do
    d=:61
    [ $size = 2560x1080 ] && d=:62
    start_x $d $size
    for r in $(seq "$rounds"); do
        log "$size round $r: game and reference drawing (five levels), floor, baseline, map sizes"
        uptime >>"$work/load.txt"
        run_game $d game play "$work/$size-game-$r.log" 5 0
        run_floor $d "$work/$size-floor-$r.log" 300 0.0032 $shipped
        run_game $d reference play "$work/$size-reference-$r.log" 5 0
        run_game $d base play "$work/$size-base-$r.log" 1 0
        for w in 7 32 128; do
            run_game $d game wide$w "$work/$size-wide$w-$r.log" 1 $wide_frames
            run_game $d reference wide$w "$work/$size-refwide$w-$r.log" 1 $wide_frames
            run_floor $d "$work/$size-floorwide$w-$r.log" $wide_frames 0.0008 "$work/level-$w.bmp"
        done
        uptime >>"$work/load.txt"
    done
done

# --- callgrind: one frame of game logic, window-free, null driver -------------
log "callgrind over one whole game through the window-free runner"
valgrind --tool=callgrind --callgrind-out-file="$work/cg.out" --toggle-collect=bench_play_frame \
    "$bb/bench/quovix-bench-logic" "$work/play/bin" "$src/data/levels" >"$work/logic.txt" 2>"$work/cg.err"
logic_frames=$(awk '/^frames of play/{print $4}' "$work/logic.txt")
logic_ir=$(awk '/Collected :/{print $4}' "$work/cg.err")

# --- table ------------------------------------------------------------------
stats() {   # logs... ; prints "median p99 worst" in ms over the frame lines piped in
    sort -n | awk '{a[NR]=$1} END{if(!NR){print "- - -";exit} i=int(NR*0.99+0.5); if(i<1)i=1; if(i>NR)i=NR;
        printf "%.1f %.1f %.1f\n", a[int((NR+1)/2)]/1000, a[i]/1000, a[NR]/1000}'
}
frames() { cat "$@" 2>/dev/null | awk -v L="$LEVEL" '$1=="f" && $2==L {print $4}'; }
field() { cat "$@" 2>/dev/null | awk -v k="$FIELD" '$1==k {print $2; exit}'; }
memline() { cat "$1" | awk -v w="$2" -v n="$3" '$1=="mem" && $2==w && $3==n {printf "%.1f %.1f", $4/1024, $5/1024; exit}'; }
med() { sort -n | awk '{a[NR]=$1} END{if(NR) printf "%.1f", a[int((NR+1)/2)]; else printf "-"}'; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN{ if (b>0) printf "%.2f", a/b; else print "-"}'; }

echo
echo "Quovix benchmark, $(date -u +%F), $rounds round(s), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
sed -n 1p "$work/1366x768-game-1.log.stdout"
echo "load during the runs (before and after each round):"; sed 's/^/  /' "$work/load.txt"
for size in 1366x768 2560x1080; do
    echo
    echo "### $size (median of $rounds round(s) where a figure is per run)"
    echo
    echo "| figure | game | reference drawing | baseline ($base) |"
    echo "|---|---|---|---|"
    for k in menu:"launch to first menu frame (ms)" play:"Enter to first frame of play (ms)"; do
        FIELD=${k%%:*}
        a=$(for r in $(seq "$rounds"); do field "$work/$size-game-$r.log"; done | med)
        m=$(for r in $(seq "$rounds"); do field "$work/$size-reference-$r.log"; done | med)
        b=$(for r in $(seq "$rounds"); do field "$work/$size-base-$r.log"; done | med)
        echo "| ${k#*:} | $a | $m | $b |"
    done
    a=$(for r in $(seq "$rounds"); do awk '$1=="change" && $2<5 {print $3-2500}' "$work/$size-game-$r.log"; done | med)
    m=$(for r in $(seq "$rounds"); do awk '$1=="change" && $2<5 {print $3-2500}' "$work/$size-reference-$r.log"; done | med)
    echo "| level change beyond the 2500 ms sleep, median of levels 1-4 (ms) | $a | $m | |"
    LEVEL=1
    echo "| level one frame median / p99 / worst (ms) | $(frames "$work"/$size-game-*.log | stats) | $(frames "$work"/$size-reference-*.log | stats) | $(frames "$work"/$size-base-*.log | stats) |"
    echo "| memory after the menu, VmRSS (MB) | $(memline "$work/$size-game-1.log" menu 0 | cut -d' ' -f1) | $(memline "$work/$size-reference-1.log" menu 0 | cut -d' ' -f1) | $(memline "$work/$size-base-1.log" menu 0 | cut -d' ' -f1) |"
    echo "| memory at the first frame of play, VmRSS (MB) | $(memline "$work/$size-game-1.log" play 1 | cut -d' ' -f1) | $(memline "$work/$size-reference-1.log" play 1 | cut -d' ' -f1) | $(memline "$work/$size-base-1.log" play 1 | cut -d' ' -f1) |"
    for n in 1 2 3 4 5; do
        echo "| memory after level $n, VmRSS / VmHWM (MB) | $(memline "$work/$size-game-1.log" after $n | tr ' ' /) | $(memline "$work/$size-reference-1.log" after $n | tr ' ' /) | |"
    done
    echo
    echo "| level | game median / p99 / worst (ms) | reference drawing | floor | game / floor | reference / floor | game / reference |"
    echo "|---|---|---|---|---|---|---|"
    for LEVEL in 1 2 3 4 5; do
        g=$(frames "$work"/$size-game-*.log | stats)
        m=$(frames "$work"/$size-reference-*.log | stats)
        f=$(frames "$work"/$size-floor-*.log | stats)
        echo "| $LEVEL | $g | $m | $f | $(ratio "${g%% *}" "${f%% *}") | $(ratio "${m%% *}" "${f%% *}") | $(ratio "${g%% *}" "${m%% *}") |"
    done
    echo
    echo "| map (level one, first $wide_frames frames) | game median / p99 (ms) | reference median / p99 | floor median / p99 | game / floor | game vs 7x240 | reference vs 7x240 |"
    echo "|---|---|---|---|---|---|---|"
    LEVEL=1
    base_g=$(frames "$work"/$size-wide7-*.log | stats | cut -d' ' -f1)
    base_m=$(frames "$work"/$size-refwide7-*.log | stats | cut -d' ' -f1)
    for w in 7 32 128; do
        g=$(frames "$work"/$size-wide$w-*.log | stats)
        m=$(frames "$work"/$size-refwide$w-*.log | stats)
        f=$(frames "$work"/$size-floorwide$w-*.log | stats)
        echo "| ${w}x240 | $(echo $g | cut -d' ' -f1-2 | tr ' ' /) | $(echo $m | cut -d' ' -f1-2 | tr ' ' /) | $(echo $f | cut -d' ' -f1-2 | tr ' ' /) | $(ratio "${g%% *}" "${f%% *}") | $(ratio "${g%% *}" "$base_g")x | $(ratio "${m%% *}" "$base_m")x |"
    done
done
echo
echo "game logic (window-free runner, null driver, callgrind): $logic_ir instructions over $logic_frames frames of play = $(awk -v a="$logic_ir" -v b="$logic_frames" 'BEGIN{gsub(",","",a); printf "%.0f", a/b}') a frame"
sed 's/^/  /' "$work/logic.txt"
if [ -n "${QBENCH_KEEP:-}" ]; then mkdir -p "$QBENCH_KEEP" && cp "$work"/*.log "$work"/load.txt "$work/logic.txt" "$QBENCH_KEEP"/; fi
