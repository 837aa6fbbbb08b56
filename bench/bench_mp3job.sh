#!/usr/bin/env bash
# Times the unattended MP3 job (title, artist and track from names like
# "Artist - 07 - Title.mp3", read from a command file) against the same edit
# made by mutagen from one Python process, on copies of one generated set
# under /dev/shm. Three runs each, alternating; prints medians and the ratio.
# Usage: bench/bench_mp3job.sh [BUILD_DIR] [COUNT...]   (default counts: 10000 100000)
set -euo pipefail
build=${1:-$(dirname "$0")/../build}
shift || true
counts=("$@")
[ ${#counts[@]} -eq 0 ] && counts=(10000 100000)
python=/usr/bin/python3
work=$(mktemp -d /dev/shm/corvane-mp3.XXXXXX)
trap 'rm -rf "$work"' EXIT

if ! "$python" -c 'import mutagen' 2>/dev/null; then
    echo "mutagen: missing (install the package python3-mutagen); only Corvane is timed"
    mutagen=""
else
    mutagen=yes
fi

# The set: an ID3v2.3 tag with old title, artist and album, padding, a few
# MPEG frames, and an ID3v1 block on every second file.
cat >"$work/generate.py" <<'EOF'
import os, random, struct, sys
folder, count = sys.argv[1], int(sys.argv[2])
random.seed(7)
os.makedirs(folder)
def frame(name, text):
    body = b"\0" + text.encode("latin-1")
    return name.encode() + struct.pack(">I", len(body)) + b"\0\0" + body
def synchsafe(n):
    return bytes([(n >> 21) & 127, (n >> 14) & 127, (n >> 7) & 127, n & 127])
for i in range(count):
    artist = "Band %d" % (i % 20)
    name = "%s - %02d - Song %d.mp3" % (artist, i % 20 + 1, i)
    frames = frame("TIT2", "Old Title %d" % i) + frame("TPE1", "Old Artist") + frame("TALB", "Old Album %d" % (i % 7))
    frames += b"\0" * random.randint(1024, 4096)
    audio = b"".join(b"\xff\xfb\x90\x64" + os.urandom(413) for _ in range(random.randint(6, 10)))
    data = b"ID3\x03\0\0" + synchsafe(len(frames)) + frames + audio
    if i % 2:
        data += b"TAG" + b"Old Title".ljust(30, b"\0") + b"Old Artist".ljust(30, b"\0") + b"\0" * 30 + b"2001" + b"\0" * 30 + b"\x0c"
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)
EOF

cat >"$work/mutagen_job.py" <<'EOF'
import os, re, sys
from mutagen.id3 import ID3, TIT2, TPE1, TRCK
name = re.compile(r"^(.+) - (\d+) - (.+)\.mp3$")
folder = sys.argv[1]
for entry in os.listdir(folder):
    m = name.match(entry)
    if not m:
        continue
    tag = ID3(os.path.join(folder, entry))
    tag.add(TIT2(encoding=0, text=m.group(3)))
    tag.add(TPE1(encoding=0, text=m.group(1)))
    tag.add(TRCK(encoding=0, text=m.group(2)))
    tag.save()
EOF

# The command file, as the window saves it: code page 932, CR LF lines, the
# thirteen column templates joined by U+0001.
commandFile() {
    "$python" - "$1" "$2" <<'EOF'
import sys
boxes = ["<FileName>", "$3", "$1", "<Album>", "<Genre>", "$2", "<Encode>", "<Year>", "<Comment>", "<Path>",
         "<並べ替え用>", "<ID3 Ver>", "<Save>"]
lines = ["Com=ＭＰ３タグ編集", "FolderPath=" + sys.argv[2], r"Search=^(.+) - (\d+) - (.+)\.mp3$",
         "Tag=\x01" + "\x01".join(boxes) + "\x01", ""]
open(sys.argv[1], "wb").write("\r\n".join(lines).encode("cp932"))
EOF
}

# Wall seconds and peak KB of one command.
measure() { /usr/bin/time -f '%e %M' "$@" 2>&1 >/dev/null | tail -1; }
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }

for count in "${counts[@]}"; do
    rm -rf "$work/set" "$work/d"
    "$python" "$work/generate.py" "$work/set" "$count"
    commandFile "$work/job.dat" "$work/d"
    corvaneTimes=() corvanePeak="" mutagenTimes=()
    for _ in 1 2 3; do
        rm -rf "$work/d" "$work/settings" && cp -r "$work/set" "$work/d"
        read -r wall kb < <(CORVANE_SETTINGS_DIR="$work/settings" measure \
            "$build/bin/corvane" -com_file "$work/job.dat" -auto -quit -no_confirm)
        corvaneTimes+=("$wall") corvanePeak=$kb
        if [ -n "$mutagen" ]; then
            rm -rf "$work/d" && cp -r "$work/set" "$work/d"
            read -r wall _ < <(measure "$python" "$work/mutagen_job.py" "$work/d")
            mutagenTimes+=("$wall")
        fi
    done
    corvane=$(median "${corvaneTimes[@]}")
    echo "files: $count (median of three runs, wall seconds)"
    echo "corvane -com_file -auto -quit: ${corvane}  (runs ${corvaneTimes[*]}; peak ${corvanePeak} KB)"
    if [ -n "$mutagen" ]; then
        peer=$(median "${mutagenTimes[@]}")
        echo "mutagen, one process:          ${peer}  (runs ${mutagenTimes[*]}; mutagen / corvane: $(echo "scale=2; $peer / $corvane" | bc))"
    fi
done
