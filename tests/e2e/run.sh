#!/usr/bin/env bash
# End-to-end run of the real game in a private X server, driven like a player
# with xdotool: clicks at the covers, Start and the STOP buttons (their places
# taken from the window's layout in twips), keys for the menus, and Escape.
#
#   tests/e2e/run.sh <program-dir>        (CTest passes build/bin)
#
# It checks that the window is titled "ゼルモア", that a spin pays a jackpot and
# the money grows, that after Escape both files are saved and the next start
# passes the check without the battle of wits, and that a hand-edited
# Zelmor.ini brings up the battle-of-wits dialog. With E2E_SHOTS=<dir> it
# keeps its screenshots there as e2e-*.png (idle, reach, slot chance, help,
# version). Skips (exit 0) when Xvfb, xdotool or ImageMagick are missing.
set -uo pipefail

SOURCE_DIR=$(cd "$(dirname "$0")/../.." && pwd)
. "$SOURCE_DIR/tests/support/xsession.sh"

if ! xs_have_tools || ! xs_have_imagemagick; then
    echo "e2e: SKIPPED: Xvfb, xdotool and ImageMagick are needed (scripts/install-deps.sh installs them)"
    exit 0
fi
PROGRAM_DIR=$(cd "${1:?usage: run.sh <program-dir>}" && pwd)

WORK=$(mktemp -d)
GAME=$WORK/game
SHOTS=${E2E_SHOTS:-$WORK/shots}
mkdir -p "$SHOTS"
WITS_TITLE="ゼルモア　知恵くらべにようこそ"
GAME_PID=""
FAILURES=0

cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    xs_stop_display
    rm -rf "$WORK"
}
trap cleanup EXIT

say() { echo "e2e: $*"; }
check() { # check <description> <command...>
    local what=$1
    shift
    if "$@"; then
        say "ok: $what"
    else
        say "FAILED: $what"
        FAILURES=$((FAILURES + 1))
    fi
}
die() {
    say "FAILED: $*"
    [ -s "$WORK/game.log" ] && sed 's/^/e2e: game: /' "$WORK/game.log" | tail -n 20
    import -window root "$WORK/failure.png" 2>/dev/null && cp "$WORK/failure.png" "${E2E_FAILURE_SHOT:-/tmp/zelmor-e2e-failure.png}" &&
        say "screen kept in ${E2E_FAILURE_SHOT:-/tmp/zelmor-e2e-failure.png}"
    exit 1
}

cp -r "$PROGRAM_DIR" "$GAME"
rm -f "$GAME/Zelmor.ini" "$GAME/Zelmor.bin"
xs_start_display || die "no X server"

start_game() {
    xs_ensure_display || die "no X server"
    (cd "$GAME" && exec ./zelmor >>"$WORK/game.log" 2>&1) &
    GAME_PID=$!
}
quit_game() { # Escape on the main window, then the program must end
    xs_key "$1" Escape
    xs_wait_exit "$GAME_PID" 30 || die "the game did not end after Escape"
    GAME_PID=""
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
start_game
xs_wait_window "$XS_TITLE" 60 >/dev/null || die "no window titled $XS_TITLE"
say "ok: a window titled $XS_TITLE appears"
MAIN=$(xs_reach_main_window 60) || die "the main window did not appear"
check "no battle of wits on a first start" test -z "$(xs_windows "$WITS_TITLE")"
quit_game "$MAIN"
check "both files are saved after Escape" test -s "$GAME/Zelmor.ini" -a -s "$GAME/Zelmor.bin"
check "the first start saved \$100" test "$(money)" = 100

# Probability 6 in 6, so that every spin outside the slot chance is a jackpot.
# Line 30 is not part of the check; the file's time is kept.
xs_set_line "$GAME/Zelmor.ini" 30 6

# ---------------------------------------------------------------- 2: a jackpot
say "second start: a jackpot"
start_game
MAIN=$(xs_reach_main_window 60) || die "the main window did not appear (battle of wits: $(xs_windows "$WITS_TITLE"))"
check "the saved pair passes the check without the battle of wits" test -z "$(xs_windows "$WITS_TITLE")"
xs_measure_menu "$MAIN"
sleep 0.5
xs_shot "$MAIN" "$SHOTS/e2e-idle.png"
xs_buy_bet "$MAIN" || die "no BET bought"
BEFORE=$XS_MONEY_BEFORE_SPIN
xs_spin_to_jackpot "$MAIN" "$SHOTS/e2e-reach.png" || die "no jackpot at a probability of 6 in 6"
sleep 0.5
quit_game "$MAIN"
AFTER=$(money)
say "money before the spin \$$BEFORE, after the jackpot \$$AFTER"
check "the jackpot made the money grow" test "$AFTER" -gt "$BEFORE"
XS_MONEY_KNOWN=$AFTER

# ---------------------------------------------------------------- 3: slot chance, help, version
say "third start: the slot chance, help and version windows"
start_game
MAIN=$(xs_reach_main_window 60) || die "the main window did not appear"
check "the pair saved after play passes the check" test -z "$(xs_windows "$WITS_TITLE")"
xs_measure_menu "$MAIN"
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
xs_answer_boxes
quit_game "$MAIN"

# ---------------------------------------------------------------- 4: a hand-edited file
say "fourth start: a hand-edited Zelmor.ini"
xs_set_line "$GAME/Zelmor.ini" 2 9999999
LC_ALL=C sed -i '4s/.*/7\r/' "$GAME/Zelmor.ini" # an editor also changes the time
start_game
WITS=$(xs_wait_window "$WITS_TITLE" 60)
check "a hand-edited Zelmor.ini brings up the battle-of-wits dialog" test -n "$WITS"
[ -n "$WITS" ] && xs_key "$WITS" Escape
xs_wait_exit "$GAME_PID" 30 || { xs_answer_boxes; xs_wait_exit "$GAME_PID" 30; } || die "the game did not end after the battle of wits"
GAME_PID=""
check "the money was reset to \$100" test "$(money)" = 100

if [ "$FAILURES" -ne 0 ]; then
    say "$FAILURES check(s) failed"
    exit 1
fi
say "PASS"
