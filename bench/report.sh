#!/bin/bash
# Prints the benchmark's tables from the logs bench/run.sh wrote (its QBENCH_KEEP
# folder): every ratio is taken within a round, and the median of those is shown.
# Usage: bench/report.sh <log folder>
set -eu
L=${1:?usage: bench/report.sh <log folder>}

meta() { awk -v k="$1" '$1==k {$1=""; sub(/^ /, ""); print; exit}' "$L/meta.txt"; }
meta_of() { awk -v k="$1" -v s="$2" '$1==k && $2==s {print $3; exit}' "$L/meta.txt"; }
rounds=$(meta rounds)
# a log from before the parts were chosen holds them all
parts=$(meta parts)
has_part() { case " ${parts:-frames logic solve} " in *" $1 "*) return 0 ;; *) return 1 ;; esac; }
sizes=$(meta sizes)
widths=$(meta widths)
wide_frames=$(meta wide_frames)
read -r base_name base_sha <<<"$(meta base)"
narrow=${widths%% *}
wide=${widths##* }

# "median p99 worst count" in ms of the frames of a level (up to frame max, 0 for all) in a log.
frame_stats() {   # log, level, max
    if [ ! -f "$1" ]; then
        echo "- - - 0"
        return
    fi
    awk -v l="$2" -v m="$3" '$1=="f" && $2==l && (m==0 || $3<=m) {print $4}' "$1" | sort -n |
        awk '{a[NR]=$1} END{if(!NR){print "- - - 0"; exit}
            i=int(NR*0.99); if(i<NR*0.99) i++; if(i<1) i=1;
            mid=NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2;
            printf "%.2f %.2f %.2f %d\n", mid/1000, a[i]/1000, a[NR]/1000, NR}'
}
# Falls in logs of level one flown with no key: "median worst falls" in ms. A fall is the 110
# frames up to the life it cost; worst is the frame of a fall, counted from its end, whose
# median over every fall in the logs is highest, so one slow frame on a busy machine is not it.
fall_stats() {   # logs...
    awk 'function median(a, n,   i, j, x) {for(i=2;i<=n;i++){x=a[i]; for(j=i-1;j>0 && a[j]>x;j--) a[j+1]=a[j]; a[j+1]=x}
            return n%2 ? a[(n+1)/2] : (a[n/2]+a[n/2+1])/2}
        FNR==1 {file++} $1=="f" && $2==1 {t[file, $3]=$4} $1=="lost" && $2==1 {lost[++n]=file " " $3}
        END{if(!n){print "- - 0"; exit}
            for(i=1;i<=n;i++){split(lost[i], w, " "); for(k=0;k<110;k++) if((w[1], w[2]-k) in t) {
                v[k, ++c[k]]=t[w[1], w[2]-k]; all[++m]=t[w[1], w[2]-k]}}
            worst=0; for(k=0;k<110;k++){if(!c[k]) continue; for(j=1;j<=c[k];j++) a[j]=v[k,j];
                mid=median(a, c[k]); if(mid>worst) worst=mid}
            printf "%.2f %.2f %d\n", median(all, m)/1000, worst/1000, n}' "$@" 2>/dev/null || echo "- - 0"
}
# The median of the numbers on standard input ("-" skipped), with d decimals.
median() {   # decimals
    awk '$1!="-" && $1!=""' | sort -g | awk -v d="$1" '{a[++n]=$1} END{if(!n){print "-"; exit}
        printf "%.*f\n", d, n%2 ? a[(n+1)/2] : (a[n/2]+a[n/2+1])/2}'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{if(a!="-" && b!="-" && b>0) printf "%.2f\n", a/b; else print "-"}'; }
first_field() { awk -v k="$2" '$1==k {print $2; exit}' "$1" 2>/dev/null || true; }
mem_mb() {   # log, what, n -> "rss hwm" in MB
    awk -v w="$2" -v n="$3" '$1=="mem" && $2==w && $3==n {printf "%.1f/%.1f", $4/1024, $5/1024; exit}' "$1" 2>/dev/null || true
}
label() {
    case $1 in
    game) echo "game" ;;
    reference) echo "reference drawing" ;;
    floor) echo "floor" ;;
    base) echo "baseline ($base_name, $base_sha)" ;;
    esac
}

# The 1-minute load over a round's runs on one screen: lowest-highest of the samples, and the most compilers seen.
load_during() {   # round, size
    awk -v r="$1" -v s="$2" '
        $1=="run" && $2==r && $3==s {if(!t0 || $5<t0) t0=$5; if($10>t1) t1=$10; v[++n]=$6; v[++n]=$11;
            if($9>c) c=$9; if($14>c) c=$14}
        $1=="during" && $2==r {t[++m]=$3; l[m]=$4; cc[m]=$7}
        END{for(i=1;i<=m;i++) if(t[i]>=t0 && t[i]<=t1) {v[++n]=l[i]; if(cc[i]>c) c=cc[i]}
            if(!n){print "-"; exit} lo=hi=v[1]; for(i=1;i<=n;i++){if(v[i]<lo) lo=v[i]; if(v[i]>hi) hi=v[i]}
            printf "%.1f-%.1f%s\n", lo, hi, c ? sprintf(", %d compilers", c) : ""}' "$L/load.txt"
}

# Per-round figures of one screen into arrays keyed "what,round".
declare -A med p99
collect() {   # size
    local size=$1 n r what s
    n=$(meta_of sample "$size")
    for r in $(seq "$rounds"); do
        for what in game reference floor base; do
            read -r "med[$what,$r]" "p99[$what,$r]" _ <<<"$(frame_stats "$L/r$r-$size-$what.log" 1 "$n")"
        done
        for what in game reference floor; do
            for w in $widths; do
                s=$what-w$w
                read -r "med[$s,$r]" "p99[$s,$r]" _ <<<"$(frame_stats "$L/r$r-$size-$s.log" 1 "$wide_frames")"
            done
        done
    done
}
# One value a round and their median: "| label | r1 | r2 | ... | median |".
row_ratio() {   # label, numerator key, denominator key, table (med or p99)
    local -n t=$4
    local r line="| $1 |" all=""
    for r in $(seq "$rounds"); do
        local v
        v=$(ratio "${t[$2,$r]}" "${t[$3,$r]}")
        line="$line $v |"
        all="$all $v"
    done
    echo "$line $(echo "$all" | tr ' ' '\n' | median 2) |"
}
row_ms() {   # label, key
    local r line="| $1 |" ms="" ps=""
    for r in $(seq "$rounds"); do
        line="$line ${med[$2,$r]} / ${p99[$2,$r]} |"
        ms="$ms ${med[$2,$r]}"
        ps="$ps ${p99[$2,$r]}"
    done
    echo "$line $(echo "$ms" | tr ' ' '\n' | median 1) / $(echo "$ps" | tr ' ' '\n' | median 1) |"
}
rounds_median() {   # key, table
    local -n t=$2
    local r all=""
    for r in $(seq "$rounds"); do all="$all ${t[$1,$r]}"; done
    echo "$all" | tr ' ' '\n' | median 1
}
ratio_median() {   # numerator key, denominator key, table
    local -n t=$3
    local r all=""
    for r in $(seq "$rounds"); do all="$all $(ratio "${t[$1,$r]}" "${t[$2,$r]}")"; done
    echo "$all" | tr ' ' '\n' | median 2
}

echo
echo "Quovix benchmark, $(meta date), $rounds round(s), $(meta cores) cores, $(meta cpu)"
first=${sizes%% *}
sed -n 's/^OpenGL version/OpenGL version/p' "$L/r1-$first-game.log.stdout" 2>/dev/null | head -n 1
# the screens' tables only when their rounds ran (QBENCH_PARTS)
if has_part frames; then
echo
echo "The load (1 minute; compilers: other builds running) before, during and after each round:"
echo
echo "| round | before | during, lowest-highest | after | time (s) |"
echo "|---|---|---|---|---|"
for r in $(seq "$rounds"); do
    b=$(awk -v r="$r" '$1=="before" && $2==r {print $4; exit}' "$L/load.txt")
    a=$(awk -v r="$r" '$1=="after" && $2==r {print $4; exit}' "$L/load.txt")
    d=$(awk -v r="$r" '$1=="during" && $2==r {v[++n]=$4; if($7>c) c=$7} END{if(!n){print "-"; exit}
        lo=hi=v[1]; for(i=1;i<=n;i++){if(v[i]<lo) lo=v[i]; if(v[i]>hi) hi=v[i]}
        printf "%.1f-%.1f (%d samples)%s\n", lo, hi, n, c ? sprintf(", up to %d compilers", c) : ""}' "$L/load.txt")
    t=$(awk -v r="$r" '$1=="run" && $2==r {if(!t0 || $5<t0) t0=$5; if($10>t1) t1=$10} END{print t1-t0}' "$L/load.txt")
    echo "| $r | $b | $d | $a | $t |"
done

echo
echo "### Every screen: level one, the median of the rounds"
echo
echo "| screen | frames a run | game median / p99 (ms) | reference drawing | floor | baseline ($base_name) | game / reference drawing | game / baseline | game ${wide}x240 / ${narrow}x240 |"
echo "|---|---|---|---|---|---|---|---|---|"
for size in $sizes; do
    collect "$size"
    line="| $size | $(meta_of sample "$size") |"
    for what in game reference floor base; do line="$line $(rounds_median "$what" med) / $(rounds_median "$what" p99) |"; done
    line="$line $(ratio_median game reference med) | $(ratio_median game base med) | $(ratio_median "game-w$wide" "game-w$narrow" med)x |"
    echo "$line"
done

for size in $sizes; do
    collect "$size"
    n=$(meta_of sample "$size")
    header="|"
    rule="|---|"
    for r in $(seq "$rounds"); do
        header="$header round $r |"
        rule="$rule---|"
    done
    echo
    echo "### $size"
    echo
    echo "Level one, frames 1-$n of each run, and the first $wide_frames frames of the wider maps; ratios within each round:"
    echo
    echo "| figure $header median of the rounds |"
    echo "$rule---|"
    line="| load during the round's runs on this screen |"
    for r in $(seq "$rounds"); do line="$line $(load_during "$r" "$size") |"; done
    echo "$line |"
    for what in game reference floor base; do row_ms "$(label $what) median / p99 (ms)" "$what"; done
    row_ratio "game / reference drawing" game reference med
    row_ratio "game / floor" game floor med
    row_ratio "reference drawing / floor" reference floor med
    row_ratio "game / baseline" game base med
    row_ratio "game / baseline, p99" game base p99
    for what in game reference floor; do
        for w in $widths; do row_ms "$(label $what), ${w}x240 median / p99 (ms)" "$what-w$w"; done
    done
    for what in game reference floor; do
        row_ratio "$(label $what), ${wide}x240 / ${narrow}x240" "$what-w$wide" "$what-w$narrow" med
    done

    if [ -n "$(meta fall_frames)" ]; then
        echo
        echo "Falls: level one with no key held, three falls a run; a fall is the 110 frames before the life it costs; its worst frame the one (counted from the fall's end) whose median over the falls is highest; flight is the level-one sample above:"
        echo
        echo "| figure $header all rounds |"
        echo "$rule---|"
        for what in game base; do
            line="| $(label $what): fall median / worst frame (ms), falls |"
            for r in $(seq "$rounds"); do
                read -r fm fw fn <<<"$(fall_stats "$L/r$r-$size-$what-fall.log")"
                line="$line $fm / $fw, $fn |"
            done
            files=()
            for r in $(seq "$rounds"); do files+=("$L/r$r-$size-$what-fall.log"); done
            read -r fm fw fn <<<"$(fall_stats "${files[@]}")"
            line="$line $fm / $fw, $fn |"
            echo "$line"
            line="| $(label $what): worst fall frame / median flight frame |"
            for r in $(seq "$rounds"); do
                read -r fm fw fn <<<"$(fall_stats "$L/r$r-$size-$what-fall.log")"
                line="$line $(ratio "$fw" "${med[$what,$r]}") |"
            done
            echo "$line $(ratio "$fw" "$(rounds_median "$what" med)") |"
        done
    fi

    echo
    echo "| per launch, median of the rounds | game | reference drawing | baseline ($base_name) |"
    echo "|---|---|---|---|"
    for k in menu:"launch to first menu frame (ms)" play:"Enter to first frame of play (ms)"; do
        line="| ${k#*:} |"
        for what in game reference base; do
            v=$(for r in $(seq "$rounds"); do first_field "$L/r$r-$size-$what.log" "${k%%:*}"; done | median 1)
            line="$line $v |"
        done
        echo "$line"
    done
    line="| VmRSS / VmHWM at the menu, round 1 (MB) |"
    for what in game reference base; do line="$line $(mem_mb "$L/r1-$size-$what.log" menu 0) |"; done
    echo "$line"
    line="| VmRSS / VmHWM at the first frame of play, round 1 (MB) |"
    for what in game reference base; do line="$line $(mem_mb "$L/r1-$size-$what.log" play 1) |"; done
    echo "$line"

    g=$L/r1-$size-game.log
    echo
    echo "The game over whole levels, round 1 (frames counted between the game's own pauses; the window-free runner's count beside):"
    echo
    echo "| level | frames (runner) | median / p99 / worst (ms) | level change besides the pause (ms) | VmRSS / VmHWM after (MB) |"
    echo "|---|---|---|---|---|"
    for l in $(seq "$(meta_of whole "$size")"); do
        read -r m p w c <<<"$(frame_stats "$g" "$l" 0)"
        change=$(awk -v l="$l" '$1=="change" && $2==l {printf "%.1f", $4; exit}' "$g" 2>/dev/null || true)
        # the frame that paused ends the level: it is the level's last
        counted=$c
        [ -n "$change" ] && counted=$((c + 1))
        runner=$(awk -v l="$l" '$1=="level" && $2==l":" {for(i=1;i<NF;i++) if($(i+1)=="frames" && $(i+2)=="to") print $i}' "$L/logic.txt" 2>/dev/null || true)
        echo "| $l | $counted (${runner:--}) | $m / $p / $w | ${change:-none seen} | $(mem_mb "$g" after "$l") |"
    done
done
fi

echo
ir=$(meta logic_ir | tr -d ,)
frames=$(awk '/^frames of play/{print $4}' "$L/logic.txt" 2>/dev/null || true)
if [ -n "$ir" ] && [ -n "$frames" ]; then
    echo "Game logic (window-free runner, null driver, callgrind): $ir instructions over $frames frames of play = $((ir / frames)) a frame"
fi
sed 's/^/    /' "$L/logic.txt" 2>/dev/null || true
ir_base=$(meta logic_ir_base | tr -d ,)
frames_base=$(awk '/^frames of play/{print $4}' "$L/logic-base.txt" 2>/dev/null || true)
if [ -n "$ir_base" ] && [ -n "$frames_base" ] && [ -n "$ir" ] && [ -n "$frames" ]; then
    echo "The baseline ($base_name), the same game: $ir_base instructions over $frames_base frames = $((ir_base / frames_base)) a frame; game / baseline $(ratio $((ir / frames)) $((ir_base / frames_base)))"
fi
if [ -s "$L/keeping.txt" ]; then
    echo "Keeping every game (window-free):"
    sed 's/^/    /' "$L/keeping.txt"
fi

if has_part frames; then
# Runs that timed other than the frames they were meant to: a crash, a stop, or levels miscounted.
echo
bad=""
for size in $sizes; do
    n=$(meta_of sample "$size")
    for r in $(seq "$rounds"); do
        for f in "$L"/r"$r"-"$size"-*.log; do
            what=${f##*/r"$r"-"$size"-}
            what=${what%.log}
            want=$n
            case $what in *-w*) want=$wide_frames ;; *-fall) want=$(meta fall_frames) ;; esac
            have=$(frame_stats "$f" 1 "$want" | cut -d' ' -f4)
            [ "$have" = "$want" ] || bad="$bad r$r-$size-$what: $have of $want frames;"
        done
    done
done
if [ -z "$bad" ]; then
    echo "Every run timed the frames of level one it was meant to."
else
    echo "Runs short of their frames:$bad"
fi

fi

# Launches alone: the game's and the baseline's, in turns, each stopped at its first menu frame.
if [ -s "$L/launch.txt" ]; then
    echo
    echo "### Launch to the first menu frame, launches alone in turns (baseline $base_name)"
    echo
    echo "| screen | launches each | game (ms) | baseline (ms) | game / baseline, launch by launch | load (1 minute) |"
    echo "|---|---|---|---|---|---|"
    for size in $(awk '$1=="launch" {print $2}' "$L/launch.txt" | awk '!seen[$0]++'); do
        g=$(awk -v s="$size" '$1=="launch" && $2==s && $3=="game" {print $5}' "$L/launch.txt" | median 1)
        b=$(awk -v s="$size" '$1=="launch" && $2==s && $3=="base" {print $5}' "$L/launch.txt" | median 1)
        n=$(awk -v s="$size" '$1=="launch" && $2==s && $3=="game" && $5!=""' "$L/launch.txt" | wc -l)
        r=$(awk -v s="$size" '$1=="launch" && $2==s && $5!="" {t[$3 " " $4]=$5; k[$4]=1}
            END{for(i in k) if(t["game " i]!="" && t["base " i]>0) printf "%.3f\n", t["game " i]/t["base " i]}' "$L/launch.txt" | median 2)
        l=$(awk -v s="$size" '$1=="launch" && $2==s {v[++n]=$7} END{lo=hi=v[1]; for(i=1;i<=n;i++){if(v[i]<lo) lo=v[i]; if(v[i]>hi) hi=v[i]} printf "%.1f-%.1f", lo, hi}' "$L/launch.txt")
        echo "| $size | $n | $g | $b | $r | $l |"
    done
fi

# The solver: each level's CPU seconds for this commit's and the baseline's, and their ratio.
if [ -s "$L/solve.txt" ]; then
    echo
    echo "### The solver on the shipped levels (one core's time, user + system; baseline $base_name)"
    echo
    echo "| level | game (s) | frames searched | baseline (s) | frames searched | game / baseline | replay frames, lives lost, pickups: game / baseline |"
    echo "|---|---|---|---|---|---|---|"
    for l in $(awk '$1=="solve" {print $2}' "$L/solve.txt" | awk '!seen[$0]++'); do
        # the median over the rounds of each, and of the per-round ratios
        g=$(awk -v l="$l" '$1=="solve" && $2==l && $3=="game" {print $5}' "$L/solve.txt" | median 2)
        b=$(awk -v l="$l" '$1=="solve" && $2==l && $3=="base" {print $5}' "$L/solve.txt" | median 2)
        gs=$(awk -v l="$l" '$1=="solve" && $2==l && $3=="game" {print $9; exit}' "$L/solve.txt")
        bs=$(awk -v l="$l" '$1=="solve" && $2==l && $3=="base" {print $9; exit}' "$L/solve.txt")
        gr=$(awk -v l="$l" '$1=="solve" && $2==l && $3=="game" {print $6 ", " $7 ", " $8; exit}' "$L/solve.txt")
        br=$(awk -v l="$l" '$1=="solve" && $2==l && $3=="base" {print $6 ", " $7 ", " $8; exit}' "$L/solve.txt")
        rs=$(awk -v l="$l" '$1=="solve" && $2==l {t[$3 " " $4]=$5; r[$4]=1}
            END{for(k in r) if(t["game " k]!="" && t["base " k]>0) printf "%.3f\n", t["game " k]/t["base " k]}' "$L/solve.txt" | median 3)
        echo "| $l | $g | ${gs:--} | $b | ${bs:--} | $rs | ${gr:--} / ${br:--} |"
    done
fi

# Levels made from a seed: the median and slowest milliseconds a level over the seeds.
if [ -s "$L/levelgen.txt" ]; then
    echo
    echo "### Levels made from a seed (levelgen_make, 20 seeds a row, ideas in turn)"
    echo
    echo "| size | difficulty | median ms | slowest ms | most drafts |"
    echo "|---|---|---|---|---|"
    awk '$1=="levelgen" {printf "| %s | %s | %s | %s | %s |\n", $2, $3, $4, $5, $6}' "$L/levelgen.txt"
fi

# The random world: Enter to level one ready, and each next level's making frame, over the worlds.
if [ -s "$L/randomworld.txt" ]; then
    echo
    echo "### The random world (the picker's Enter to level one ready, each next level's frame)"
    echo
    echo "| | median ms | slowest ms |"
    echo "|---|---|---|"
    for col in 3 4 5 6 7 8; do
        name="level $((col - 2)) made in play"
        [ "$col" = 3 ] && name="Enter to level one ready"
        [ "$col" = 8 ] && name="a frame that makes none (median of each world's)"
        awk -v c="$col" '$1=="randomworld" {print $c}' "$L/randomworld.txt" | sort -n |
            awk -v n="$name" '{v[NR]=$1} END {if (NR) printf "| %s | %s | %s |\n", n, v[int((NR+1)/2)], v[NR]}'
    done
fi
