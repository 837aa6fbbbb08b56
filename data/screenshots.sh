#!/usr/bin/env bash
# Takes the README's screenshots: Corvane under Xvfb on a copy of samples/demo,
# the file-name replace job after a Try (replace.png) and the MP3 tag job (mp3.png).
#   ./dev screenshots [OUTPUT_FOLDER]     default: data/screenshots
# ./dev installs what the script needs and builds the program first.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
corvane="${CORVANE_BUILD_DIR:-$here/build}/bin/corvane"
out=$(realpath -m "${1:-$here/data/screenshots}")
[ -x "$corvane" ] || { echo "no program at $corvane: build it first (./dev test)" >&2; exit 1; }
mkdir -p "$out"

work=$(mktemp -d)
cleanup() {
    [ -n "${corvane_pid:-}" ] && kill "$corvane_pid" 2>/dev/null || true
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A screen of its own, big enough for the window with room around it.
exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -screen 0 1024x640x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 10 -u "$displayfd" screen || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$screen"
export LANG=C.UTF-8 QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1

cp -r "$here/samples/demo" "$work/demo"
# The demo folder has no MP3 files: a few with tags, for the MP3 job.
mkdir "$work/music"
/usr/bin/python3 - "$work/music" <<'PY'
import sys
from mutagen.id3 import ID3, TIT2, TPE1, TALB, TRCK, TCON, TDRC
songs = [("01 はじまりの朝.mp3", "はじまりの朝"), ("02 海辺の道.mp3", "海辺の道"),
         ("03 夕焼け.mp3", "夕焼け"), ("04 星の歌.mp3", "星の歌")]
for track, (name, title) in enumerate(songs, 1):
    path = f"{sys.argv[1]}/{name}"
    with open(path, "wb") as f:
        f.write(b"\xff\xfb\x90\x00" + bytes(413))  # one silent MPEG-1 Layer III frame
    tags = ID3()
    for frame in (TIT2(encoding=1, text=title), TPE1(encoding=1, text="青空バンド"),
                  TALB(encoding=1, text="旅の記録"), TRCK(encoding=1, text=str(track)),
                  TCON(encoding=1, text="Pop"), TDRC(encoding=1, text="2024")):
        tags.add(frame)
    tags.update_to_v23()  # the year as TYER, as ID3v2.3 writes it
    tags.save(path, v2_version=3)
PY

# Command files (UTF-8 with a byte-order mark) choose the job and load the folder.
command_file() {
    printf '\xef\xbb\xbf'
    printf '%s\r\n' "$@"
}
command_file 'Com=ファイル名置換' "FolderPath=$work/demo" 'Search=^(\D*)(\d+)' \
    'Replace=$1Format($2,"000")' > "$work/replace.dat"
command_file 'Com=ＭＰ３タグ編集' "FolderPath=$work/music" > "$work/mp3.dat"

mkdir "$work/settings"
# The window at a fixed place and size, with its menu bar, so that every run looks alike.
printf '%s\r\n' 'form left = 40' 'form top = 40' 'form right = 944' 'form bottom = 480' \
    'disp menu = -1' > "$work/settings/Conf.txt"

shot() {
    import -window "$1" "$2"
}

# Starts Corvane on a command file and waits until its window is drawn.
start() {
    CORVANE_SETTINGS_DIR="$work/settings" "$corvane" -com_file "$1" >/dev/null 2>&1 &
    corvane_pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Corvane' | head -n 1)
    [ -n "$window" ] || { echo "no window appeared" >&2; exit 1; }
    # Without a window manager the window is made active by hand, so that the
    # selection is drawn in the highlight colour.
    xdotool windowfocus "$window"
    sleep 2
}

stop() {
    kill "$corvane_pid"
    wait "$corvane_pid" 2>/dev/null || true
    corvane_pid=
}

start "$work/replace.dat"
# The buttons 試行, 実行 and 元に戻す stand at the right end of the row under the
# toolbar; 実行 is offered only once a Try has found something to do.
eval "$(xdotool getwindowgeometry --shell "$window")"
execute_button="60x20+$((WIDTH - 167))+59"
shot "$window" "$work/before.png"
xdotool mousemove --window "$window" $((WIDTH - 219)) 69 click 1
sleep 2
# The Try ends with a message box; Return closes it, and the list shows the result.
xdotool key Return
xdotool mousemove --window "$window" $((WIDTH / 2)) $((HEIGHT - 60))
sleep 1
shot "$window" "$out/replace.png"
convert "$work/before.png" -crop "$execute_button" +repage "$work/execute-before.png"
convert "$out/replace.png" -crop "$execute_button" +repage "$work/execute-after.png"
changed=$(compare -metric AE "$work/execute-before.png" "$work/execute-after.png" null: 2>&1 || true)
if ! [[ "$changed" =~ ^[0-9]+$ ]] || [ "$changed" -eq 0 ]; then
    echo "実行 was not offered after the click: it did not reach 試行, or the Try found nothing" >&2
    exit 1
fi
stop

start "$work/mp3.dat"
# A click on the header of the file names sorts the list by them.
xdotool mousemove --window "$window" 70 210 click 1
xdotool mousemove --window "$window" $((WIDTH / 2)) $((HEIGHT - 60))
sleep 1
shot "$window" "$out/mp3.png"
stop

optipng -quiet -o5 "$out/replace.png" "$out/mp3.png"
ls -l "$out/replace.png" "$out/mp3.png"
