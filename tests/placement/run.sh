#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Where the game's windows go under a real window manager (openbox): the data
# counter opens beside the machine, not over it, on a 1920 x 1080 screen and
# on a 3840 x 2160 one at QT_SCALE_FACTOR=2, where the centred machine leaves
# no room for it on either side; and a second copy, refused, raises the first
# copy's window above a window that covered it.
#
#   tests/placement/run.sh <program-dir>      (CTest passes build/bin)
#
# Skips (exit 0) when Xvfb, xdotool or openbox are missing.
set -uo pipefail

SOURCE_DIR=$(cd "$(dirname "$0")/../.." && pwd)
. "$SOURCE_DIR/tests/support/xsession.sh"
XS_NAME=placement

if ! xs_have_tools || ! command -v openbox >/dev/null; then
    echo "placement: SKIPPED: Xvfb, xdotool and openbox are needed (scripts/install-deps.sh installs them)"
    exit 0
fi

FAILURES=0
WM_PID=""
COVER_PID=""
trap 'xs_end_run $WM_PID $COVER_PID' EXIT

# A fresh X server of the given size, managed by openbox.
start_screen() { # start_screen <width>x<height>x<depth>
    if [ -n "$WM_PID" ]; then
        kill "$WM_PID" 2>/dev/null
        wait "$WM_PID" 2>/dev/null
    fi
    xs_stop_display
    XS_SCREEN=$1 xs_start_display || die "no X server of $1"
    openbox >/dev/null 2>&1 &
    WM_PID=$!
    for _ in $(seq 1 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
        sleep 0.1
    done
    die "openbox did not start"
}

XS_SCREEN=1920x1080x24 xs_begin_run "${1:?usage: run.sh <program-dir>}" || die "no X server"
start_screen 1920x1080x24

# x y width height of a window's client area on the screen.
geometry() {
    xdotool getwindowgeometry --shell "$1" |
        awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, w, h}'
}
# The area two rectangles share, in pixels.
overlap() { # overlap "x y w h" "x y w h"
    awk -v a="$1" -v b="$2" 'BEGIN {
        split(a, p, " "); split(b, q, " ")
        w = (p[1] + p[3] < q[1] + q[3] ? p[1] + p[3] : q[1] + q[3]) - (p[1] > q[1] ? p[1] : q[1])
        h = (p[2] + p[4] < q[2] + q[4] ? p[2] + p[4] : q[2] + q[4]) - (p[2] > q[2] ? p[2] : q[2])
        print (w > 0 && h > 0) ? w * h : 0 }'
}
open_counter() { # the data counter's window id, opened with Ctrl+D
    xs_key "$1" ctrl+d
    xs_wait_window "$(if [ "${LANG:-}" = "${LANG#en}" ]; then echo データカウンター; else echo "Data Counter"; fi)" 15
}
quit_game() {
    xs_key "$XS_MAIN" Escape
    xs_wait_exit "$XS_GAME_PID" 30 || die "the game did not end after Escape"
    XS_GAME_PID=""
}

# Opens the data counter, checks that it covers none of the machine, and
# closes it and the game.
counter_beside_machine() {
    local counter main_at counter_at
    counter=$(open_counter "$XS_MAIN") || die "Ctrl+D opened no data counter"
    sleep 0.5
    main_at=$(geometry "$XS_MAIN")
    counter_at=$(geometry "$counter")
    say "machine at $main_at, data counter at $counter_at"
    check "the data counter covers none of the machine" test "$(overlap "$main_at" "$counter_at")" = 0
    check "the machine stays on the screen" inside_screen "$main_at"
    check "the data counter stays on the screen" inside_screen "$counter_at"
    xs_key "$counter" Escape
    quit_game
}
inside_screen() { # inside_screen "x y w h"
    local x y w h sw sh
    read -r x y w h <<<"$1"
    read -r sw sh <<<"$(xdotool getdisplaygeometry)"
    [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$sw" ] && [ $((y + h)) -le "$sh" ]
}

say "the data counter beside the machine on 1920 x 1080"
xs_start_game 60 || die "the main window did not appear"
counter_beside_machine

say "the data counter beside the machine at QT_SCALE_FACTOR=2 on 3840 x 2160"
start_screen 3840x2160x24
XS_MAIN_WIDTH=988 QT_SCALE_FACTOR=2 xs_start_game 60 || die "the main window did not appear at scale 2"
counter_beside_machine

say "a second copy raises the first"
start_screen 1920x1080x24
xs_start_game 60 || die "the main window did not appear"
FIRST=$XS_MAIN
xmessage -geometry 1900x1000+0+0 "a window over the game" &
COVER_PID=$!
COVER=""
for _ in $(seq 1 50); do
    COVER=$(xdotool search --class Xmessage 2>/dev/null | head -n 1) && [ -n "$COVER" ] && break
    sleep 0.1
done
[ -n "$COVER" ] || die "xmessage showed no window"
sleep 0.5
# Whether the first window stands above the second in the window manager's
# stacking order.
above() { # above <decimal window id> <decimal window id>
    local id place=0 first_at=-1 second_at=-1
    for id in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g'); do
        [ "$((id))" = "$1" ] && first_at=$place
        [ "$((id))" = "$2" ] && second_at=$place
        place=$((place + 1))
    done
    [ "$first_at" -ge 0 ] && [ "$second_at" -ge 0 ] && [ "$first_at" -gt "$second_at" ]
}
check "the covering window starts above the game" above "$COVER" "$FIRST"
xs_launch || die "no X server"
SECOND=$XS_LAUNCHED
for _ in $(seq 1 100); do above "$FIRST" "$COVER" && break; sleep 0.1; done
check "the second copy raised the first copy's window above the other" above "$FIRST" "$COVER"
BOX=$(xs_message_box) && xs_key "$BOX" Return
xs_wait_exit "$SECOND" 30 || say "the second copy is still running"
kill "$COVER_PID" 2>/dev/null
COVER_PID=""
XS_MAIN=$FIRST
quit_game

xs_verdict
