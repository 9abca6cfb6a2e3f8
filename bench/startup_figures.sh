#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
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
# dummy audio driver stands in for a sound card under Xvfb). A fourth column,
# the minimal program showing the game's Japanese start-up message box first
# (minimal_window --message), tells apart what the Japanese text and fonts
# cost from what the game itself adds.
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
# The player's own preferences (a saved zoom, say) never reach the run.
export XDG_CONFIG_HOME=$WORK/config
trap 'xs_stop_display; rm -rf "$WORK"' EXIT
xs_start_display

# Program directories with a saved pair, the sound off and on.
xs_saved_program_copy "$BUILD_DIR/bin" "$WORK/off" 1
xs_saved_program_copy "$BUILD_DIR/bin" "$WORK/on" 0

# Microseconds from exec to the first paint, for: $1 directory or "-", rest command.
# A timed start ends at its first paint without quitting, so it leaves its
# lock file behind; it is removed first, so that each start is timed as it
# comes after a quit rather than taking over a dead copy's lock.
first_paint_us() {
    local dir=$1
    shift
    local t0file=$WORK/t0 errfile=$WORK/err
    [ "$dir" = - ] || rm -f "$dir/Zelmor.lock"
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

# Starts one of the programs measured, in the background; GAME_PID is its pid.
#   minimal  the empty window        message  the empty window after the game's Japanese message box
#   off, on  the game with sound off or on
launch() { # kind [wrapper...]
    local kind=$1
    shift
    case $kind in
    minimal) "$@" "$MINIMAL" >/dev/null 2>&1 & ;;
    message) "$@" "$MINIMAL" --message >/dev/null 2>&1 & ;;
    *) (cd "$WORK/$kind" && exec env SDL_AUDIODRIVER=dummy "$@" ./zelmor >/dev/null 2>&1) & ;;
    esac
    GAME_PID=$!
}
# Waits for the program's main window, answering message boxes; prints its id.
main_of() {
    case $1 in
    minimal) xs_wait_window minimal 60 ;;
    message)
        local i b
        for i in $(seq 1 600); do
            b=$(xs_message_box) && xs_key "$b" Return
            xs_windows minimal | head -n 1 | grep . && return 0
            sleep 0.1
        done
        return 1
        ;;
    *) xs_reach_main_window 60 ;;
    esac
}

KINDS="minimal message off on"
for k in $KINDS; do : >"$WORK/t_$k"; done
for i in $(seq 1 "$RUNS"); do
    first_paint_us - "$MINIMAL" >>"$WORK/t_minimal"
    first_paint_us - "$MINIMAL" --message >>"$WORK/t_message"
    first_paint_us "$WORK/off" "$WORK/off/zelmor" >>"$WORK/t_off"
    first_paint_us "$WORK/on" env SDL_AUDIODRIVER=dummy "$WORK/on/zelmor" >>"$WORK/t_on"
done
declare -A T M C
for k in $KINDS; do T[$k]=$(median <"$WORK/t_$k"); done

# Peak resident memory in KiB of a whole session: start, answer the message
# box, 2 s in the main window, Escape.
peak_kib() {
    local kind=$1 out=$WORK/rss win
    rm -f "$out"
    launch "$kind" /usr/bin/time -f %M -o "$out"
    if win=$(main_of "$kind"); then
        sleep 2
        xs_key "$win" Escape
    fi
    xs_wait_exit "$GAME_PID" 30 || kill "$GAME_PID" 2>/dev/null
    wait "$GAME_PID" 2>/dev/null || true
    if [ -s "$out" ]; then tail -n 1 "$out"; else echo 0; fi
}

# CPU used in 10 s of idling in the main window, as a percentage of one core
# (/proc accounts in clock ticks of 10 ms: 0.00 means under 0.1%).
idle_cpu() {
    local kind=$1 win a b pid
    launch "$kind"
    pid=$GAME_PID
    [ "$kind" = off ] || [ "$kind" = on ] && pid=$(pgrep -P "$GAME_PID" zelmor || echo "$GAME_PID")
    if ! win=$(main_of "$kind"); then
        kill "$GAME_PID" 2>/dev/null
        echo "n/a"
        return
    fi
    sleep 1
    a=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    sleep 10
    b=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    xs_key "$win" Escape
    xs_wait_exit "$GAME_PID" 30 || kill "$GAME_PID" 2>/dev/null
    awk -v d=$((b - a)) -v t="$(getconf CLK_TCK)" 'BEGIN {printf "%.2f\n", 100 * d / t / 10}'
}
for k in $KINDS; do M[$k]=$(peak_kib "$k"); done
for k in $KINDS; do C[$k]=$(idle_cpu "$k"); done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", a / b; else printf "n/a"}'; }
mib() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }

echo "| figure | minimal Qt window | the same after the game's message box | Zelmor, sound off | ratio to minimal (target) | ratio to the message box | Zelmor, sound on | ratio to minimal |"
echo "|---|---|---|---|---|---|---|---|"
echo "| start-up to first window painted, median of $RUNS (ms) | ${T[minimal]} | ${T[message]} | ${T[off]} | $(ratio "${T[off]}" "${T[minimal]}") (< 1.5) | $(ratio "${T[off]}" "${T[message]}") | ${T[on]} | $(ratio "${T[on]}" "${T[minimal]}") |"
echo "| peak memory, maxrss (MiB) | $(mib "${M[minimal]}") | $(mib "${M[message]}") | $(mib "${M[off]}") | $(ratio "${M[off]}" "${M[minimal]}") (< 1.3) | $(ratio "${M[off]}" "${M[message]}") | $(mib "${M[on]}") | $(ratio "${M[on]}" "${M[minimal]}") |"
echo "| idle CPU over 10 s (% of one core) | ${C[minimal]} | ${C[message]} | ${C[off]} | | | ${C[on]} | |"
