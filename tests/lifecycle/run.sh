#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The game's life as a process, run for real in a private X server and driven
# with xdotool:
#   1. one running copy per save directory: a second copy shows the
#      "already running" box, brings the first copy's machine to the front,
#      ends after its box is answered and leaves the files and the first
#      copy's lock alone;
#   2. SIGTERM, SIGINT and SIGHUP (and two signals back to back) end the game
#      through its quit path: the money won in that run is saved as a pair
#      that the next start accepts without the battle of wits;
#   3. SIGKILL leaves the pair saved before that run, and the next start takes
#      over the lock the killed copy left.
#
#   tests/lifecycle/run.sh <program-dir>      (CTest passes build/bin)
#
# Skips (exit 0) when Xvfb, xdotool or ImageMagick are missing.
set -uo pipefail

SOURCE_DIR=$(cd "$(dirname "$0")/../.." && pwd)
. "$SOURCE_DIR/tests/support/xsession.sh"
XS_NAME=lifecycle

if ! xs_have_tools || ! xs_have_imagemagick; then
    echo "lifecycle: SKIPPED: Xvfb, xdotool and ImageMagick are needed (scripts/install-deps.sh installs them)"
    exit 0
fi

WITS_TITLE="ゼルモア　知恵くらべにようこそ"
SECOND_PID=""
FAILURES=0

trap 'xs_end_run "$SECOND_PID"' EXIT

# A copy of the program without save files, and the X server (xsession.sh).
xs_begin_run "${1:?usage: run.sh <program-dir>}" || die "no X server"
GAME=$XS_GAME
WORK=$XS_WORK

money() { xs_get_line "$GAME/Zelmor.ini" 2; }
keep_pair() { rm -rf "$WORK/kept" && mkdir "$WORK/kept" && cp -p "$GAME/Zelmor.ini" "$GAME/Zelmor.bin" "$WORK/kept/"; }
pair_kept() { cmp -s "$GAME/Zelmor.ini" "$WORK/kept/Zelmor.ini" && cmp -s "$GAME/Zelmor.bin" "$WORK/kept/Zelmor.bin"; }
alive() { kill -0 "$1" 2>/dev/null; }

# Starts the game and answers its start-up boxes until the main window shows.
# Every start after the first must show only the probability notice: the
# battle of wits, a first start's welcome or an error would mean the pair
# saved last was refused or lost.
start_game() { # start_game <what the previous run left>
    xs_start_game 60 || die "the main window did not appear after $1 (windows answered: ${XS_ANSWERED//$'\n'/ | })"
    MAIN=$XS_MAIN
    check "the pair left by $1 passes the start's check (no battle of wits)" \
        test -z "$(grep -F -x "$WITS_TITLE" <<<"$XS_ANSWERED")"
    check "the start after $1 shows only the probability notice" test "$XS_ANSWERED" = "$XS_TITLE"$'\n'
}
quit_game() {
    xs_key "$MAIN" Escape
    xs_wait_exit "$XS_GAME_PID" 30 || die "the game did not end after Escape"
    XS_GAME_PID=""
}

# The game's warning icon (a yellow triangle) in the top left of a box.
warning_icon() {
    xs_shot "$1" "$WORK/box.png"
    xs_above "$(convert "$WORK/box.png" -crop 48x48+0+0 +repage -fuzz 20% -fill black +opaque 'rgb(250,190,30)' \
        -fill white -opaque 'rgb(250,190,30)' -colorspace Gray -format '%[fx:mean]' info: 2>/dev/null)" 0.05
}

# Window $1 stands above window $2: xwininfo lists the root's children from
# the top of the stack down (no window manager reparents them here).
above() {
    local order
    order=$(xwininfo -root -children 2>/dev/null | awk '/^ +0x/ { print $1 }')
    local a b
    a=$(grep -n -x "$(printf '0x%x' "$1")" <<<"$order" | cut -d: -f1)
    b=$(grep -n -x "$(printf '0x%x' "$2")" <<<"$order" | cut -d: -f1)
    [ -n "$a" ] && [ -n "$b" ] && [ "$a" -lt "$b" ]
}

# A visible window of process $1 titled like the game, within $2 seconds.
window_of() {
    local i id
    for i in $(seq 1 $(($2 * 20))); do
        for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
            if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$XS_TITLE" ]; then
                echo "$id"
                return 0
            fi
        done
        alive "$1" || return 1
        sleep 0.05
    done
    return 1
}

# ---------------------------------------------------------------- a first pair
say "first start: a pair with \$100, then 6 in 6 so that every spin is a jackpot"
xs_start_game 60 || die "the main window did not appear on the first start"
MAIN=$XS_MAIN
quit_game
[ "$(money)" = 100 ] || die "the first start did not save \$100"
# Line 30 is not part of the check; the file's time is kept.
xs_set_line "$GAME/Zelmor.ini" 30 6

# ---------------------------------------------------------------- 1: two copies
say "two copies on one save directory"
start_game "a quit"
keep_pair
xs_key "$MAIN" F1 # the help window now stands above the machine
HELP=$(xs_wait_window "ゼルモアのヘルプ" 15) || die "F1 opened no help window"
xs_launch || die "no X server"
SECOND_PID=$XS_LAUNCHED
BOX=$(window_of "$SECOND_PID" 30)
check "the second copy shows a window titled $XS_TITLE" test -n "$BOX"
if [ -n "$BOX" ]; then
    sleep 0.3 # laid out and drawn
    WIDTH=$(xs_width "$BOX")
    check "that window is a box, no main window (width $WIDTH)" test "$WIDTH" != "$XS_MAIN_WIDTH"
    check "the box is the warning that the game already runs" warning_icon "$BOX"
    check "the running copy's machine came to the front, above its help window" above "$MAIN" "$HELP"
    xs_key "$BOX" Return
fi
check "the second copy ends once its box is answered" xs_wait_exit "$SECOND_PID" 10
SECOND_PID=""
check "both files are byte for byte as they were" pair_kept
check "the first copy still runs" alive "$XS_GAME_PID"
check "the first copy's main window is still there" test "$(xdotool getwindowname "$MAIN" 2>/dev/null)" = "$XS_TITLE"
check "the lock still names the first copy" test "$(head -n 1 "$GAME/Zelmor.lock" 2>/dev/null)" = "$XS_GAME_PID"
quit_game
check "the lock is gone after the first copy's quit" test ! -e "$GAME/Zelmor.lock"

# ---------------------------------------------------------------- 2: signals
# Each run wins a jackpot and is ended by signals; the next start checks the
# pair they saved.
PREVIOUS="a quit"
for signals in TERM INT HUP "TERM INT"; do
    say "SIG${signals// / and SIG}"
    start_game "$PREVIOUS"
    SAVED=$(money)
    XS_MONEY_KNOWN=$SAVED
    xs_buy_bet "$MAIN" || die "no BET bought"
    xs_spin_to_jackpot "$MAIN" || die "no jackpot at a probability of 6 in 6"
    for s in $signals; do
        kill -s "$s" "$XS_GAME_PID"
    done
    check "the game ends within 5 s of SIG${signals// / and SIG}" xs_wait_exit "$XS_GAME_PID" 5
    XS_GAME_PID=""
    WON=$(money)
    say "money saved before the run \$$SAVED, before the spin \$$XS_MONEY_BEFORE_SPIN, after the signal \$$WON"
    check "the pair saved on SIG${signals// / and SIG} holds the money won" test "$WON" -gt "$XS_MONEY_BEFORE_SPIN"
    check "no temporary is left behind" test -z "$(ls "$GAME"/Zelmor.*.new 2>/dev/null)"
    PREVIOUS="SIG${signals// / and SIG}"
done

# ---------------------------------------------------------------- 3: SIGKILL
say "SIGKILL"
start_game "$PREVIOUS"
keep_pair
SAVED=$(money)
xs_click_twips "$MAIN" $XS_COVER_A # $10 spent, not saved
sleep 0.3
xs_answer_boxes
{ kill -KILL "$XS_GAME_PID"; wait "$XS_GAME_PID"; } 2>/dev/null # no "Killed" notice
KILLED_PID=$XS_GAME_PID
XS_GAME_PID=""
check "the pair saved before that run is left byte for byte" pair_kept
check "the killed copy's lock is left behind" test "$(head -n 1 "$GAME/Zelmor.lock" 2>/dev/null)" = "$KILLED_PID"
start_game "SIGKILL" # a box saying the game runs would end it before its main window
check "the next start took the lock over" test "$(head -n 1 "$GAME/Zelmor.lock" 2>/dev/null)" = "$XS_GAME_PID"
quit_game
check "the money saved before the killed run is still there (\$$SAVED)" test "$(money)" = "$SAVED"

xs_verdict
