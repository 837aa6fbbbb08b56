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

seconds() { /usr/bin/time -f '%e %M' "$@" 2>&1 >/dev/null | tail -1; }

fill
read -r corvane memory < <(CORVANE_SETTINGS_DIR="$work/settings" seconds "$build/bin/corvane" \
    -folder "$work/d" -search '(\d+)' -pattern '<format($1,"000000")>' -auto -quit -no_confirm)
[ -e "$work/d/IMG_000001.jpg" ] || { echo "corvane did not rename" >&2; exit 1; }

fill
read -r loop _ < <(seconds "$build/bin/renameloop" "$work/d")

perl="skipped (install the package rename)"
if command -v file-rename >/dev/null; then
    fill
    read -r perl _ < <(cd "$work/d" && seconds sh -c \
        'find . -maxdepth 1 -name "IMG_*" -print0 | xargs -0 file-rename "s/(\d+)/sprintf(\"%06d\",\$1)/e"')
fi

echo "files:                 $count"
echo "corvane -auto -quit:   ${corvane} s, peak ${memory} KB"
echo "bare two-pass loop:    ${loop} s   (corvane / loop = $(echo "scale=2; $corvane / $loop" | bc))"
if [[ $perl =~ ^[0-9.]+$ ]]; then
    echo "perl rename:           ${perl} s   (corvane / perl = $(echo "scale=2; $corvane / $perl" | bc))"
else
    echo "perl rename:           $perl"
fi
