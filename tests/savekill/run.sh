#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A kill at every system call of a save: the real game, run in a private X
# server under strace, is killed with SIGKILL at each system call that touches
# the save directory or its files (Zelmor.ini, Zelmor.bin and their .new
# temporaries), from the start-up's loading to the last rename of the save
# that Escape makes. After every kill the game is started normally: its check
# must pass (never the battle of wits) and it must hold the money saved
# before that run, or the money of the run that was killed once the settings
# file's rename has committed that save.
#
#   tests/savekill/run.sh <program-dir>       (CTest passes build/bin)
#
# How: a first run under strace -P <paths> counts the N calls on those paths
# and names each one. strace counts injections per system call name (and per
# thread), so the kill at call k is "-e inject=<name>:signal=KILL:when=<j>"
# with j the number of calls of that name up to k. strace stops the process
# on entering the call and the kernel skips the call, so a kill at call k
# leaves the files as calls 1..k-1 made them; the trace of every killed run
# is checked to end at call k.
#
# Skips (exit 0) when Xvfb, xdotool or strace are missing.
set -uo pipefail

SOURCE_DIR=$(cd "$(dirname "$0")/../.." && pwd)
. "$SOURCE_DIR/tests/support/xsession.sh"
XS_NAME=savekill

if ! xs_have_tools || ! command -v strace >/dev/null 2>&1; then
    echo "savekill: SKIPPED: Xvfb, xdotool and strace are needed (scripts/install-deps.sh installs them)"
    exit 0
fi
PROGRAM_DIR=$(cd "${1:?usage: run.sh <program-dir>}" && pwd)

WORK=$(mktemp -d)
# The player's own preferences (a saved zoom, say) never reach the run.
export XDG_CONFIG_HOME=$WORK/config
GAME=$WORK/game
WITS_TITLE="ゼルモア　知恵くらべにようこそ"
RUN_PID=""
FAILURES=0

# A run in progress ends with its game first: a game whose tracer dies first
# is let go and would run on.
cleanup() {
    local tracer
    tracer=$(cat "$WORK/tracer.pid" 2>/dev/null)
    if [ -n "$RUN_PID" ] && [ -n "$tracer" ] && kill -0 "$tracer" 2>/dev/null; then
        kill -KILL $(cat /proc/"$tracer"/task/*/children 2>/dev/null) "$tracer" 2>/dev/null
    fi
    [ -n "$RUN_PID" ] && kill -KILL "$RUN_PID" 2>/dev/null
    xs_stop_display
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    say "FAILED: $*"
    FAILURES=$((FAILURES + 1))
}
die() {
    say "FAILED: $*"
    [ -s "$WORK/game.log" ] && grep -v XDG_RUNTIME_DIR "$WORK/game.log" | sed 's/^/savekill: game: /' | tail -n 20
    exit 1
}

cp -r "$PROGRAM_DIR" "$GAME"
rm -f "$GAME"/Zelmor.*
xs_start_display || die "no X server"

TRACED=(-s 256 -P "$GAME" -P "$GAME/Zelmor.ini" -P "$GAME/Zelmor.bin" -P "$GAME/Zelmor.ini.new" -P "$GAME/Zelmor.bin.new")
money() { xs_get_line "$GAME/Zelmor.ini" 2; }
leftovers() { ls "$GAME"/Zelmor.*.new 2>/dev/null; }

# Runs the game under strace ($@: strace and its options):
# answers the start-up boxes, then, if the main window shows, clicks cover A
# ($10 spent) and quits with Escape. Sets REACHED_MAIN and RUN_STATUS.
play() {
    xs_ensure_display || die "no X server"
    # The subshell outlives the killed tracer, reports the kill into the void
    # and ends normally.
    (
        cd "$GAME" || exit 1
        "$@" ./zelmor >>"$WORK/game.log" 2>&1 &
        echo $! >"$WORK/tracer.pid"
        wait $!
    ) 2>/dev/null &
    RUN_PID=$!
    REACHED_MAIN=""
    if xs_follow_start "$RUN_PID" 30; then
        REACHED_MAIN=yes
        xs_click_twips "$XS_MAIN" $XS_COVER_A 2>/dev/null
        sleep 0.2 # the click is taken before the quit
        xs_key "$XS_MAIN" Escape 2>/dev/null
    fi
    xs_wait_exit "$RUN_PID" 20 || die "the game did not end (windows answered: ${XS_ANSWERED//$'\n'/ | })"
    wait "$RUN_PID" 2>/dev/null
    RUN_STATUS=$?
    RUN_PID=""
    rm -f "$WORK/tracer.pid"
}

# Starts the game normally and quits at once, which saves the money it
# loaded. Sets START_VERDICT to "" when the start passed the check with only
# the probability notice, else to what went wrong.
check_next_start() {
    xs_ensure_display || die "no X server"
    (cd "$GAME" && exec ./zelmor >>"$WORK/game.log" 2>&1) &
    RUN_PID=$!
    START_VERDICT=""
    if xs_follow_start "$RUN_PID" 30 "$RUN_PID"; then
        xs_key "$XS_MAIN" Escape
    fi
    xs_wait_exit "$RUN_PID" 20 || die "the next start did not end (windows answered: ${XS_ANSWERED//$'\n'/ | })"
    wait "$RUN_PID" 2>/dev/null
    RUN_PID=""
    if grep -q -F -x "$WITS_TITLE" <<<"$XS_ANSWERED"; then
        START_VERDICT="the battle of wits"
    elif [ "$XS_ANSWERED" != "$XS_TITLE"$'\n' ]; then
        START_VERDICT="windows other than the probability notice: ${XS_ANSWERED//$'\n'/ | }"
    elif [ -n "$(leftovers)" ]; then
        START_VERDICT="temporaries left: $(leftovers)"
    fi
}

# The system calls in a trace, one a line: "<thread> <name>".
calls() { awk '$2 ~ /^[a-z_0-9]+\(/ { name = $2; sub(/\(.*/, "", name); print $1, name }' "$1"; }
# The money a traced run wrote into Zelmor.ini.new (line 2), if it got there.
money_written() {
    sed -n 's/^[0-9]* *write([0-9]*, "[^"\\]*\\r\\n\([0-9-]*\)\\r\\n.*/\1/p' "$1" | head -n 1
}

# ---------------------------------------------------------------- the old pair
# Saved with $80 (two clicks at cover A on a first start), so that neither a
# first start's nor the battle of wits' $100 can pass for it.
say "the old pair: a first start, two clicks at cover A, Escape"
(cd "$GAME" && exec ./zelmor >>"$WORK/game.log" 2>&1) &
RUN_PID=$!
xs_follow_start "$RUN_PID" 60 "$RUN_PID" || die "the main window did not appear on the first start"
xs_measure_menu "$XS_MAIN"
for click in 1 2; do
    xs_click_twips "$XS_MAIN" $XS_COVER_A
    sleep 0.3
done
xs_key "$XS_MAIN" Escape
xs_wait_exit "$RUN_PID" 20 || die "the game did not end after Escape"
RUN_PID=""
OLD=$(money)
[ "$OLD" = 80 ] || die "the old pair holds \$$OLD, not \$80"
mkdir "$WORK/old"
cp -p "$GAME/Zelmor.ini" "$GAME/Zelmor.bin" "$WORK/old/"
# The play history goes too, so that every run creates it afresh and makes the
# same calls on the directory as the counted run.
restore_old() {
    rm -f "$GAME"/Zelmor.*.new "$GAME"/history.sqlite*
    cp -p "$WORK/old/Zelmor.ini" "$WORK/old/Zelmor.bin" "$GAME/"
}

# ---------------------------------------------------------------- the count
say "a run under strace that loads the old pair and saves \$10 less"
restore_old
play strace -f -qq -o "$WORK/clean.trace" "${TRACED[@]}"
[ -n "$REACHED_MAIN" ] || die "the main window did not appear under strace"
NEW=$(money)
[ "$NEW" = $((OLD - 10)) ] || die "the traced run saved \$$NEW, not \$$((OLD - 10))"
check_next_start
[ -z "$START_VERDICT" ] || die "the start after the traced run showed $START_VERDICT"
[ "$(money_written "$WORK/clean.trace")" = "$NEW" ] || die "the trace does not show the money written into Zelmor.ini.new"
mapfile -t CALLS < <(calls "$WORK/clean.trace")
N=${#CALLS[@]}
[ "$N" -gt 0 ] || die "strace traced no call on the save files"
[ "$(printf '%s\n' "${CALLS[@]}" | cut -d' ' -f1 | sort -u | wc -l)" = 1 ] ||
    die "the traced calls came from more than one thread: a kill cannot be placed by its count"
# The settings file's rename commits a save: its index among the calls.
COMMIT=$(awk '$2 ~ /^[a-z_0-9]+\(/ { n++; if ($2 ~ /^rename\(/ && index($0, "Zelmor.ini.new\"")) { print n; exit } }' \
    "$WORK/clean.trace")
[ -n "$COMMIT" ] || die "no rename of Zelmor.ini.new in the trace"
say "$N calls on the save directory and files; the settings file's rename is call $COMMIT"

# ---------------------------------------------------------------- a kill at each
declare -A SEEN
KILLED_AT_START=0
KILLED_IN_SAVE=0
OLD_LOADED=0
NEW_LOADED=0
for k in $(seq 1 "$N"); do
    NAME=${CALLS[$((k - 1))]#* }
    SEEN[$NAME]=$((${SEEN[$NAME]:-0} + 1))
    # A run now and then makes one call more or fewer on the save directory
    # than the traced run did (a check of the directory), which moves the
    # call a kill counted by calls lands on: such a run is made again.
    LANDED=""
    for attempt in 1 2 3; do
        restore_old
        play strace -f -qq -o "$WORK/kill.trace" -e "inject=$NAME:signal=KILL:when=${SEEN[$NAME]}" "${TRACED[@]}"
        mapfile -t KILLED < <(calls "$WORK/kill.trace")
        if grep -q '+++ killed by SIGKILL +++' "$WORK/kill.trace" && [ "${#KILLED[@]}" = "$k" ] &&
            [ "${KILLED[$((k - 1))]#* }" = "$NAME" ]; then
            LANDED=yes
            break
        fi
        say "note: call $k ($NAME): the kill did not land there in run $attempt (${#KILLED[@]} calls traced, status $RUN_STATUS)"
    done
    if [ -z "$LANDED" ]; then
        fail "call $k ($NAME): the kill did not land there in three runs"
        continue
    fi
    if [ -n "$REACHED_MAIN" ]; then
        KILLED_IN_SAVE=$((KILLED_IN_SAVE + 1))
        WHEN="in the save"
    else
        KILLED_AT_START=$((KILLED_AT_START + 1))
        WHEN="at start-up"
    fi
    # Once committed, the save of the killed run must be loaded: the money
    # it wrote (the new amount, unless the click at the cover was lost).
    EXPECTED=$OLD
    if [ "$k" -gt "$COMMIT" ]; then
        EXPECTED=$(money_written "$WORK/kill.trace")
        [ "$EXPECTED" = "$NEW" ] || say "note: the run killed at call $k saved \$$EXPECTED (the click at the cover was not taken)"
    fi
    check_next_start
    GOT=$(money)
    [ "$GOT" = "$OLD" ] && OLD_LOADED=$((OLD_LOADED + 1))
    [ "$GOT" = "$NEW" ] && NEW_LOADED=$((NEW_LOADED + 1))
    if [ -n "$START_VERDICT" ]; then
        fail "a kill at call $k ($NAME, $WHEN): the next start showed $START_VERDICT (money \$$GOT)"
    elif [ "$GOT" != "$EXPECTED" ]; then
        fail "a kill at call $k ($NAME, $WHEN): the next start holds \$$GOT, not \$$EXPECTED"
    else
        say "ok: a kill at call $k ($NAME, $WHEN): the next start passes its check with \$$GOT"
    fi
done

say "$N kills: $KILLED_AT_START at start-up, $KILLED_IN_SAVE in the save; the next start held the old \$$OLD $OLD_LOADED times, the new \$$NEW $NEW_LOADED times"
xs_verdict
