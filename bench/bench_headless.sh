#!/usr/bin/env bash
# Times the unattended rename of 100,000 files named IMG_<n>.jpg under
# /dev/shm against (a) a bare two-pass rename loop and (b) perl's rename
# (Debian package "rename"), and reports Corvane's peak memory.
# Usage: bench/bench_headless.sh [BUILD_DIR] [COUNT]
set -euo pipefail
build=${1:-$(dirname "$0")/../build}
count=${2:-100000}
work=$(mktemp -d /dev/shm/corvane-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

fill() {
    rm -rf "$work/d" && mkdir "$work/d"
    (cd "$work/d" && seq 1 "$count" | sed 's/.*/IMG_&.jpg/' | xargs touch)
}

# Best of three runs, each on a fresh folder: wall seconds, CPU seconds, peak KB.
seconds() { /usr/bin/time -f '%e %U %S %M' "$@" 2>&1 >/dev/null | tail -1 | awk '{ print $1, $2 + $3, $4 }'; }
best() {
    local best_wall="" best_cpu="" peak=""
    for _ in 1 2 3; do
        fill
        read -r wall cpu kb < <("$@")
        if [ -z "$best_wall" ] || (( $(echo "$wall < $best_wall" | bc) )); then best_wall=$wall; fi
        if [ -z "$best_cpu" ] || (( $(echo "$cpu < $best_cpu" | bc) )); then best_cpu=$cpu; fi
        peak=$kb
    done
    echo "$best_wall $best_cpu $peak"
}

runCorvane() {
    CORVANE_SETTINGS_DIR="$work/settings" seconds "$build/bin/corvane" \
        -folder "$work/d" -search '(\d+)' -pattern '<format($1,"000000")>' -auto -quit -no_confirm
    [ -e "$work/d/IMG_000001.jpg" ] || echo "corvane did not rename" >&2
}
runLoop() { seconds "$build/bin/renameloop" "$work/d"; }
runPerl() {
    (cd "$work/d" && seconds sh -c \
        'find . -maxdepth 1 -name "IMG_*" -print0 | xargs -0 file-rename "s/(\d+)/sprintf(\"%06d\",\$1)/e"')
}

ratio() { echo "scale=2; $1 / $2" | bc; }

read -r corvane corvaneCpu memory < <(best runCorvane)
read -r loop loopCpu _ < <(best runLoop)
echo "files: $count (best of three runs; wall and CPU seconds)"
echo "corvane -auto -quit:  wall ${corvane}  cpu ${corvaneCpu}  peak ${memory} KB"
echo "bare two-pass loop:   wall ${loop}  cpu ${loopCpu}  (corvane / loop: wall $(ratio "$corvane" "$loop"), cpu $(ratio "$corvaneCpu" "$loopCpu"))"
if command -v file-rename >/dev/null; then
    read -r perl perlCpu _ < <(best runPerl)
    echo "perl rename:          wall ${perl}  cpu ${perlCpu}  (corvane / perl: wall $(ratio "$corvane" "$perl"), cpu $(ratio "$corvaneCpu" "$perlCpu"))"
else
    echo "perl rename:          skipped (install the package rename)"
fi
