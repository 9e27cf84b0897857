#!/bin/bash
# Quovix benchmark: start-up, start of play, level changes, frame cost, map
# growth, memory, the instructions of one frame of game logic and the solver's
# time on each shipped level, for the game
# as it is (its fast drawing), the same game drawing the reference way, the
# floor program and a baseline built from another commit (main by default,
# QBENCH_BASE to choose), under Xvfb with Mesa's software renderer.
#
# The programs take turns round by round (game, reference drawing, floor,
# baseline, then the map sizes; every other round in the opposite order), so a
# change of load on a shared machine falls on all of them alike; every ratio is
# taken within a round and the tables give the median of those per-round ratios.
# The load is written down before, during (every few seconds) and after each round.
#
# Usage: bench/run.sh [rounds]   (default 3)
# Environment: QBENCH_BASE (the baseline's commit, default main), QBENCH_PARTS (what
# to run, default "frames launch logic solve": the timed frames on the screens, launches
# to the first menu frame alone, the logic's instructions with the kept games, the solver
# against the baseline's; "levelgen" adds the time a level made from a seed takes at each
# size, and the random world's first level and each next one), QBENCH_LAUNCHES (launches a screen and program, default 15), QBENCH_SIZES
# (screens, default "1366x768 2560x1080 3840x2160"), QBENCH_FRAMES (frames of
# level one timed a run, default 600, 300 on a 3840x2160 screen), QBENCH_KEEP (a
# folder to keep the logs in; bench/report.sh prints the tables again from it).
# Needs: cmake g++ freeglut3-dev libglu1-mesa-dev xvfb xdotool x11-utils valgrind (Debian).
set -eu
rounds=${1:-3}
parts=${QBENCH_PARTS:-frames launch logic solve}
runs() { case " $parts " in *" $1 "*) return 0 ;; *) return 1 ;; esac; }
src=$(cd "$(dirname "$0")/.." && pwd)
bb=$src/build-bench
work=$(mktemp -d /tmp/qbench-XXXXXX)
logs=$work/logs
mkdir -p "$logs"
log() { echo "== $(date -u +%T) $*" >&2; }
# the raw cost of a frame: frames as fast as they are drawn, not held to 60 a second
export QUOVIX_FRAME_PACE=free

sizes=${QBENCH_SIZES:-1366x768 2560x1080 3840x2160}
# Trimmed to keep three rounds of three screens near 25 minutes on two cores: the
# programs compare a sample of level one, and only round one plays whole levels.
declare -A sample=([3840x2160]=300)      # frames of level one timed a run; 600 elsewhere
declare -A whole=([3840x2160]=1)         # levels the game plays whole in round one; 5 elsewhere
widths="7 128"                           # map widths, level one's columns repeated
wide_frames=60                           # frames of level one timed a map-size run
forward_step=0.0008                      # the ship's forward step a frame: the floor glides as fast
run_limit=600                            # seconds: a run that never sees its end is stopped (timeout outside the shim)
fall_frames=1510                         # level one with no key held: the ship falls at frames 503, 1006 and 1509

# --- builds ---------------------------------------------------------------
log "building the game and the bench pieces in $bb"
cmake -S "$src" -B "$bb" -DQUOVIX_BENCH=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$work/cfg.log"
cmake --build "$bb" -j2 --target quovix quovix-bench-logic quovix-bench-floor quovix-bench-widen \
    quovix-bench-launch quovix-bench-shim quovix-bench-keeping quovix-bench-levelgen quovix-bench-randomworld quovix-solve >"$work/build.log"

# The baseline: another commit's source, built once and kept by its commit.
base=${QBENCH_BASE:-main}
base_sha=$(git -C "$src" rev-parse --verify "$base^{commit}")
base_dir=$bb/baseline-${base_sha:0:12}
if [ ! -x "$base_dir/build/bin/quovix" ]; then
    log "building the baseline ($base, ${base_sha:0:12}) in $base_dir"
    rm -rf "$base_dir"
    mkdir -p "$base_dir/src"
    git -C "$src" archive "$base_sha" | tar -x -C "$base_dir/src"
    cmake -S "$base_dir/src" -B "$base_dir/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$work/cfg-base.log"
    cmake --build "$base_dir/build" -j2 --target quovix >"$work/build-base.log"
fi
# the baseline's logic frame and solver, built apart: a baseline kept from a run before may lack them
if runs logic && [ ! -x "$base_dir/build/bench/quovix-bench-logic" ] && [ -f "$base_dir/src/bench/logicframe.cpp" ]; then
    log "building the baseline's logic frame"
    cmake -S "$base_dir/src" -B "$base_dir/build" -DQUOVIX_BENCH=ON >>"$work/cfg-base.log"
    cmake --build "$base_dir/build" -j2 --target quovix-bench-logic >>"$work/build-base.log"
fi
if runs solve && [ ! -x "$base_dir/build/tools/quovix-solve" ]; then
    log "building the baseline's solver"
    cmake --build "$base_dir/build" -j2 --target quovix-solve >>"$work/build-base.log"
fi
declare -A program=([game]="$bb/bin/quovix" [reference]="$bb/bin/quovix" [base]="$base_dir/build/bin/quovix")

pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

{
    echo "date $(date -u +%F)"
    echo "rounds $rounds"
    echo "sizes $sizes"
    echo "base $base ${base_sha:0:12}"
    echo "cores $(nproc)"
    echo "cpu $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
    echo "parts $parts"
    echo "widths $widths"
    echo "fall_frames $fall_frames"
    echo "wide_frames $wide_frames"
    for size in $sizes; do
        echo "sample $size ${QBENCH_FRAMES:-${sample[$size]:-600}}"
        echo "whole $size ${whole[$size]:-5}"
    done
} >"$logs/meta.txt"

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
for w in $widths; do
    "$bb/bench/quovix-bench-widen" "$bb/resources/levelone.bmp" "$w" "$work/level-$w.bmp"
    folder "wide$w" "$work/level-$w.bmp"
done
replays=""
for l in $levels; do replays="$replays${replays:+:}$src/data/levels/$l.replay"; done
# falls: no key held, the ship flies straight on and falls through the track, three times
printf '%s -\n' "$fall_frames" >"$work/fall.replay"

# --- the load -----------------------------------------------------------------
# One line: seconds, the 1-, 5- and 15-minute load, compilers running (other builds on the machine).
load_now() { echo "$(date +%s) $(cut -d' ' -f1-3 /proc/loadavg) $(pgrep -c -x 'cc1plus' || true)"; }
sampler=""
start_sampler() {   # round
    (while :; do echo "during $1 $(load_now)"; sleep 5; done >>"$logs/load.txt") &
    sampler=$!
    pids+=("$sampler")
}
first_menu_ms() { awk '$1=="menu" {print $2; exit}' "$1" 2>/dev/null; }
stop_sampler() { kill "$sampler" 2>/dev/null || true; wait "$sampler" 2>/dev/null || true; }

# --- runs -------------------------------------------------------------------
start_x() {   # display, size
    Xvfb "$1" -screen 0 "$2"x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do xdpyinfo -display "$1" >/dev/null 2>&1 && return; sleep 0.1; done
    echo "Xvfb $1 did not start" >&2
    exit 1
}

# The game from launch: Enter on the menu once it is up, then the shim plays the replays.
run_game() {   # display, variant, folder, log, levels, frames[, replays]
    local out=$4
    # a window the screen's size: the game opens one of 3/4 of it unless told
    (cd "$work/$3/bin" && if [ "$2" = reference ]; then export QUOVIX_REFERENCE_DRAWING=1; fi &&
        DISPLAY=$1 LIBGL_ALWAYS_SOFTWARE=1 QBENCH_LOG=$out QBENCH_REPLAYS=${7:-$replays} \
        QBENCH_LEVELS=$5 QBENCH_FRAMES=$6 timeout "$run_limit" env LD_PRELOAD="$bb/bench/libquovix-bench-shim.so" \
        "$bb/bench/quovix-bench-launch" "${program[$2]}" --window "$size" >"$out.stdout" 2>&1) &
    local pid=$!
    for _ in $(seq 600); do grep -q '^menu' "$out" 2>/dev/null && break; sleep 0.05; done
    local win try
    # the game is the only client of this display with a named window
    win=$(DISPLAY=$1 xdotool search --name . | head -n 1)
    DISPLAY=$1 xdotool windowfocus "$win"
    sleep 0.5
    # Enter again if the game never heard it, rather than wait for the time limit
    for try in 1 2 3; do
        DISPLAY=$1 xdotool keydown Return
        sleep 0.3
        DISPLAY=$1 xdotool keyup Return
        for _ in $(seq 100); do grep -q '^enter' "$out" 2>/dev/null && break 2; sleep 0.05; done
        log "Enter not seen by the game on $1 (try $try)"
    done
    wait $pid
}

run_floor() {   # display, log, picture set, frames a level, level pictures...
    local d=$1 out=$2 pictures=$3 n=$4
    shift 4
    DISPLAY=$d LIBGL_ALWAYS_SOFTWARE=1 QBENCH_LOG=$out QBENCH_MODE=floor timeout "$run_limit" \
        env LD_PRELOAD="$bb/bench/libquovix-bench-shim.so" "$bb/bench/quovix-bench-launch" \
        "$bb/bench/quovix-bench-floor" "$bb/resources" "$pictures" "$n" $forward_step "$@" >"$out.stdout" 2>&1
}

# One program of one round on one screen, with the load at its start and end.
run_one() {   # round, size, display, what (game, reference, floor, base; -wN for a map width, -fall for falls)
    local r=$1 size=$2 d=$3 what=$4
    local out=$logs/r$r-$size-$what.log n=${QBENCH_FRAMES:-${sample[$size]:-600}}
    local kind=${what%%-*} wide="" pictures=$size
    [ "$what" != "$kind" ] && [ "$what" != "$kind-fall" ] && wide=${what#*-w}
    # a screen with no picture set of its own shows the 16:9 set stretched, as the game does
    [ -d "$bb/resources/$size" ] || pictures=1920x1080
    local start status=0
    start=$(load_now)
    if [ "$kind" = floor ]; then
        if [ -n "$wide" ]; then
            run_floor "$d" "$out" "$pictures" $wide_frames "$work/level-$wide.bmp" || status=$?
        else
            run_floor "$d" "$out" "$pictures" "$n" "$bb/resources/levelone.bmp" || status=$?
        fi
    elif [ "$what" = "$kind-fall" ]; then
        run_game "$d" "$kind" play "$out" 1 $fall_frames "$work/fall.replay" || status=$?
    elif [ -n "$wide" ]; then
        run_game "$d" "$kind" "wide$wide" "$out" 1 $wide_frames || status=$?
    elif [ "$kind" = game ] && [ "$r" = 1 ]; then
        run_game "$d" game play "$out" "${whole[$size]:-5}" 0 || status=$?
    else
        run_game "$d" "$kind" play "$out" 1 "$n" || status=$?
    fi
    # a run that failed is shown by its missing frames; the rounds go on
    [ $status = 0 ] || log "$what on $size in round $r ended with status $status"
    echo "run $r $size $what $start $(load_now)" >>"$logs/load.txt"
}

if runs frames; then
i=0
declare -A display
for size in $sizes; do
    display[$size]=:$((61 + i))
    start_x "${display[$size]}" "$size"
    i=$((i + 1))
done

order="game reference floor base game-fall base-fall"
for w in $widths; do order="$order game-w$w reference-w$w floor-w$w"; done
reversed=$(echo "$order" | tr ' ' '\n' | tac | tr '\n' ' ')
started=$(date +%s)
for r in $(seq "$rounds"); do
    echo "before $r $(load_now)" >>"$logs/load.txt"
    start_sampler "$r"
    this=$order
    [ $((r % 2)) = 0 ] && this=$reversed
    for size in $sizes; do
        log "round $r of $rounds, $size: $this"
        for what in $this; do run_one "$r" "$size" "${display[$size]}" "$what"; done
    done
    stop_sampler
    echo "after $r $(load_now)" >>"$logs/load.txt"
done
log "rounds done in $(($(date +%s) - started)) s"
fi

# --- launch to the first menu frame, alone: the game and the baseline in turns ------
# Each launch is stopped at its first menu frame; QBENCH_LAUNCHES a screen and program.
run_launch() {   # display, program key, log
    local out=$3 pid
    (cd "$work/play/bin" && DISPLAY=$1 LIBGL_ALWAYS_SOFTWARE=1 QBENCH_LOG=$out timeout 20 \
        env LD_PRELOAD="$bb/bench/libquovix-bench-shim.so" "$bb/bench/quovix-bench-launch" \
        "${program[$2]}" --window "$size" >/dev/null 2>&1) &
    pid=$!
    for _ in $(seq 400); do grep -q '^menu' "$out" 2>/dev/null && break; sleep 0.05; done
    pkill -TERM -P "$pid" 2>/dev/null || true
    pkill -TERM -f "${program[$2]} --window $size" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}
if runs launch; then
    i=0
    for size in $sizes; do
        d=:$((71 + i))
        i=$((i + 1))
        start_x "$d" "$size"
        log "launches on $size, the game and the baseline in turns"
        for n in $(seq "${QBENCH_LAUNCHES:-15}"); do
            turns="game base"
            [ $((n % 2)) = 0 ] && turns="base game"
            for who in $turns; do
                run_launch "$d" "$who" "$work/launch.log"
                echo "launch $size $who $n $(first_menu_ms "$work/launch.log") $(load_now)" >>"$logs/launch.txt"
                rm -f "$work/launch.log"
            done
        done
    done
fi

if runs logic; then
# --- callgrind: one frame of game logic, window-free, null driver -------------
log "callgrind over one whole game through the window-free runner"
valgrind --tool=callgrind --callgrind-out-file="$work/cg.out" --toggle-collect=bench_play_frame \
    "$bb/bench/quovix-bench-logic" "$work/play/bin" "$src/data/levels" >"$logs/logic.txt" 2>"$work/cg.err"
echo "logic_ir $(awk '/Collected :/{print $4}' "$work/cg.err")" >>"$logs/meta.txt"
if [ -x "$base_dir/build/bench/quovix-bench-logic" ]; then
    log "callgrind over the same game, the baseline's"
    valgrind --tool=callgrind --callgrind-out-file="$work/cg-base.out" --toggle-collect=bench_play_frame \
        "$base_dir/build/bench/quovix-bench-logic" "$work/play/bin" "$src/data/levels" >"$logs/logic-base.txt" 2>"$work/cg-base.err"
    echo "logic_ir_base $(awk '/Collected :/{print $4}' "$work/cg-base.err")" >>"$logs/meta.txt"
fi

# --- keeping every game: the recorder a frame, the records screen with 50 games ---
log "the recorder and the records screen, window-free"
"$bb/bench/quovix-bench-keeping" "$work/play/bin" >"$logs/keeping.txt"
fi

# --- the solver: each shipped level, this commit's and the baseline's in turns --
# One core's time (user and system) of each; one round unless QBENCH_SOLVE_ROUNDS
# says more, as the baseline may take minutes a level.
solve_one() {   # round, level, who (game, base)
    local solver=$bb/tools/quovix-solve out=$logs/solve-r$1-$2-$3
    [ "$3" = base ] && solver=$base_dir/build/tools/quovix-solve
    local TIMEFORMAT='%3U %3S'
    { time (cd "$work" && "$solver" "$src/data/levels/$2.txt" "$out.replay" >"$out.stdout" 2>"$out.stderr"); } 2>"$out.time" || true
    # level, who, round, CPU seconds (the last line: a signal's name may come first), then the
    # solver's own line: frames, lives lost, pickups, frames searched (none when it never ended)
    echo "solve $2 $3 $1 $(awk 'END {print $1 + $2}' "$out.time") $(sed -n 's/.*finish in \([0-9]*\) frames, \([0-9]*\) lives lost, \([0-9]*\) stars and hearts taken (\([0-9]*\) frames searched).*/\1 \2 \3 \4/p' "$out.stdout")" >>"$logs/solve.txt"
}
if runs solve; then
    log "the solver on the five levels, in turns with the baseline's"
    n=0
    for r in $(seq "${QBENCH_SOLVE_ROUNDS:-1}"); do
        for l in $levels; do
            # every other level the baseline goes first
            if [ $((n % 2)) = 0 ]; then turns="game base"; else turns="base game"; fi
            for who in $turns; do solve_one "$r" "$l" "$who"; done
            n=$((n + 1))
        done
    done
fi

# --- levels made from a seed: the library's time a level, 20 seeds a size and difficulty --
if runs levelgen; then
    log "levels made from a seed"
    "$bb/bench/quovix-bench-levelgen" 20 7x240 11x360 14x480 16x1024 32x1024 >"$logs/levelgen.txt"
    log "random worlds from the picker"
    "$bb/bench/quovix-bench-randomworld" 20 >"$logs/randomworld.txt"
fi

if [ -n "${QBENCH_KEEP:-}" ]; then mkdir -p "$QBENCH_KEEP" && cp "$logs"/* "$QBENCH_KEEP"/; fi
bash "$src/bench/report.sh" "$logs"
