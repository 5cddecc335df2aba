#!/usr/bin/env bash
# Benchmarks of the converter, measured side by side in one run and printed as ratios. Each
# figure is the best of RW_BENCH_REPEAT runs (default 3): wall seconds and CPU seconds (user +
# system of the process and its children) counted apart, with the load average beside it. The
# programs compared on one workload take turns, round after round, so that a shared machine's
# load weighs on all of them alike; CPU seconds, which that load changes least, are also given
# without the driver's start-up, which the program pays once and not per conversion.
#   1. 720p to 720p H.264/AAC MP4 with x264 medium: the converter against our own plain transcode
#      loop on the same libraries and settings (the cost of the converter's machinery, goal under
#      5 %) and against HandBrakeCLI;
#   2. device workloads, each against our plain loop, the converter's one-thread run and, where it
#      has the codecs, HandBrakeCLI:
#      (a) 640x480 H.264/AAC, 180 s, to 320x240 x264 veryfast 500 kbit/s + AAC 128 kbit/s MP4;
#      (b) 1280x720 to the "iPhone H.264 Video" profile, run as the task manager runs it;
#      (c) 1920x1080 to 640x480 MPEG-4 + MP3 AVI (HandBrake has no such encoder pair);
#      (d) audio only, 180 s, to MP3 128 kbit/s;
#      goals: wall time at most 0.9 of HandBrakeCLI's on (a) and (b), CPU time at most 1.05 of
#      the plain loop's on each;
#   3. throughput with 1, 2, 3 and 4 jobs of (a) side by side (goal: 4 jobs at least 3.2 times one),
#      with the CPU seconds each job took and the best ratio those allow on idle cores.
# Environment: RW_BENCH_SECONDS (720p source length, default 30), RW_BENCH_DEVICE_SECONDS (the
# device sources of (a) and (d), default 180), RW_BENCH_LARGE_SECONDS (the sources of (b) and (c),
# default 60), RW_BENCH_REPEAT, RW_BENCH_ONLY (a space-separated subset of: 720p a b c d parallel).
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

device_seconds="${RW_BENCH_DEVICE_SECONDS:-180}"
large_seconds="${RW_BENCH_LARGE_SECONDS:-60}"
only="${RW_BENCH_ONLY:-720p a b c d parallel}"

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
engine_run="$build/program/engine-run.exe"
plain_transcode="$build/bench/plain-transcode"
wants() { [[ " $only " == *" $1 "* ]]; }
calc() { awk "BEGIN { print $* }"; }
ratio() { printf '%.3f' "$(calc "$1 / $2")"; }

# One figure: "WALL CPU LOAD", wall and CPU seconds (user + system) of one run and the 1-minute load
# average when it started.
run_once() {
    local load w u s
    load=$(cut -d' ' -f1 /proc/loadavg)
    /usr/bin/time -f '%e %U %S' -o "$work/last.time" "$@" >/dev/null 2>"$work/last.err" ||
        { echo "bench: failed: $*" >&2; tail -5 "$work/last.err" >&2; exit 1; }
    read -r w u s <"$work/last.time"
    echo "$w $(calc "$u + $s") $load"
}
# best_of COMMAND...: the least wall and the least CPU seconds over $repeat runs, with the load
# average beside the least CPU figure
best_of() {
    local best="" i now
    for ((i = 0; i < repeat; i++)); do
        now=$(run_once "$@")
        best=$(keep_best "$best" "$now")
    done
    echo "$best"
}
keep_best() { # keep_best BEST NOW: the least wall and the least CPU of the two
    [ -z "$1" ] && { echo "$2"; return; }
    local wall cpu load
    wall=$(wall_of "$1")
    [ "$(calc "$(wall_of "$2") < $wall")" = 1 ] && wall=$(wall_of "$2")
    cpu=$(cpu_of "$1") load=$(load_of "$1")
    [ "$(calc "$(cpu_of "$2") < $cpu")" = 1 ] && { cpu=$(cpu_of "$2"); load=$(load_of "$2"); }
    echo "$wall $cpu $load"
}
# compare NAME...: runs the functions run_NAME in turn, $repeat rounds, so that the figures being
# compared are taken at the same moments of a shared machine; best[NAME] holds each one's best.
declare -A best
compare() {
    local i name now
    for name in "$@"; do best[$name]=""; done
    for ((i = 0; i < repeat; i++)); do
        for name in "$@"; do
            now=$("run_$name") || exit 1
            best[$name]=$(keep_best "${best[$name]}" "$now")
        done
    done
}
# handbrake SOURCE OUTPUT WIDTH HEIGHT VIDEO_KBPS AUDIO_KBPS [more settings...]: one HandBrakeCLI
# run to H.264/AAC MP4 at 25 frames per second, without cropping
handbrake() {
    local src=$1 out=$2 w=$3 h=$4 vb=$5 ab=$6
    shift 6
    run_once HandBrakeCLI -i "$src" -o "$out" -f av_mp4 -e x264 "$@" -b "$vb" -r 25 --cfr -w "$w" -l "$h" \
        --crop 0:0:0:0 --non-anamorphic -E av_aac -B "$ab" -R 44.1 --mixdown stereo
}
wall_of() { echo "$1" | cut -d' ' -f1; }
cpu_of() { echo "$1" | cut -d' ' -f2; }
load_of() { echo "$1" | cut -d' ' -f3; }
sources="$build/bench/sources"
mkdir -p "$sources"
source_of() { # source_of SECONDS WIDTH HEIGHT: the generated clip (kept between runs)
    local path="$sources/source-$1s-$2x$3.mp4"
    [ -f "$path" ] || "$build/bench/benchsource" "$path" "$1" "$2" "$3"
    echo "$path"
}

echo "$(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) before the run, best of $repeat"
startup=$(best_of bash -c "'$engine_run' '$work/missing.mp4' '$work/none.mp4' || true")
printf 'driver start-up and shut-down (in every converter figure): %.2f s, CPU %.2f s\n' "$(wall_of "$startup")" \
    "$(cpu_of "$startup")"

fig() { printf '%.2f s / CPU %.2f s (load %s)' "$(wall_of "$1")" "$(cpu_of "$1")" "$(load_of "$1")"; }
# The converter's CPU seconds without the driver's start-up and shut-down, which the program pays
# once and not per conversion.
job_cpu() { calc "$(cpu_of "$1") - $(cpu_of "$startup")"; }

if wants 720p; then
    source=$(source_of "$seconds" "$width" "$height")
    args="-vcodec libx264 -preset $preset -s ${width}x${height} -r 25 -b $vkbps -acodec aac -ab $akbps -ar 44100 -ac 2 -threads 0"
    run_conv() { run_once "$engine_run" --args "$args" "$source" "$work/converter.mp4"; }
    run_hb() { handbrake "$source" "$work/handbrake.mp4" "$width" "$height" "$vkbps" "$akbps" --encoder-preset "$preset"; }
    run_plain() { run_once "$plain_transcode" "$source" "$work/plain.mp4" size=${width}x${height} vb=$vkbps ab=$akbps preset=$preset; }
    run_one() { run_once env RW_TRANSCODE_ONE_THREAD=1 "$engine_run" --args "$args" "$source" "$work/one-thread.mp4"; }
    compare conv hb plain one
    converter=${best[conv]} handbrake=${best[hb]} plain=${best[plain]} one_thread=${best[one]}
    in_process=$(calc "$(wall_of "$converter") - $(wall_of "$startup")")
    echo "720p: ${seconds} s, ${width}x${height}, H.264/AAC -> H.264 (x264 $preset, $vkbps kbit/s)/AAC $akbps kbit/s MP4"
    echo "  converter $(fig "$converter") ($(printf '%.2f' "$in_process") s without the driver start-up); one-thread run $(fig "$one_thread")"
    echo "  plain loop $(fig "$plain"); HandBrakeCLI $(fig "$handbrake")"
    echo "  converter / plain loop: wall $(ratio "$(wall_of "$converter")" "$(wall_of "$plain")") (without start-up $(ratio "$in_process" "$(wall_of "$plain")"); goal under 1.05), CPU $(ratio "$(cpu_of "$converter")" "$(cpu_of "$plain")") (without start-up $(ratio "$(job_cpu "$converter")" "$(cpu_of "$plain")"))"
    echo "  converter / one-thread run: wall $(ratio "$(wall_of "$converter")" "$(wall_of "$one_thread")") (goal at most 1.0)"
    echo "  converter / HandBrakeCLI: wall $(ratio "$(wall_of "$converter")" "$(wall_of "$handbrake")"), CPU $(ratio "$(cpu_of "$converter")" "$(cpu_of "$handbrake")")"
fi

# device LABEL: one line per workload from best[conv], best[one], best[plain] and, when
# measured, best[hb]
device() {
    local label=$1 conv=${best[conv]} one=${best[one]} plain=${best[plain]} hb=${best[hb]:-}
    local line="$label: converter $(fig "$conv"), one-thread $(fig "$one"), plain loop $(fig "$plain")"
    [ -n "$hb" ] && line+=", HandBrakeCLI $(fig "$hb"); wall / HandBrakeCLI $(ratio "$(wall_of "$conv")" "$(wall_of "$hb")") (goal <= 0.9)"
    line+="; wall / one-thread $(ratio "$(wall_of "$conv")" "$(wall_of "$one")"); CPU / plain loop $(ratio "$(cpu_of "$conv")" "$(cpu_of "$plain")"), without the driver start-up $(ratio "$(job_cpu "$conv")" "$(cpu_of "$plain")") (goal <= 1.05)"
    echo "$line"
}

device_args="-vcodec libx264 -preset veryfast -s 320x240 -r 25 -b 500 -pix_fmt yuv420p -acodec aac -ab 128 -ar 44100 -ac 2 -threads 0"
if wants a; then
    source=$(source_of "$device_seconds" 640 480)
    run_conv() { run_once "$engine_run" --args "$device_args" "$source" "$work/a.mp4"; }
    run_hb() { handbrake "$source" "$work/a-hb.mp4" 320 240 500 128 --encoder-preset veryfast; }
    run_plain() { run_once "$plain_transcode" "$source" "$work/a-plain.mp4" size=320x240 vb=500 preset=veryfast ab=128; }
    run_one() { run_once env RW_TRANSCODE_ONE_THREAD=1 "$engine_run" --args "$device_args" "$source" "$work/a1.mp4"; }
    compare conv hb plain one
    device "(a) ${device_seconds} s 640x480 -> 320x240 x264 veryfast 500k + AAC 128k"
fi

if wants b; then
    source=$(source_of "$large_seconds" 1280 720)
    profile="iPhone H.264 Video"
    # The profile letterboxes the 16:9 picture into 480x320 (x264 medium, baseline, level 3.0):
    # HandBrakeCLI and the plain loop pad it the same way, so that all encode the same frame.
    run_conv() { rm -rf "$work/b" && mkdir -p "$work/b" && run_once "$engine_run" --profile "$profile" "$source" "$work/b"; }
    run_hb() {
        handbrake "$source" "$work/b-hb.mp4" 480 270 1000 128 --encoder-profile baseline --encoder-level 3.0 \
            --pad width=480:height=320
    }
    run_plain() {
        run_once "$plain_transcode" "$source" "$work/b-plain.mp4" size=480x270 pad=480x320 vb=1000 profile=baseline \
            level=30 bf=0 ab=128
    }
    run_one() {
        rm -rf "$work/b1" && mkdir -p "$work/b1" &&
            run_once env RW_TRANSCODE_ONE_THREAD=1 "$engine_run" --profile "$profile" "$source" "$work/b1"
    }
    compare conv hb plain one
    device "(b) ${large_seconds} s 1280x720 -> \"$profile\" (480x320 letterboxed, x264 baseline 1000k + AAC 128k)"
fi

unset 'best[hb]'
if wants c; then
    source=$(source_of "$large_seconds" 1920 1080)
    args="-vcodec mpeg4 -s 640x480 -r 25 -b 1500 -acodec libmp3lame -ab 128 -ar 44100 -ac 2 -threads 0"
    run_conv() { run_once "$engine_run" --args "$args" "$source" "$work/c.avi"; }
    run_plain() { run_once "$plain_transcode" "$source" "$work/c-plain.avi" vcodec=mpeg4 size=640x480 vb=1500 acodec=libmp3lame ab=128; }
    run_one() { run_once env RW_TRANSCODE_ONE_THREAD=1 "$engine_run" --args "$args" "$source" "$work/c1.avi"; }
    compare conv plain one
    device "(c) ${large_seconds} s 1920x1080 -> 640x480 MPEG-4 1500k + MP3 128k"
fi

if wants d; then
    source=$(source_of "$device_seconds" 640 480)
    args="-acodec libmp3lame -ab 128 -ar 44100 -ac 2"
    run_conv() { run_once "$engine_run" --args "$args" "$source" "$work/d.mp3"; }
    run_plain() { run_once "$plain_transcode" "$source" "$work/d-plain.mp3" vcodec=none acodec=libmp3lame ab=128; }
    run_one() { run_once env RW_TRANSCODE_ONE_THREAD=1 "$engine_run" --args "$args" "$source" "$work/d1.mp3"; }
    compare conv plain one
    device "(d) ${device_seconds} s audio -> MP3 128k"
fi

if wants parallel; then
    source=$(source_of "$device_seconds" 640 480)
    one="" one_cpu="" one_wall=""
    for n in 1 2 3 4; do
        r=$(best_of "$engine_run" --parallel "$n" --args "$device_args" "$source" "$work/parallel.mp4")
        t=$(wall_of "$r")
        throughput=$(calc "$n * $device_seconds / $t")
        [ -z "$one" ] && one=$throughput
        cpu=$(calc "($(cpu_of "$r") - $(cpu_of "$startup")) / $n")
        [ -z "$one_cpu" ] && one_cpu=$cpu one_wall=$t
        # The best n jobs could do on idle cores with the CPU seconds each took: no sooner than one
        # job alone, and no sooner than all their CPU seconds spread over every core.
        best_wall=$(calc "$n * $cpu / $(nproc)")
        [ "$(calc "$best_wall < $one_wall")" = 1 ] && best_wall=$one_wall
        printf 'parallel (a) x %d: %.2f s (load %s), %.2f s of media per second, %.2f x one job (goal for 4: at least 3.2); CPU %.2f s per job (%.2f of one job alone): at best %.2f x one job on %d idle cores\n' \
            "$n" "$t" "$(load_of "$r")" "$throughput" "$(calc "$throughput / $one")" "$cpu" "$(calc "$cpu / $one_cpu")" \
            "$(calc "$n * $one_wall / $best_wall")" "$(nproc)"
    done
fi
echo "load average $(cut -d' ' -f1-3 /proc/loadavg) after the run"
