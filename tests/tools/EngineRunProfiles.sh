#!/usr/bin/env bash
# The engine-run driver's profile commands: the list names every shipped category and profile,
# and a profile run converts a clip into a unique name in the folder and exits 0 when done.
set -euo pipefail
program="$1" media="$2" scratch="$3"
run="$program/engine-run.exe"
rm -rf "$scratch" && mkdir -p "$scratch"

list="$("$run" --list-profiles)"
for line in "General Video / DivX Movie" "Handheld Game Console / DPG Video" "Audio Only / MP3 Audio"; do
    grep -qxF "$line" <<<"$list" || { echo "missing from the list: $line"; exit 1; }
done

for expected in "clip_h264_aac.avi" "clip_h264_aac (1).avi"; do
    out="$("$run" --profile "DivX Movie" "$media/clip_h264_aac.mp4" "$scratch" 2>"$scratch/stderr.txt")" ||
        { echo "engine-run failed: $out"; cat "$scratch/stderr.txt"; exit 1; }
    grep -q "^output .*\\\\$expected\$" <<<"$out" || { echo "unexpected output line: $out"; exit 1; }
    grep -qx "state 4 progress 100.01" <<<"$out" || { echo "not done: $out"; exit 1; }
    [ -s "$scratch/$expected" ] || { echo "no file $expected"; exit 1; }
done

if "$run" --profile "divx movie" "$media/clip_h264_aac.mp4" "$scratch" >/dev/null 2>&1; then
    echo "a profile name differing in case was accepted"; exit 1
fi
if "$run" --profile "DivX Movie" "$media/garbage.avi" "$scratch" >/dev/null 2>&1; then
    echo "a broken source ended done"; exit 1
fi
echo "engine-run profile commands: ok"
