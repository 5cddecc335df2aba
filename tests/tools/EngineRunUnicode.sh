#!/usr/bin/env bash
# The driver takes file names the system code page cannot spell, as the program does: a source and
# an output (in a folder whose name has a dot) by their short names, and a profile run into a new
# folder; each output is read back by its long name.
set -euo pipefail
program="$1" media="$2" scratch="$3"
run="$program/engine-run.exe"
rm -rf "$scratch" && mkdir -p "$scratch/my.videos dir" "$scratch/中文 out"
source="my.videos dir/Ünïcode 中文 clip.mp4"
cp "$media/clip_h264_aac.mp4" "$scratch/$source"
cd "$scratch"

fail() { echo "$1"; cat stderr.txt 2>/dev/null || true; exit 1; }
# "--info" reads a file back: its codecs and its length in microseconds.
facts() { "$run" --info "$1" | grep -E '^(duration|video.codec|audio.codec)='; }
expect_fact() { grep -qxE "$2" <<<"$1" || fail "expected $2 in: $1"; }
# The output lasts as long as the source, give or take a tenth of a second (audio padding).
expect_length() {
    local length; length="$(sed -n 's/^duration=//p' <<<"$1")"
    [ -n "$length" ] && [ $((length - sourceLength)) -lt 100000 ] && [ $((sourceLength - length)) -lt 100000 ] ||
        fail "expected about $sourceLength microseconds in: $1"
}

sourceFacts="$(facts "$source")" || fail "the Unicode source cannot be probed"
sourceLength="$(sed -n 's/^duration=//p' <<<"$sourceFacts")"

out="$("$run" --args "-vcodec mpeg4 -acodec libmp3lame" "$source" "中文 out/Ü 中文.mp4" 2>stderr.txt)" ||
    fail "engine-run failed: $out"
grep -qx "state 4 progress 100.01" <<<"$out" || fail "not done: $out"
[ -s "中文 out/Ü 中文.mp4" ] || fail "no output under its long name"
[ "$(ls "中文 out")" = "Ü 中文.mp4" ] || fail "other files in the output folder: $(ls "中文 out")"
written="$(facts "中文 out/Ü 中文.mp4")" || fail "the output cannot be read back"
expect_fact "$written" "video.codec=mpeg4"
expect_fact "$written" "audio.codec=mp3(float)?"
expect_length "$written"

# A time limit writes numbered segments under the long name; the name reserved for the engine goes.
mkdir "中文 segments"
out="$("$run" --args "-vcodec mpeg4 -acodec libmp3lame -t 1" "$source" "中文 segments/Ü 中文.mp4" 2>stderr.txt)" ||
    fail "the segmented run failed: $out"
[ "$(ls "中文 segments" | tr '\n' '|')" = "Ü 中文 - 01.mp4|Ü 中文 - 02.mp4|Ü 中文 - 03.mp4|" ] ||
    fail "unexpected segments: $(ls "中文 segments")"
expect_fact "$(facts "中文 segments/Ü 中文 - 02.mp4")" "video.codec=mpeg4"

# A thumbnail under a Unicode name.
"$run" --thumb "$source" "中文 out/Ü.bmp" 2>stderr.txt || fail "no thumbnail"
[ "$(head -c 2 "中文 out/Ü.bmp")" = "BM" ] || fail "the thumbnail is no bitmap"

# Absolute Unix paths, and a profile run into a folder that does not exist yet.
out="$("$run" --profile "DivX Movie" "$scratch/$source" "$scratch/中文 dir" 2>stderr.txt)" ||
    fail "engine-run --profile failed: $out"
grep -qx "state 4 progress 100.01" <<<"$out" || fail "not done: $out"
grep -q '^output .*\\中文 dir\\Ünïcode 中文 clip\.avi$' <<<"$out" || fail "unexpected output line: $out"
written="$(facts "中文 dir/Ünïcode 中文 clip.avi")" || fail "the profile's output cannot be read back"
expect_fact "$written" "video.codec=mpeg4"
expect_fact "$written" "audio.codec=mp3(float)?"
expect_length "$written"
echo "engine-run with Unicode names: ok"
