#!/bin/sh
# Start-up time and memory of velmora against the floor, a bare Qt 6 Widgets window with a
# Korean label (bench/startup/), and against qgo when /usr/games/qgo is installed.
#
# Each program is started RUNS times (default 7), the programs alternating, all under one Xvfb
# server. The time is from exec to the first window painted on the display: velmora and the
# bare window print it themselves when VELMORA_FIRST_PAINT is set (velmora opens the sample
# record, so its board is drawn in that paint); for qgo, which cannot, it is the time the X
# server maps its first window, which is a little early in its favour. Memory is VmRSS from
# /proc 3 s after the window showed. Every run has a HOME and XDG_RUNTIME_DIR of its own,
# copied from one made by a warm-up start of the same program (so caches a user's second
# start would find are there, and velmora's single-instance lock is never shared).
#
# Prints the medians and the ratios velmora/bare (and qgo/bare, velmora/qgo).
# Usage: bench/startup.sh [build folder] [runs]   (default: build 7)
# With BASELINE=<another build folder> its velmora runs too, as "baseline", to compare builds.
# Needs xvfb-run, cmake, Qt 6 and the X11 headers (libx11-dev).
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
runs=${2:-7}
velmora=$build/bin/velmora
record=$here/../resources/samples/sample.sgf
# The bare window and the launcher are built beside the build they are compared with.
work=$build/startup-bench
[ -x "$velmora" ] || { echo "no $velmora: build first" >&2; exit 1; }

if [ "$VELMORA_STARTUP_INNER" != 1 ]; then
    cmake -S "$here/startup" -B "$work/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$work/build" >/dev/null
    [ -z "$BASELINE" ] || BASELINE=$(cd "$BASELINE" && pwd)
    VELMORA_STARTUP_INNER=1 BASELINE=$BASELINE exec xvfb-run -a -s '-screen 0 1600x1000x24' "$0" "$build" "$runs"
fi

launch=$work/build/launch
bare=$work/build/bare_window
qgo=/usr/games/qgo
names="bare velmora"
[ -n "$BASELINE" ] && names="$names baseline"
[ -x "$qgo" ] && names="$names qgo"

# The launcher's arguments for one start of $1, read $2 seconds after its window showed.
launch_args() {
    case $1 in
        bare) echo "$2 $bare" ;;
        velmora) echo "$2 $velmora $record" ;;
        baseline) echo "$2 $BASELINE/bin/velmora $record" ;;
        qgo) echo "--map $2 $qgo" ;;
    esac
}

# One start of $1 ($2 = its home), printing "ms rss_kb".
start() {
    rm -rf "$work/run"
    cp -a "$2" "$work/run"
    mkdir -p -m 700 "$work/run/.xdg-runtime"
    # shellcheck disable=SC2046
    HOME=$work/run XDG_RUNTIME_DIR=$work/run/.xdg-runtime "$launch" $(launch_args "$1" "$3") 2>/dev/null |
        awk '/^ms / { print $2, $4 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

mkdir -p "$work"
for name in $names; do
    # A warm-up start makes the home each counted run starts from.
    rm -rf "$work/home-$name" "$work/$name.txt"
    mkdir -p -m 700 "$work/empty"
    start "$name" "$work/empty" 0.5 >/dev/null
    rm -rf "$work/run/.xdg-runtime"
    mv "$work/run" "$work/home-$name"
done
i=0
while [ "$i" -lt "$runs" ]; do
    for name in $names; do start "$name" "$work/home-$name" 3 >>"$work/$name.txt"; done
    i=$((i + 1))
done

printf '%-9s %10s %12s   (%s runs, alternating)\n' program "time ms" "memory MB" "$runs"
for name in $names; do
    ms=$(cut -d' ' -f1 "$work/$name.txt" | median)
    kb=$(cut -d' ' -f2 "$work/$name.txt" | median)
    eval "ms_$name=$ms kb_$name=$kb"
    printf '%-9s %10.1f %12.1f   times: %s\n' "$name" "$ms" "$(echo "$kb" | awk '{ print $1 / 1024 }')" \
        "$(cut -d' ' -f1 "$work/$name.txt" | tr '\n' ' ')"
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "velmora/bare: time $(ratio "$ms_velmora" "$ms_bare")x, memory $(ratio "$kb_velmora" "$kb_bare")x"
[ -z "$kb_baseline" ] ||
    echo "baseline/bare: time $(ratio "$ms_baseline" "$ms_bare")x, memory $(ratio "$kb_baseline" "$kb_bare")x"
if [ -n "$kb_qgo" ]; then
    echo "qgo/bare:     time $(ratio "$ms_qgo" "$ms_bare")x, memory $(ratio "$kb_qgo" "$kb_bare")x"
    echo "velmora/qgo:  time $(ratio "$ms_velmora" "$ms_qgo")x, memory $(ratio "$kb_velmora" "$kb_qgo")x"
fi
