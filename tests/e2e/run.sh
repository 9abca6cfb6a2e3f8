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

if ! xs_have_tools || ! command -v import >/dev/null 2>&1 || ! command -v convert >/dev/null 2>&1; then
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
# Places in twips (left, top, width, height) from the window's layout.
COVER_A="600 720 540 540"
START="400 3600 750 495"
STOP_L="2340 3600 480 480"
STOP_C="3300 3600 480 480"
STOP_R="4280 3600 480 480"
TOP_LAMP="1800 480 3520 255"
CHANCE_COUNTER="5280 3640 375 375"

shot() { import -window "$1" "$2" 2>/dev/null; }
# Fraction of the pixels of a control's box within 25% of a colour.
colour_share() { # file colour left top width height
    local x=$(($3 / 15)) y=$(($4 / 15 + XS_MENU_HEIGHT)) w=$(($5 / 15)) h=$(($6 / 15))
    convert "$1" -crop "${w}x${h}+${x}+${y}" +repage -fuzz 25% -fill black +opaque "$2" \
        -fill white -opaque "$2" -colorspace Gray -format '%[fx:mean]' info: 2>/dev/null
}
brightness() { # file left top width height
    local x=$(($2 / 15)) y=$(($3 / 15 + XS_MENU_HEIGHT)) w=$(($4 / 15)) h=$(($5 / 15))
    convert "$1" -crop "${w}x${h}+${x}+${y}" +repage -colorspace Gray -format '%[fx:mean]' info: 2>/dev/null
}
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
start_visible() { shot "$1" "$WORK/s.png"; above "$(colour_share "$WORK/s.png" 'rgb(0,255,0)' $START)" 0.2; }
stops_visible() { shot "$1" "$WORK/s.png"; above "$(colour_share "$WORK/s.png" 'rgb(220,0,0)' $STOP_L)" 0.15; }
stops_gone() { ! stops_visible "$1"; }

answer_boxes() { local b; while b=$(xs_message_box); do xs_key "$b" Return; sleep 0.3; done; }

# Buys a BET at cover A until Start shows; borrows $100 from the File menu when
# the money runs out. Sets SPENT_FROM (the money before the click that
# completed the BET, as far as known) and MONEY_BEFORE_SPIN.
MONEY_KNOWN=100
buy_bet() {
    local win=$1 tries=0 left=$MONEY_KNOWN
    while ! start_visible "$win"; do
        tries=$((tries + 1))
        [ $tries -le 60 ] || die "no cover hit in 60 tries"
        if [ "$left" -lt 10 ]; then
            xs_key "$win" alt+f
            sleep 0.3
            xdotool key 1
            sleep 0.5
            if xs_message_box >/dev/null; then
                answer_boxes # refused: try again
            else
                left=100
            fi
            continue
        fi
        xs_click_twips "$win" $COVER_A
        left=$((left - 10))
        sleep 0.3
        answer_boxes
    done
    MONEY_BEFORE_SPIN=$left
}

# Presses Start and waits for the jackpot's slot-chance counter, keeping a
# screenshot of the first reach whose frame lamps are lit.
REACH_SHOT=""
spin_to_jackpot() {
    local win=$1 i
    xs_click_twips "$win" $START
    for i in $(seq 1 600); do
        shot "$win" "$WORK/j.png"
        if [ -z "$REACH_SHOT" ] && above "$(colour_share "$WORK/j.png" 'rgb(0,255,255)' $TOP_LAMP)" 0.5; then
            cp "$WORK/j.png" "$SHOTS/e2e-reach.png"
            REACH_SHOT=yes
        fi
        if ! above "$(brightness "$WORK/j.png" $CHANCE_COUNTER)" 0.35; then
            return 0
        fi
        answer_boxes
        sleep 0.2
    done
    die "no jackpot within two minutes at a probability of 6 in 6"
}

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
shot "$MAIN" "$SHOTS/e2e-idle.png"
buy_bet "$MAIN"
BEFORE=$MONEY_BEFORE_SPIN
spin_to_jackpot "$MAIN"
sleep 0.5
quit_game "$MAIN"
AFTER=$(money)
say "money before the spin \$$BEFORE, after the jackpot \$$AFTER"
check "the jackpot made the money grow" test "$AFTER" -gt "$BEFORE"
MONEY_KNOWN=$AFTER

# ---------------------------------------------------------------- 3: slot chance, help, version
say "third start: the slot chance, help and version windows"
start_game
MAIN=$(xs_reach_main_window 60) || die "the main window did not appear"
check "the pair saved after play passes the check" test -z "$(xs_windows "$WITS_TITLE")"
xs_measure_menu "$MAIN"
buy_bet "$MAIN"
spin_to_jackpot "$MAIN"
MONEY_KNOWN=100000 # plenty after a jackpot; only whether it is above $10 matters
buy_bet "$MAIN"
xs_click_twips "$MAIN" $START
for i in $(seq 1 40); do stops_visible "$MAIN" && break; sleep 0.1; done
check "the slot chance shows its STOP buttons" stops_visible "$MAIN"
sleep 0.3
shot "$MAIN" "$SHOTS/e2e-slotchance.png"
for stop in "$STOP_L" "$STOP_C" "$STOP_R"; do
    sleep 0.4
    xs_click_twips "$MAIN" $stop
done
sleep 1
answer_boxes
check "the STOP buttons ended the spin" stops_gone "$MAIN"

xs_key "$MAIN" alt+h
sleep 0.3
xdotool key m
HELP=$(xs_wait_window "ゼルモアのヘルプ" 15) && { sleep 0.5; shot "$HELP" "$SHOTS/e2e-help.png"; xs_key "$HELP" Escape; }
check "the help window opens from the Help menu" test -n "$HELP"
sleep 0.5
xs_key "$MAIN" alt+h
sleep 0.3
xdotool key v
ABOUT=$(xs_wait_window "ﾊﾞｰｼﾞｮﾝ情報" 15) && { sleep 0.5; shot "$ABOUT" "$SHOTS/e2e-version.png"; xs_key "$ABOUT" Escape; }
check "the version window opens from the Help menu" test -n "$ABOUT"
sleep 0.5
answer_boxes
quit_game "$MAIN"

# ---------------------------------------------------------------- 4: a hand-edited file
say "fourth start: a hand-edited Zelmor.ini"
xs_set_line "$GAME/Zelmor.ini" 2 9999999
LC_ALL=C sed -i '4s/.*/7\r/' "$GAME/Zelmor.ini" # an editor also changes the time
start_game
WITS=$(xs_wait_window "$WITS_TITLE" 60)
check "a hand-edited Zelmor.ini brings up the battle-of-wits dialog" test -n "$WITS"
[ -n "$WITS" ] && xs_key "$WITS" Escape
xs_wait_exit "$GAME_PID" 30 || { answer_boxes; xs_wait_exit "$GAME_PID" 30; } || die "the game did not end after the battle of wits"
GAME_PID=""
check "the money was reset to \$100" test "$(money)" = 100

if [ "$FAILURES" -ne 0 ]; then
    say "$FAILURES check(s) failed"
    exit 1
fi
say "PASS"
