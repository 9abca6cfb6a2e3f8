#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package, installs it, plays the installed game as a user
# who is not root, quits, starts it again and checks that the money was kept
# in the player's data directory (~/.local/share/zelmor).
#
#   tests/package/package_test.sh [build-dir]        (default: build)
#
# As root it installs the package with dpkg -i (the runtime dependencies must
# already be installed) and removes it again afterwards, and creates a
# throw-away user for the run. Without root it unpacks the package into a
# scratch root with dpkg -x, makes the program's directory read-only, and
# plays as the current user with a scratch HOME.
#
# Not run by CTest: it installs system packages and users.
set -euo pipefail

SOURCE_DIR=$(cd "$(dirname "$0")/../.." && pwd)
BUILD_DIR=$(cd "${1:-$SOURCE_DIR/build}" && pwd)
. "$SOURCE_DIR/tests/support/xsession.sh"

PLAYER=zelmortest
WITS_TITLE="ゼルモア　知恵くらべにようこそ"
WORK=$(mktemp -d)
chmod 755 "$WORK"
INSTALLED_BY_US=0
USER_CREATED=0
GAME_PID=""

say() { echo "package_test: $*"; }
fail() {
    echo "package_test: FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ] && [ -n "$XS_XVFB_PID" ]; then
        echo "package_test: windows: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' '|')" >&2
        command -v import >/dev/null && import -window root "$BUILD_DIR/package_test_failure.png" 2>/dev/null &&
            echo "package_test: screen saved as $BUILD_DIR/package_test_failure.png" >&2
    fi
    exit 1
}

cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
    xs_stop_display
    if [ "$INSTALLED_BY_US" = 1 ]; then
        dpkg -r zelmor >/dev/null 2>&1 && say "package removed again"
    fi
    if [ "$USER_CREATED" = 1 ]; then
        userdel -r "$PLAYER" >/dev/null 2>&1 || true
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT

xs_have_tools || fail "Xvfb and xdotool are needed (scripts/install-deps.sh)"

say "building the package"
cmake --build "$BUILD_DIR" -j2 >/dev/null
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
DEB=$(ls -t "$BUILD_DIR"/zelmor_*.deb | head -n 1)
say "package: $(basename "$DEB")"
dpkg-deb -f "$DEB" Depends

if [ "$(id -u)" = 0 ]; then
    if dpkg -s zelmor >/dev/null 2>&1; then
        fail "zelmor is already installed on this machine; remove it first"
    fi
    say "installing with dpkg -i"
    dpkg -i "$DEB" >/dev/null
    INSTALLED_BY_US=1
    GAME=/usr/games/zelmor
    ROOT=
    PROGRAM_DIR=/usr/lib/zelmor
    if ! id "$PLAYER" >/dev/null 2>&1; then
        useradd -m "$PLAYER"
        USER_CREATED=1
    fi
    PLAYER_HOME=$(getent passwd "$PLAYER" | cut -d: -f6)
    run_game() {
        runuser -u "$PLAYER" -- env -i HOME="$PLAYER_HOME" DISPLAY="$DISPLAY" PATH=/usr/games:/usr/bin:/bin \
            LANG=C.UTF-8 SDL_AUDIODRIVER=dummy "$GAME" >/dev/null 2>&1 &
        GAME_PID=$!
    }
else
    say "not root: unpacking into a scratch root with dpkg -x"
    dpkg -x "$DEB" "$WORK/root"
    GAME=$WORK/root/usr/games/zelmor
    ROOT=$WORK/root
    PROGRAM_DIR=$WORK/root/usr/lib/zelmor
    chmod a-w "$PROGRAM_DIR"
    PLAYER=$(id -un)
    PLAYER_HOME=$WORK/home
    mkdir -p "$PLAYER_HOME"
    run_game() {
        env -i HOME="$PLAYER_HOME" DISPLAY="$DISPLAY" PATH=/usr/games:/usr/bin:/bin LANG=C.UTF-8 SDL_AUDIODRIVER=dummy \
            "$GAME" >/dev/null 2>&1 &
        GAME_PID=$!
    }
fi
DATA_DIR=$PLAYER_HOME/.local/share/zelmor

[ -x "$GAME" ] || fail "no $GAME"
[ -f "$PROGRAM_DIR/R00.BMP" ] || fail "the pictures are not beside the program"
# The desktop's view of the game: one application id, the manual, the licence.
for file in /usr/share/applications/org.zelmor.Zelmor.desktop /usr/share/metainfo/org.zelmor.Zelmor.metainfo.xml \
    /usr/share/icons/hicolor/256x256/apps/org.zelmor.Zelmor.png /usr/share/man/man6/zelmor.6.gz \
    /usr/share/doc/zelmor/copyright; do
    [ -f "$ROOT$file" ] || fail "no $file"
done
grep -q "MIT" "$ROOT/usr/share/doc/zelmor/copyright" || fail "the copyright file names no licence"
[ -n "$ROOT" ] || man -w zelmor >/dev/null 2>&1 || fail "man finds no manual page for zelmor"
# The sound device is a module beside the program, loaded on the first sound;
# everything it needs must come with the package's dependencies.
[ -f "$PROGRAM_DIR/libzelmor_audio.so" ] || fail "the sound module is not beside the program"
if ldd "$PROGRAM_DIR/libzelmor_audio.so" | grep -q "not found"; then
    fail "the sound module's libraries are missing: $(ldd "$PROGRAM_DIR/libzelmor_audio.so" | grep "not found" | tr '\n' ' ')"
fi

xs_start_display

# Watches for the battle-of-wits dialog while a start runs.
wits_seen() { [ -n "$(xs_windows "$WITS_TITLE")" ]; }

# First run: play a little, then quit with Escape.
say "first start as $PLAYER"
xs_ensure_display
run_game
MAIN=$(xs_reach_main_window 60) || fail "the main window did not appear"
wits_seen && fail "the battle of wits came up on a first start"
xs_measure_menu "$MAIN"
# The sound switched twice from the File menu, before any spin: switching
# it on readies the sound device, which loads the sound module from the
# program's directory.
for i in 1 2; do
    xs_key "$MAIN" alt+f
    sleep 0.3
    xdotool key s
    sleep 0.5
done
grep -q "$PROGRAM_DIR/libzelmor_audio.so" "/proc/$(pgrep -n -x zelmor)/maps" ||
    fail "switching the sound on did not load $PROGRAM_DIR/libzelmor_audio.so"
say "switching the sound on loaded the sound module from $PROGRAM_DIR"
for i in 1 2 3 4 5 6 7 8; do
    xs_click_twips "$MAIN" 600 720 540 540      # cover A
    sleep 0.15
    box=$(xs_message_box || true)
    [ -n "$box" ] && xs_key "$box" Return
done
xs_click_twips "$MAIN" 400 3600 750 495          # Start, if a cover hit
sleep 9
box=$(xs_message_box || true)
[ -n "$box" ] && xs_key "$box" Return
MAIN=$(xs_main_window) || fail "the main window is gone"
xs_key "$MAIN" Escape
xs_wait_exit "$GAME_PID" 20 || fail "the game did not end after Escape"
GAME_PID=""

[ -f "$DATA_DIR/Zelmor.ini" ] && [ -f "$DATA_DIR/Zelmor.bin" ] || fail "no saved files in $DATA_DIR"
[ ! -e "$PROGRAM_DIR/Zelmor.ini" ] || fail "the settings file was written into the program's directory"
OWNER=$(stat -c %U "$DATA_DIR/Zelmor.ini")
[ "$OWNER" = "$PLAYER" ] || fail "the settings file belongs to $OWNER"
MONEY1=$(xs_get_line "$DATA_DIR/Zelmor.ini" 2)
say "saved money after the first run: \$$MONEY1"
[ -n "$MONEY1" ] && [ "$MONEY1" != 100 ] || fail "the play did not change the money ($MONEY1)"

# Second run: the saved pair must pass the check and keep the money.
say "second start"
STAMP1=$(stat -c %Y "$DATA_DIR/Zelmor.ini")
sleep 1.1
xs_ensure_display
run_game
MAIN=$(xs_reach_main_window 60) || fail "the main window did not appear on the second start"
wits_seen && fail "the battle of wits came up: the saved pair failed the check"
xs_key "$MAIN" Escape
xs_wait_exit "$GAME_PID" 20 || fail "the game did not end after Escape"
GAME_PID=""
MONEY2=$(xs_get_line "$DATA_DIR/Zelmor.ini" 2)
STAMP2=$(stat -c %Y "$DATA_DIR/Zelmor.ini")
[ "$STAMP2" -gt "$STAMP1" ] || fail "the second run did not save"
[ "$MONEY2" = "$MONEY1" ] || fail "the money was not kept: \$$MONEY1 then \$$MONEY2"
say "money kept across runs: \$$MONEY2"
say "PASS"
