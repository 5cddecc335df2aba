#!/usr/bin/env bash
# Benchmarks of the converter, measured side by side in one run and printed as ratios:
#   1. the converter (through tools/engine-run) against our own plain transcode loop on the same
#      libraries and settings: the cost of the converter's machinery (goal: under 5 %);
#   2. the converter against HandBrakeCLI on the same source and target (goal: at least as fast);
#   3. throughput with 1, 2, 3 and 4 jobs side by side.
# Target: H.264/AAC MP4, same frame size, bit rates and x264 preset, codecs on every core.
# Environment: RW_BENCH_SECONDS (source length, default 30), RW_BENCH_SIZE (default 1280x720),
# RW_BENCH_REPEAT (runs per measurement, the best counts; default 3).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${RW_BUILD_DIR:-$root/build}"
seconds="${RW_BENCH_SECONDS:-30}"
size="${RW_BENCH_SIZE:-1280x720}"
repeat="${RW_BENCH_REPEAT:-3}"
width="${size%x*}"
height="${size#*x}"
vkbps=1500
akbps=128
preset=medium

"$root/tools/build.sh" >/dev/null
cmake --build "$build" --target rw_bench >/dev/null

if ! command -v HandBrakeCLI >/dev/null 2>&1; then
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    echo "bench: installing handbrake-cli"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends handbrake-cli >/dev/null
fi

. "$root/tools/wineprefix.sh"
prefix="$build/benchprefix"
if [ -d "$prefix/drive_c" ]; then
    export WINEPREFIX="$prefix" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
else
    rw_make_prefix "$prefix"
fi
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

work="$build/bench/work"
rm -rf "$work"
mkdir -p "$work"
source="$work/source.mp4"
"$build/bench/benchsource" "$source" "$seconds" "$width" "$height"
engine_run="$build/program/engine-run.exe"
args="-vcodec libx264 -preset $preset -s ${width}x${height} -r 25 -b $vkbps -acodec aac -ab $akbps -ar 44100 -ac 2 -threads 0"

now() { date +%s.%N; }
calc() { awk "BEGIN { print $* }"; }
# best SECONDS of $repeat runs of a command
best_of() {
    local best="" i start end t
    for ((i = 0; i < repeat; i++)); do
        start=$(now)
        "$@" >/dev/null 2>"$work/last.err" || { echo "bench: failed: $*" >&2; tail -5 "$work/last.err" >&2; exit 1; }
        end=$(now)
        t=$(calc "$end - $start")
        if [ -z "$best" ] || [ "$(calc "$t < $best")" = 1 ]; then best=$t; fi
    done
    echo "$best"
}
ratio() { printf '%.3f' "$(calc "$1 / $2")"; }

# Wine start-up and shut-down of the driver, measured on a job that fails at once.
startup=$(best_of bash -c "'$engine_run' '$work/missing.mp4' '$work/none.mp4' || true")
converter=$(best_of "$engine_run" --args "$args" "$source" "$work/converter.mp4")
plain=$(best_of "$build/bench/plain-transcode" "$source" "$work/plain.mp4" "$width" "$height" "$vkbps" "$akbps" "$preset" 0)
handbrake=$(best_of HandBrakeCLI -i "$source" -o "$work/handbrake.mp4" -f av_mp4 -e x264 --encoder-preset "$preset" \
    -b "$vkbps" -r 25 --cfr -w "$width" -l "$height" --crop 0:0:0:0 --non-anamorphic \
    -E av_aac -B "$akbps" -R 44.1 --mixdown stereo)
in_process=$(calc "$converter - $startup")

echo "source: ${seconds} s, ${width}x${height}, H.264/AAC -> H.264 (x264 $preset, $vkbps kbit/s)/AAC $akbps kbit/s MP4, $(nproc) cores, best of $repeat"
printf 'driver start-up and shut-down: %.2f s\n' "$startup"
printf 'converter: %.2f s (%.2f s without the driver start-up)\n' "$converter" "$in_process"
printf 'plain transcode loop: %.2f s\n' "$plain"
printf 'HandBrakeCLI: %.2f s\n' "$handbrake"
echo "converter / plain loop: $(ratio "$converter" "$plain") (without start-up $(ratio "$in_process" "$plain"); goal under 1.05)"
echo "converter / HandBrakeCLI: $(ratio "$converter" "$handbrake") (goal at most 1.0)"

single_args="${args% -threads 0}"
one=""
for n in 1 2 3 4; do
    t=$(best_of "$engine_run" --parallel "$n" --args "$single_args" "$source" "$work/parallel.mp4")
    throughput=$(calc "$n * $seconds / $t")
    [ -z "$one" ] && one=$throughput
    printf 'parallel %d: %.2f s, %.2f s of media per second, %.2f x one job\n' "$n" "$t" "$throughput" \
        "$(calc "$throughput / $one")"
done
