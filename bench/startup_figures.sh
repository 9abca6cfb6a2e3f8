#!/usr/bin/env bash
# The start-up, memory and idle figures of the real game, side by side with a
# minimal Qt Widgets program (bench/minimal_window.cpp) in the same run.
#
#   bench/startup_figures.sh [build-dir] [runs]      (defaults: build, 15)
#
# Needs Xvfb, xdotool and /usr/bin/time (GNU time). Prints a Markdown table.
#
# - Start-up: from just before exec to the end of the first paint of any
#   window: for the game that is the start-up's probability message box. Both
#   programs report the moment themselves (ZELMOR_BENCH_FIRST_PAINT=exit,
#   platform/FirstPaintProbe.h) and end there. Median of the runs, the three
#   programs interleaved run by run.
# - Peak memory: maximum resident set size (GNU time %M) of a whole session:
#   start, answer the message box, two seconds idle in the main window, Escape
#   (for the game that includes saving both files).
# - Idle CPU: CPU time used by the game's process in 10 s of idling in the main
#   window after start-up (/proc/<pid>/stat utime + stime).
# "Sound off" plays with settings line 3 = "1", "sound on" with "0" (SDL's
# dummy audio driver stands in for a sound card under Xvfb).
set -euo pipefail

SOURCE_DIR=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=$(cd "${1:-$SOURCE_DIR/build}" && pwd)
RUNS=${2:-15}
. "$SOURCE_DIR/tests/support/xsession.sh"

xs_have_tools || { echo "startup_figures: Xvfb and xdotool are needed" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "startup_figures: GNU time (/usr/bin/time) is needed" >&2; exit 1; }
cmake --build "$BUILD_DIR" -j2 --target zelmor minimal_window >/dev/null

MINIMAL=$BUILD_DIR/bench/minimal_window
WORK=$(mktemp -d)
trap 'xs_stop_display; rm -rf "$WORK"' EXIT
xs_start_display

# A program directory with a saved pair, settings line 3 = $2.
prepare() {
    local dir=$WORK/$1 pid main
    cp -r "$BUILD_DIR/bin" "$dir"
    "$dir/zelmor" >/dev/null 2>&1 &
    pid=$!
    main=$(xs_reach_main_window 60)
    xs_key "$main" Escape
    xs_wait_exit "$pid" 20
    xs_set_line "$dir/Zelmor.ini" 3 "$2"
}
prepare off 1
prepare on 0

# Microseconds from exec to the first paint, for: $1 directory or "-", rest command.
first_paint_us() {
    local dir=$1
    shift
    local t0file=$WORK/t0 errfile=$WORK/err
    (
        [ "$dir" = - ] || cd "$dir"
        printf '%s\n' "$EPOCHREALTIME" >"$t0file"
        exec env ZELMOR_BENCH_FIRST_PAINT=exit "$@" >/dev/null 2>"$errfile"
    )
    local t0 t1
    t0=$(tr -d '.,' <"$t0file")
    t1=$(sed -n 's/^first-paint //p' "$errfile")
    echo $((t1 - t0))
}

median() { sort -n | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; printf "%.1f\n", m/1000}'; }

: >"$WORK/t_min"; : >"$WORK/t_off"; : >"$WORK/t_on"
for i in $(seq 1 "$RUNS"); do
    first_paint_us - "$MINIMAL" >>"$WORK/t_min"
    first_paint_us "$WORK/off" "$WORK/off/zelmor" >>"$WORK/t_off"
    first_paint_us "$WORK/on" env SDL_AUDIODRIVER=dummy "$WORK/on/zelmor" >>"$WORK/t_on"
done
T_MIN=$(median <"$WORK/t_min")
T_OFF=$(median <"$WORK/t_off")
T_ON=$(median <"$WORK/t_on")

# Peak resident memory in KiB of a whole session.
peak_kib() {
    local kind=$1 out=$WORK/rss pid win
    case $kind in
    minimal)
        /usr/bin/time -f %M -o "$out" "$MINIMAL" >/dev/null 2>&1 &
        pid=$!
        win=$(xs_wait_window minimal 30)
        sleep 2
        xs_key "$win" Escape
        ;;
    *)
        (cd "$WORK/$kind" && exec env SDL_AUDIODRIVER=dummy /usr/bin/time -f %M -o "$out" ./zelmor >/dev/null 2>&1) &
        pid=$!
        win=$(xs_reach_main_window 60)
        sleep 2
        xs_key "$win" Escape
        ;;
    esac
    xs_wait_exit "$pid" 30
    wait "$pid" 2>/dev/null || true
    tail -n 1 "$out"
}
M_MIN=$(peak_kib minimal)
M_OFF=$(peak_kib off)
M_ON=$(peak_kib on)

# CPU seconds used in 10 s of idling, as a percentage of one core.
idle_cpu() {
    local kind=$1 pid win a b ticks
    ticks=$(getconf CLK_TCK)
    if [ "$kind" = minimal ]; then
        "$MINIMAL" >/dev/null 2>&1 &
        pid=$!
        win=$(xs_wait_window minimal 30)
    else
        (cd "$WORK/$kind" && exec env SDL_AUDIODRIVER=dummy ./zelmor >/dev/null 2>&1) &
        pid=$!
        win=$(xs_reach_main_window 60)
    fi
    sleep 1
    a=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    sleep 10
    b=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    xs_key "$win" Escape
    xs_wait_exit "$pid" 30 || kill "$pid"
    awk -v d=$((b - a)) -v t="$ticks" 'BEGIN {printf "%.2f\n", 100 * d / t / 10}'
}
C_MIN=$(idle_cpu minimal)
C_OFF=$(idle_cpu off)
C_ON=$(idle_cpu on)

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f\n", a / b}'; }

echo "| figure | minimal Qt window | Zelmor, sound off | ratio (target) | Zelmor, sound on | ratio |"
echo "|---|---|---|---|---|---|"
echo "| start-up to first window painted, median of $RUNS (ms) | $T_MIN | $T_OFF | $(ratio "$T_OFF" "$T_MIN") (< 1.5) | $T_ON | $(ratio "$T_ON" "$T_MIN") |"
echo "| peak memory, maxrss (MiB) | $(awk -v k="$M_MIN" 'BEGIN{printf "%.1f", k/1024}') | $(awk -v k="$M_OFF" 'BEGIN{printf "%.1f", k/1024}') | $(ratio "$M_OFF" "$M_MIN") (< 1.3) | $(awk -v k="$M_ON" 'BEGIN{printf "%.1f", k/1024}') | $(ratio "$M_ON" "$M_MIN") |"
echo "| idle CPU over 10 s (% of one core) | $C_MIN | $C_OFF | | $C_ON | |"
