#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Endings the player did not choose, run for real in a private X server and
# driven with xdotool. A signal never saves from inside a message box's event
# loop: the box closes as its close box would, the rule that opened it runs
# to its end, and the save holds the finished state.
#   1. SIGTERM during the goal's message saves the restart money and the
#      unlock, not the goal's money;
#   2. SIGTERM during the probability change's message saves the new
#      denominator;
#   3. SIGTERM in the middle of a jackpot spin plays it out at once and saves
#      the money it won;
#   4. SIGTERM during the message of a failed save ends the game without a
#      second save or a second message.
#
#   tests/endings/run.sh <program-dir>      (CTest passes build/bin)
#
# Skips (exit 0) when Xvfb, xdotool or ImageMagick are missing.
set -uo pipefail

SOURCE_DIR=$(cd "$(dirname "$0")/../.." && pwd)
. "$SOURCE_DIR/tests/support/xsession.sh"
XS_NAME=endings

if ! xs_have_tools || ! xs_have_imagemagick; then
    echo "endings: SKIPPED: Xvfb, xdotool and ImageMagick are needed (scripts/install-deps.sh installs them)"
    exit 0
fi

FAILURES=0
trap 'xs_end_run' EXIT

xs_begin_run "${1:?usage: run.sh <program-dir>}" || die "no X server"
GAME=$XS_GAME
INI=$GAME/Zelmor.ini
BIN=$GAME/Zelmor.bin

line() { xs_get_line "$INI" "$1"; }
alive() { kill -0 "$XS_GAME_PID" 2>/dev/null; }

# Both files at $1 dollars, as a save writes them: line 2 and its length in
# line 4; in the data file's record the length as a digit moved up by 48 and
# each digit moved up by 160, over the filler the last save wrote.
set_money() {
    local money=$1 bytes i
    xs_set_line "$INI" 2 "$money"
    xs_set_line "$INI" 4 "${#money}"
    bytes=$(printf '\\%03o' $((48 + 48 + ${#money})))
    for ((i = 0; i < ${#money}; i++)); do
        bytes+=$(printf '\\%03o' $((48 + ${money:i:1} + 160)))
    done
    printf "$bytes" | dd of="$BIN" bs=1 seek=2 conv=notrunc status=none
    touch -r "$INI" "$BIN"
}

start_game() {
    xs_start_game 60 || die "the main window did not appear (windows answered: ${XS_ANSWERED//$'\n'/ | })"
    MAIN=$XS_MAIN
    XS_MONEY_KNOWN=$(line 2 2>/dev/null || echo 100)
}

# Clicks cover A until Start shows. With this much money a hit offers the
# target symbols, which the test declines.
TARGET_TITLE="狙い出目の選択　　　選択すると１００＄支払います。"
buy_bet() {
    local tries id
    XS_MONEY_BEFORE_SPIN=$(line 2)
    for tries in $(seq 1 60); do
        xs_click_twips "$MAIN" $XS_COVER_A
        XS_MONEY_BEFORE_SPIN=$((XS_MONEY_BEFORE_SPIN - 10))
        sleep 0.3
        if id=$(xs_windows "$TARGET_TITLE" | head -n 1) && [ -n "$id" ]; then
            xs_key "$id" Escape
            sleep 0.3
        fi
        xs_start_visible "$MAIN" && return 0
    done
    die "no cover hit in 60 tries"
}

# Waits up to $1 seconds for a message box of the game other than $2 and
# prints its id.
wait_box() {
    local timeout=$1 other=${2:-} i id
    for i in $(seq 1 $((timeout * 20))); do
        id=$(xs_message_box) && [ "$id" != "$other" ] && { echo "$id"; return 0; }
        alive || return 1
        sleep 0.05
    done
    return 1
}

term_ends_game() { # term_ends_game <what was open>
    kill -TERM "$XS_GAME_PID"
    check "SIGTERM during $1 ends the game within 5 s" xs_wait_exit "$XS_GAME_PID" 5
    XS_GAME_PID=""
}

# ---------------------------------------------------------------- a pair
say "first start: a pair with \$100, then no sound and 6 in 6: every spin is a jackpot"
start_game
xs_key "$MAIN" Escape
xs_wait_exit "$XS_GAME_PID" 30 || die "the game did not end after Escape"
XS_GAME_PID=""
xs_set_line "$INI" 3 1
xs_set_line "$INI" 30 6

# ---------------------------------------------------------------- 1: the goal
say "SIGTERM during the goal's message"
set_money 9999990
start_game
buy_bet
xs_click_twips "$MAIN" $XS_START
BOX=$(wait_box 60) || die "no goal message within a minute"
term_ends_game "the goal's message"
check "the restart money is saved, not the goal's (\$$(line 2))" test "$(line 2)" = 100
check "the unlock is saved (line 28: $(line 28))" test "$(line 28)" = 1

# ---------------------------------------------------------------- 2: the probability
say "SIGTERM during the probability change's message"
xs_set_line "$INI" 28 1 # unlocked, whatever the goal's run saved
xs_set_line "$INI" 29 ChosenGuest
set_money 100
start_game
xs_key "$MAIN" alt+f
sleep 0.3
xdotool key k
ASK=$(xs_wait_window "確率変動" 10) || die "the probability command asked nothing"
xdotool key --clearmodifiers ctrl+a
xdotool type 50
xdotool key Return
BOX=$(wait_box 10 "$ASK") || die "no message after the new probability"
term_ends_game "the probability's message"
check "the new denominator is saved (line 30: $(line 30))" test "$(line 30)" = 50
xs_set_line "$INI" 30 6

# ---------------------------------------------------------------- 3: a spin
say "SIGTERM two seconds into a jackpot spin"
set_money 1000
start_game
buy_bet
xs_click_twips "$MAIN" $XS_START
sleep 2
check "the spin still turns when the signal comes (no message yet)" test -z "$(xs_message_box)"
term_ends_game "a spin"
say "money before the spin \$$XS_MONEY_BEFORE_SPIN, saved \$$(line 2)"
check "the jackpot the spin decided is paid and saved" test "$(line 2)" -gt "$XS_MONEY_BEFORE_SPIN"

# ---------------------------------------------------------------- 4: a failed save
say "SIGTERM during the message of a failed save"
start_game
cp -p "$INI" "$BIN" "$XS_WORK/"
mkdir "$INI.new" # a directory in the way of the save's temporary
kill -TERM "$XS_GAME_PID"
BOX=$(wait_box 10) || die "no message about the failed save"
sleep 0.5
check "the game waits while the message is open" alive
term_ends_game "the failed save's message"
pair_kept() { cmp -s "$INI" "$XS_WORK/Zelmor.ini" && cmp -s "$BIN" "$XS_WORK/Zelmor.bin"; }
check "both files are byte for byte as they were" pair_kept
rmdir "$INI.new"

xs_verdict
