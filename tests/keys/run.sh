#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A key held down, for real in a private X server: cover A's key "1" is held
# for eight seconds under X's auto-repeat while two processes keep both CPUs
# busy, then released. The game talks to the server through a relay that
# hands it each release alone (late_press.py), as a busy desktop does now and
# then, so that Qt sees every repeat as a release and a new press. Exactly
# one cover is bought: a repeat never counts as a new press, however late
# the machine reads it.
#
#   tests/keys/run.sh <program-dir>      (CTest passes build/bin)
#
# Skips (exit 0) when Xvfb or xdotool are missing.
set -uo pipefail

SOURCE_DIR=$(cd "$(dirname "$0")/../.." && pwd)
. "$SOURCE_DIR/tests/support/xsession.sh"
XS_NAME=keys

if ! xs_have_tools; then
    echo "keys: SKIPPED: Xvfb and xdotool are needed (scripts/install-deps.sh installs them)"
    exit 0
fi

FAILURES=0
HOGS=()
RELAY_PID=""
stop_hogs() { [ ${#HOGS[@]} -gt 0 ] && kill "${HOGS[@]}" 2>/dev/null; HOGS=(); }
trap 'xdotool keyup 1 2>/dev/null; stop_hogs; xs_end_run $RELAY_PID; rm -f "/tmp/.X11-unix/X${LATE:-none}"' EXIT

xs_begin_run "${1:?usage: run.sh <program-dir>}" || die "no X server"
INI=$XS_GAME/Zelmor.ini

# A pair with $1000, so that every repeat could buy a cover.
xs_save_first_pair
xs_set_line "$INI" 3 1 # no sound

xs_start_game 60 || die "the main window did not appear"
MAIN=$XS_MAIN
# The X server at the lowest priority and two busy loops per processor: the
# server is then often interrupted between a repeat's release and its press.
renice -n 19 -p "$XS_XVFB_PID" >/dev/null 2>&1
for _ in $(seq 1 $((2 * $(nproc)))); do
    (while :; do :; done) &
    HOGS+=($!)
done
xdotool windowfocus --sync "$MAIN" 2>/dev/null
xdotool keydown 1
sleep 8
xdotool keyup 1
stop_hogs
sleep 0.5
xs_key "$MAIN" Escape
xs_wait_exit "$XS_GAME_PID" 30 || die "the game did not end after Escape"
XS_GAME_PID=""
MONEY=$(xs_get_line "$INI" 2)
say "money after holding 1 for eight seconds: \$$MONEY"
check "one cover bought, no repeat (\$100 - \$10)" test "$MONEY" = 90

xs_verdict
