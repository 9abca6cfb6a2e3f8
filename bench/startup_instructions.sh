#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Instructions from exec to the first paint, counted by valgrind's callgrind,
# for the game and the minimal Qt program (bench/minimal_window.cpp) with and
# without the game's Japanese message box. Unlike the times of
# bench/startup_figures.sh, the counts hardly move with the machine's load, so
# two builds can be compared on a busy machine.
#
#   bench/startup_instructions.sh [build-dir] [runs]      (defaults: build, 3)
#
# Needs valgrind, Xvfb and xdotool. Prints a Markdown table: the median count
# of the runs, and each program's profile of its last run is kept in the
# build directory (callgrind.<program>.out) for callgrind_annotate.
#
# Only the program's own process is counted: without a session bus, Qt's
# D-Bus thread forks a child to look for dbus-launch, whose copy of the
# counters is left out.
set -euo pipefail

SOURCE_DIR=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=$(cd "${1:-$SOURCE_DIR/build}" && pwd)
RUNS=${2:-3}
. "$SOURCE_DIR/tests/support/xsession.sh"

xs_have_tools || { echo "startup_instructions: Xvfb and xdotool are needed" >&2; exit 1; }
command -v valgrind >/dev/null || { echo "startup_instructions: valgrind is needed" >&2; exit 1; }
cmake --build "$BUILD_DIR" -j2 --target zelmor minimal_window >/dev/null

MINIMAL=$BUILD_DIR/bench/minimal_window
WORK=$(mktemp -d)
export XDG_CONFIG_HOME=$WORK/config
trap 'xs_stop_display; rm -rf "$WORK"' EXIT
xs_start_display

# A program directory with a saved pair and the sound off, as a player's
# second start finds it.
GAME=$WORK/game
xs_saved_program_copy "$BUILD_DIR/bin" "$GAME" 1

# Instructions of one start to its first paint: $1 name, $2 directory, rest command.
count() {
    local name=$1 dir=$2
    shift 2
    rm -f "$GAME/Zelmor.lock"
    (
        cd "$dir"
        exec env ZELMOR_BENCH_FIRST_PAINT=exit valgrind --tool=callgrind \
            --callgrind-out-file="$WORK/cg.%p" "$@" >/dev/null 2>&1
    ) &
    local pid=$!
    wait "$pid" || true
    mv "$WORK/cg.$pid" "$BUILD_DIR/callgrind.$name.out"
    rm -f "$WORK"/cg.*
    sed -n 's/^totals: //p' "$BUILD_DIR/callgrind.$name.out"
}

median() { sort -n | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; printf "%.1f\n", m/1e6}'; }

declare -A N
for k in minimal message game; do : >"$WORK/n_$k"; done
for i in $(seq 1 "$RUNS"); do
    count minimal "$WORK" "$MINIMAL" >>"$WORK/n_minimal"
    count message "$WORK" "$MINIMAL" --message >>"$WORK/n_message"
    count game "$GAME" ./zelmor >>"$WORK/n_game"
done
for k in minimal message game; do N[$k]=$(median <"$WORK/n_$k"); done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

echo "| instructions to the first paint, median of $RUNS (millions) | minimal Qt window | the same after the game's message box | Zelmor, sound off | Zelmor / message box |"
echo "|---|---|---|---|---|"
echo "| callgrind | ${N[minimal]} | ${N[message]} | ${N[game]} | $(ratio "${N[game]}" "${N[message]}") |"
