#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End-to-end run of the real game in a private X server, driven like a player
# with xdotool: clicks at the covers, Start and the STOP buttons (their places
# taken from the window's layout in twips), keys for the menus, and Escape.
#
#   tests/e2e/run.sh <program-dir>        (CTest passes build/bin)
#
# It checks that the window is titled "ゼルモア", that a spin pays a jackpot and
# the money grows, that after Escape both files are saved and the next start
# passes the check without the battle of wits, that a game with a jackpot and
# a slot-chance spin can be played with the keyboard alone, and that a
# hand-edited Zelmor.ini brings up the battle-of-wits dialog. The play
# history counts those spins (zelmor --stats) and keeps every finished spin
# through a kill -9 in the middle of the next. With E2E_SHOTS=<dir> it keeps
# its screenshots there as e2e-*.png (idle, reach, slot chance, help,
# version, data counter). Skips (exit 0) when Xvfb, xdotool or
# ImageMagick are missing.
set -uo pipefail

SOURCE_DIR=$(cd "$(dirname "$0")/../.." && pwd)
. "$SOURCE_DIR/tests/support/xsession.sh"
XS_NAME=e2e

if ! xs_have_tools || ! xs_have_imagemagick; then
    echo "e2e: SKIPPED: Xvfb, xdotool and ImageMagick are needed (scripts/install-deps.sh installs them)"
    exit 0
fi

WITS_TITLE="ゼルモア　知恵くらべにようこそ"
FAILURES=0

trap xs_end_run EXIT
die() {
    say "FAILED: $*"
    xs_game_log
    import -window root "$XS_WORK/failure.png" 2>/dev/null && cp "$XS_WORK/failure.png" "${E2E_FAILURE_SHOT:-/tmp/zelmor-e2e-failure.png}" &&
        say "screen kept in ${E2E_FAILURE_SHOT:-/tmp/zelmor-e2e-failure.png}"
    exit 1
}

# A copy of the program without save files, and the X server (xsession.sh).
xs_begin_run "${1:?usage: run.sh <program-dir>}" || die "no X server"
GAME=$XS_GAME
WORK=$XS_WORK
SHOTS=${E2E_SHOTS:-$WORK/shots}
mkdir -p "$SHOTS"

# Starts the game and answers its start-up boxes until the main window shows;
# MAIN is the main window.
start_game() { # start_game <which start, for the failure message>
    xs_start_game 60 || die "the main window did not appear on the $1 start (windows answered: ${XS_ANSWERED//$'\n'/ | })"
    MAIN=$XS_MAIN
}
no_wits() { ! grep -q -F -x "$WITS_TITLE" <<<"$XS_ANSWERED"; }
quit_game() { # Escape on the main window, then the program must end
    xs_key "$1" Escape
    xs_wait_exit "$XS_GAME_PID" 30 || die "the game did not end after Escape"
    XS_GAME_PID=""
}
money() { xs_get_line "$GAME/Zelmor.ini" 2; }

# ---------------------------------------------------------------- layout probes
# Places in twips (left, top, width, height) from the window's layout; cover A,
# Start and the lamps come with xsession.sh.
STOP_L="2340 3600 480 480"
STOP_C="3300 3600 480 480"
STOP_R="4280 3600 480 480"

stops_visible() { xs_shot "$1" "$WORK/s.png"; xs_above "$(xs_colour_share "$WORK/s.png" 'rgb(220,0,0)' $STOP_L)" 0.15; }
stops_gone() { ! stops_visible "$1"; }

# ---------------------------------------------------------------- 1: first start
say "first start"
start_game first
say "ok: a main window titled $XS_TITLE appears"
check "no battle of wits on a first start" no_wits
quit_game "$MAIN"
check "both files are saved after Escape" test -s "$GAME/Zelmor.ini" -a -s "$GAME/Zelmor.bin"
check "the first start saved \$100" test "$(money)" = 100

# Probability 6 in 6, so that every spin outside the slot chance is a jackpot.
# Line 30 is not part of the check; the file's time is kept.
xs_set_line "$GAME/Zelmor.ini" 30 6

# ---------------------------------------------------------------- 2: the keyboard alone
# A jackpot and a slot-chance spin with key presses only, no mouse: the covers
# on 1 and A, Start on Space, the stops on Z, X and C, the File menu on Alt+F
# for a loan, message boxes on Return and Escape to quit.

# Presses a cover's key until Start shows. KEY_MONEY is the money as far as
# known: exact, or after a jackpot at least that much. Below $10, $100 is
# borrowed from the File menu; a message box then (a refusal, or money left
# after all) allows one more try.
KEY_MONEY=100
KEY_PRESSES=0
buy_bet_by_key() {
    local i
    for i in $(seq 1 60); do
        xs_start_visible "$MAIN" && return 0
        if [ "$KEY_MONEY" -lt 10 ]; then
            xs_key "$MAIN" alt+f
            sleep 0.3
            xdotool key 1
            sleep 0.5
            if xs_message_box >/dev/null; then xs_answer_boxes; KEY_MONEY=10; else KEY_MONEY=100; fi
            continue
        fi
        xs_key "$MAIN" "$1"
        KEY_MONEY=$((KEY_MONEY - 10))
        KEY_PRESSES=$((KEY_PRESSES + 1))
        sleep 0.3
        xs_answer_boxes
    done
    return 1
}
# Space, then waits for the jackpot's slot-chance counter; the first frame of
# a reach with the frame lamps lit is kept in $1.
jackpot_by_key() {
    local reach=$1 shot=$WORK/k.png i
    xs_key "$MAIN" space
    for i in $(seq 1 600); do
        xs_shot "$MAIN" "$shot"
        if [ -n "$reach" ] && xs_above "$(xs_colour_share "$shot" 'rgb(0,255,255)' $XS_TOP_LAMP)" 0.5; then
            cp "$shot" "$reach"
            reach=""
        fi
        xs_above "$(xs_brightness "$shot" $XS_CHANCE_COUNTER)" 0.35 || return 0
        xs_answer_boxes
        sleep 0.2
    done
    return 1
}

say "second start: a jackpot and a slot-chance spin with the keyboard alone"
start_game second
check "the saved pair passes the check without the battle of wits" no_wits
sleep 0.5
xs_shot "$MAIN" "$SHOTS/e2e-idle.png"
buy_bet_by_key 1 || die "no BET bought with the key 1"
BEFORE=$KEY_MONEY
jackpot_by_key "$SHOTS/e2e-reach.png" || die "no jackpot after Space at a probability of 6 in 6"
say "ok: Space started a spin that paid a jackpot"
KEY_MONEY=$((BEFORE + 100)) # a jackpot pays at least $100
KEY_PRESSES=0
buy_bet_by_key a || die "no BET bought with the key a"
xs_key "$MAIN" space
for i in $(seq 1 40); do stops_visible "$MAIN" && break; sleep 0.1; done
check "Space started a slot-chance spin with its STOP buttons" stops_visible "$MAIN"
for key in z x c; do
    sleep 0.4
    xs_key "$MAIN" "$key"
done
sleep 1
xs_answer_boxes
check "Z, X and C stopped the slot-chance spin" stops_gone "$MAIN"
quit_game "$MAIN"
AFTER=$(money)
say "money before the jackpot spin \$$BEFORE, $KEY_PRESSES cover keys in the slot chance, at the end \$$AFTER"
check "the jackpot made the money grow" test "$AFTER" -gt $((BEFORE - 10 * KEY_PRESSES))
XS_MONEY_KNOWN=$AFTER

# ---------------------------------------------------------------- 3: slot chance, help, version
say "third start: the slot chance, help and version windows"
start_game third
check "the pair saved after play passes the check" no_wits
xs_buy_bet "$MAIN" || die "no BET bought"
xs_spin_to_jackpot "$MAIN" || die "no jackpot at a probability of 6 in 6"
XS_MONEY_KNOWN=100000 # plenty after a jackpot; only whether it is above $10 matters
xs_buy_bet "$MAIN" || die "no BET bought"
xs_click_twips "$MAIN" $XS_START
for i in $(seq 1 40); do stops_visible "$MAIN" && break; sleep 0.1; done
check "the slot chance shows its STOP buttons" stops_visible "$MAIN"
sleep 0.3
xs_shot "$MAIN" "$SHOTS/e2e-slotchance.png"
for stop in "$STOP_L" "$STOP_C" "$STOP_R"; do
    sleep 0.4
    xs_click_twips "$MAIN" $stop
done
sleep 1
xs_answer_boxes
check "the STOP buttons ended the spin" stops_gone "$MAIN"

xs_key "$MAIN" alt+h
sleep 0.3
xdotool key m
HELP=$(xs_wait_window "ゼルモアのヘルプ" 15) && { sleep 0.5; xs_shot "$HELP" "$SHOTS/e2e-help.png"; xs_key "$HELP" Escape; }
check "the help window opens from the Help menu" test -n "$HELP"
sleep 0.5
xs_key "$MAIN" alt+h
sleep 0.3
xdotool key v
ABOUT=$(xs_wait_window "ﾊﾞｰｼﾞｮﾝ情報" 15) && { sleep 0.5; xs_shot "$ABOUT" "$SHOTS/e2e-version.png"; xs_key "$ABOUT" Escape; }
check "the version window opens from the Help menu" test -n "$ABOUT"
sleep 0.5
xs_key "$MAIN" F1
HELP=$(xs_wait_window "ゼルモアのヘルプ" 15) && { sleep 0.3; xs_key "$HELP" Escape; }
check "F1 opens the help window" test -n "$HELP"
check "zelmor --help names the program in its usage line" \
    grep -q '^\(Usage\|使い方\): zelmor ' <<<"$("$XS_GAME/zelmor" --help)"
sleep 0.5
xs_answer_boxes
quit_game "$MAIN"

# ---------------------------------------------------------------- 3b: the play history
# Four spins so far: a jackpot and a slot-chance spin in each of the last two
# runs. A run killed with SIGKILL in the middle of a spin keeps every spin
# that finished before the kill in the history.
say "the play history: zelmor --stats, the data counter, and a kill in the middle of a spin"
stat_of() { # the all-time figure $1 that --stats prints
    (cd "$GAME" && ./zelmor --stats) | sed -n "s/^    \"$1\": \([0-9]*\),*\$/\1/p"
}
check "zelmor --stats counts the four spins played" test "$(stat_of spins)" = 4
check "zelmor --stats counts the two jackpots" test "$(stat_of jackpots)" = 2
start_game "history"
xs_buy_bet "$MAIN" || die "no BET bought"
xs_spin_to_jackpot "$MAIN" || die "no jackpot at a probability of 6 in 6"
xs_key "$MAIN" alt+v
sleep 0.3
xdotool key d
COUNTER=$(xs_wait_window "データカウンター" 15) &&
    { sleep 0.8; xs_shot "$COUNTER" "$SHOTS/e2e-datacounter.png"; xs_key "$COUNTER" Escape; sleep 0.5; }
check "the data counter opens from the view menu" test -n "$COUNTER"
xs_buy_bet "$MAIN" || die "no BET bought"
xs_click_twips "$MAIN" $XS_START
for i in $(seq 1 40); do stops_visible "$MAIN" && break; sleep 0.1; done
check "a slot-chance spin is turning" stops_visible "$MAIN"
kill -KILL "$XS_GAME_PID"
wait "$XS_GAME_PID" 2>/dev/null
XS_GAME_PID=""
check "after kill -9 the history reads back with the five finished spins" test "$(stat_of spins)" = 5

# ---------------------------------------------------------------- 3c: in English
# A desktop in English: the game speaks English until the player chooses
# 日本語 in View → Language, which it remembers.
say "an English desktop: English titles and a spin, then Japanese from the menu"
XS_TITLE=Zelmor XS_LANG=en_US.UTF-8
start_game "English"
say "ok: a main window titled $XS_TITLE appears"
english_boxes() { grep -q -x Zelmor <<<"$XS_ANSWERED" && ! grep -q ゼルモア <<<"$XS_ANSWERED"; }
check "the start-up's box is titled Zelmor, none ゼルモア" english_boxes
check "zelmor --help speaks English" grep -q '^Usage: zelmor ' <<<"$(cd "$GAME" && LANG=en_US.UTF-8 ./zelmor --help)"
EN_BEFORE=$(money)
xs_buy_bet "$MAIN" || die "no BET bought in English"
xs_spin_to_jackpot "$MAIN" || die "no jackpot in English"
xs_key "$MAIN" F1
HELP=$(xs_wait_window "Zelmor Help" 15) && xs_key "$HELP" Escape
check "the help window is titled in English" test -n "$HELP"
sleep 0.3
xs_key "$MAIN" alt+v
sleep 0.3
xdotool key l
sleep 0.3
xdotool key j
sleep 0.5
check "日本語 in View → Language retitles the window at once" test "$(xdotool getwindowname "$MAIN")" = ゼルモア
check "the choice is remembered in zelmor.conf" grep -q '^language=ja' "$XDG_CONFIG_HOME/zelmor/zelmor.conf"
XS_TITLE=ゼルモア
quit_game "$MAIN"
check "the spin in English was saved like any other" test "$(money)" -gt "$EN_BEFORE"
XS_LANG=""

# ---------------------------------------------------------------- 4: a hand-edited file
say "fourth start: a hand-edited Zelmor.ini"
xs_set_line "$GAME/Zelmor.ini" 2 9999999
LC_ALL=C sed -i '4s/.*/7\r/' "$GAME/Zelmor.ini" # an editor also changes the time
xs_launch || die "no X server"
XS_GAME_PID=$XS_LAUNCHED
WITS=$(xs_wait_window "$WITS_TITLE" 60)
check "a hand-edited Zelmor.ini brings up the battle-of-wits dialog" test -n "$WITS"
[ -n "$WITS" ] && xs_key "$WITS" Escape
xs_wait_exit "$XS_GAME_PID" 30 || { xs_answer_boxes; xs_wait_exit "$XS_GAME_PID" 30; } || die "the game did not end after the battle of wits"
XS_GAME_PID=""
check "the money was reset to \$100" test "$(money)" = 100

xs_verdict
