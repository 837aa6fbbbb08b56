#!/usr/bin/env bash
# Counts the user-space instructions of one unattended rename of COUNT files
# (default 10,000) under callgrind, which is deterministic where wall-clock
# figures on a shared machine are not, and prints them per file. With
# --profile, keeps callgrind.out in the current folder for callgrind_annotate.
# Usage: bench/callgrind_headless.sh [--profile] [BUILD_DIR] [COUNT]
set -euo pipefail
keep=""
if [ "${1:-}" = "--profile" ]; then keep=1; shift; fi
build=${1:-$(dirname "$0")/../build}
count=${2:-10000}
command -v valgrind >/dev/null || { echo "callgrind: skipped (install valgrind)"; exit 0; }
work=$(mktemp -d /dev/shm/corvane-callgrind.XXXXXX)
trap 'rm -rf "$work"' EXIT

mkdir "$work/d"
(cd "$work/d" && seq 1 "$count" | sed 's/.*/IMG_&.jpg/' | xargs touch)
out="$work/callgrind.out"
CORVANE_SETTINGS_DIR="$work/settings" valgrind --tool=callgrind --callgrind-out-file="$out" \
    "$build/bin/corvane" -folder "$work/d" -search '(\d+)' -pattern '<format($1,"000000")>' \
    -auto -quit -no_confirm 2>/dev/null >/dev/null
[ -e "$work/d/IMG_000001.jpg" ] || { echo "corvane did not rename" >&2; exit 1; }
total=$(sed -n 's/^summary: //p' "$out")
echo "files: $count"
echo "user-space instructions: $total ($(( total / count )) a file, start-up included)"
if [ -n "$keep" ]; then cp "$out" callgrind.out; echo "profile kept in callgrind.out"; fi
