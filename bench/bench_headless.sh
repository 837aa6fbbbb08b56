#!/usr/bin/env bash
# The unattended rename of COUNT files named IMG_<n>.jpg under /dev/shm against
# (a) the bare two-pass loop renameloop and (b) perl's rename (file-rename -0 -d,
# one process, from Debian's package "rename"; -d matches the name only, as
# Corvane does), and beside them the one-pass loop (each file renamed once, the
# floor under perl) and perl's rename without -d, which matches the whole
# "./name" and skips splitting it. Each round runs every contender
# in turn on a fresh copy of one tree; the figures are the medians over the
# rounds of the per-round ratios, so a busy moment of a shared machine weighs
# on one round only. Also prints Corvane's peak memory and, with strace at
# hand, the system calls per file of Corvane and of the loop.
# Usage: bench/bench_headless.sh [BUILD_DIR] [COUNT] [ROUNDS]
set -euo pipefail
build=${1:-$(dirname "$0")/../build}
count=${2:-100000}
rounds=${3:-5}
work=$(mktemp -d /dev/shm/corvane-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
pattern='<format($1,"000000")>'

mkdir "$work/tree"
(cd "$work/tree" && seq 1 "$count" | sed 's/.*/IMG_&.jpg/' | xargs touch)
fresh() { rm -rf "$work/d" "$work/settings" && cp -r "$work/tree" "$work/d"; }
renamed() { [ -e "$work/d/IMG_000001.jpg" ] || { echo "$1 did not rename" >&2; exit 1; }; }

corvane() {
    CORVANE_SETTINGS_DIR="$work/settings" "$@" "$build/bin/corvane" -folder "$work/d" -search '(\d+)' \
        -pattern "$pattern" -auto -quit -no_confirm
}
loop() { "$@" "$build/bin/renameloop" "$work/d"; }
onePass() { "$@" "$build/bin/renameloop" -1 "$work/d"; }
perlRename() {
    (cd "$work/d" && find . -maxdepth 1 -name 'IMG_*' -print0 \
        | "$@" file-rename -0 $perlNameOnly 's/(\d+)/sprintf("%06d",$1)/e')
}
perlNameOnly=-d
perlOnPaths() { perlNameOnly="" perlRename "$@"; }

# Wall seconds and peak KB of one run on a fresh tree.
timed() {
    fresh
    local figures
    figures=$("$1" /usr/bin/time -f '%e %M' 2>&1 >/dev/null | tail -1)
    renamed "$1"
    echo "$figures"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { echo "scale=3; $1 / $2" | bc; }

havePerl=""
command -v file-rename >/dev/null && havePerl=1
: >"$work/walls" >"$work/loopRatios" >"$work/perlRatios" >"$work/peaks" >"$work/perlOnePass" >"$work/pathRatios"
for round in $(seq 1 "$rounds"); do
    read -r wall peak < <(timed corvane)
    read -r loopWall _ < <(timed loop)
    echo "$wall" >>"$work/walls"
    echo "$peak" >>"$work/peaks"
    ratio "$wall" "$loopWall" >>"$work/loopRatios"
    read -r oneWall _ < <(timed onePass)
    line="round $round: corvane ${wall} s, loop ${loopWall} s, one-pass loop ${oneWall} s"
    if [ -n "$havePerl" ]; then
        read -r perlWall _ < <(timed perlRename)
        ratio "$wall" "$perlWall" >>"$work/perlRatios"
        ratio "$perlWall" "$oneWall" >>"$work/perlOnePass"
        read -r pathWall _ < <(timed perlOnPaths)
        ratio "$wall" "$pathWall" >>"$work/pathRatios"
        line="$line, perl ${perlWall} s, perl without -d ${pathWall} s"
    fi
    echo "$line"
done

echo "files: $count, rounds: $rounds (medians)"
echo "load: $(uptime | sed 's/.*load average/load average/')"
echo "corvane -auto -quit: wall $(median <"$work/walls") s, peak memory $(( $(median <"$work/peaks") / 1024 )) MB"
echo "corvane / two-pass loop: $(median <"$work/loopRatios")"
if [ -n "$havePerl" ]; then
    echo "corvane / perl rename:   $(median <"$work/perlRatios")"
    echo "perl rename / one-pass loop: $(median <"$work/perlOnePass") (a two-pass run cannot beat perl where this is below 2)"
    echo "corvane / perl rename without -d: $(median <"$work/pathRatios")"
else
    echo "corvane / perl rename:   skipped (install the package rename)"
fi

# System calls per file, counted once outside the timed rounds.
if command -v strace >/dev/null; then
    calls() {
        fresh
        "$1" strace -f -c -o "$work/strace" >/dev/null 2>&1
        renamed "$1"
        awk -v n="$count" '
            $NF == "statx" || $NF == "renameat2" || $NF == "write" { per[$NF] = sprintf(", %s %.2f", $NF, $4 / n) }
            $NF == "total" { total = $4 }
            END { printf "%.2f a file (%s)\n", total / n, substr(per["statx"] per["renameat2"] per["write"], 3) }
        ' "$work/strace"
    }
    echo "system calls, corvane: $(calls corvane)"
    echo "system calls, loop:    $(calls loop)"
else
    echo "system calls: skipped (install strace)"
fi
