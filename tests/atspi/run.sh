#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The game as a screen reader reads it, for real: the game in a private X
# server on its own D-Bus session with the accessibility bus, and a pyatspi
# client (read_machine.py) that reads the message boxes, the money, the BET
# and the pay line, buys a BET and presses Start through accessible actions,
# and hears the spin summed up once when it ends. Once in Japanese, once in
# English.
#
#   tests/atspi/run.sh <program-dir>      (CTest passes build/bin)
#
# Skips (exit 0) when Xvfb, xdotool, dbus-run-session, the AT-SPI bus or
# pyatspi are missing.
set -uo pipefail

SOURCE_DIR=$(cd "$(dirname "$0")/../.." && pwd)
. "$SOURCE_DIR/tests/support/xsession.sh"
XS_NAME=atspi
PYTHON=/usr/bin/python3

# The run needs a session bus of its own, so that the accessibility bus it
# starts (by D-Bus activation) is the run's and no desktop's.
if [ -z "${ZELMOR_ATSPI_SESSION:-}" ]; then
    if ! xs_have_tools || ! command -v dbus-run-session >/dev/null 2>&1 ||
        [ ! -x /usr/libexec/at-spi-bus-launcher ] || ! "$PYTHON" -c 'import pyatspi' 2>/dev/null; then
        echo "atspi: SKIPPED: Xvfb, xdotool, dbus, at-spi2-core and python3-pyatspi are needed" \
            "(scripts/install-deps.sh installs them)"
        exit 0
    fi
    ZELMOR_ATSPI_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi

FAILURES=0
trap 'xs_end_run' EXIT

xs_begin_run "${1:?usage: run.sh <program-dir>}" || die "no X server"
INI=$XS_GAME/Zelmor.ini

# A first start saves the pair; then no sound, and probability 6 in 6 so that
# the spin is a jackpot that pays.
xs_save_first_pair
xs_set_line "$INI" 3 1
xs_set_line "$INI" 30 6

# Qt offers its accessibility to the bus only when a screen reader is said to
# be running, or when told to always.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# Runs the client in language $1 ("ja" or "en") on a game started with LANG
# $2 and LANGUAGE $3, then quits the game with Escape on its main window.
read_in() {
    local language=$1
    say "---- $language"
    LANG=$2 LANGUAGE=$3 xs_launch || die "the game did not start"
    XS_GAME_PID=$XS_LAUNCHED
    check "a screen reader reads and plays the machine in $language" \
        timeout 300 "$PYTHON" "$SOURCE_DIR/tests/atspi/read_machine.py" "$language" "$XS_GAME_PID"
    local id
    for id in $(xdotool search --onlyvisible --pid "$XS_GAME_PID" 2>/dev/null); do
        [ "$(xs_width "$id")" = "$XS_MAIN_WIDTH" ] && xs_key "$id" Escape
    done
    xs_wait_exit "$XS_GAME_PID" 30 || check "the game ends after Escape" false
    { kill -KILL "$XS_GAME_PID" && wait "$XS_GAME_PID"; } 2>/dev/null
    XS_GAME_PID=""
}

read_in ja ja_JP.UTF-8 ""
read_in en en_US.UTF-8 en

xs_verdict
