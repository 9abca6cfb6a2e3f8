# SPDX-License-Identifier: MIT
# Shell helpers for driving the real game in a private X server (Xvfb) with
# xdotool: used by the end-to-end tests, the package test and the benchmarks.
# Source this file; every function prints errors to stderr and returns non-zero
# on failure.

XS_TITLE=${XS_TITLE:-ゼルモア} # the game's title; Zelmor on an English desktop
XS_MAIN_WIDTH=494          # the main window's client area is 494 x 285 px
XS_XVFB_PID=""
XS_SCRATCH=""              # screenshots taken by the probes below

# A test script's report: each line starts with $XS_NAME, and check counts
# the checks that failed in FAILURES.
say() { echo "${XS_NAME:-xsession}: $*"; }
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

# A test script's end when a step it needs fails: the reason and the game's
# last lines. A script may define its own die after sourcing this file.
die() {
    say "FAILED: $*"
    xs_game_log
    exit 1
}

# A test script's last words: PASS, or how many checks failed.
xs_verdict() {
    if [ "${FAILURES:-0}" -ne 0 ]; then
        say "$FAILURES check(s) failed"
        xs_game_log
        exit 1
    fi
    say "PASS"
}

xs_have_tools() {
    command -v Xvfb >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1
}

# Starts Xvfb on the first free display number from a per-process offset
# (so that parallel runs rarely meet) and exports DISPLAY. The server must not
# reset when its last client leaves (-noreset): a game started while it resets
# cannot connect, and a screenshot taken then comes out empty.
# The programs started afterwards must draw on it, whatever platform the test
# run chose for the headless tests (QT_QPA_PLATFORM=offscreen).
xs_start_display() {
    export QT_QPA_PLATFORM=xcb
    [ -n "$XS_SCRATCH" ] || XS_SCRATCH=$(mktemp -d)
    local n first=$((150 + $$ % 100))
    for n in $(seq "$first" $((first + 60))); do
        [ -e "/tmp/.X${n}-lock" ] && continue
        Xvfb ":$n" -ac -noreset -nolisten tcp -screen 0 "${XS_SCREEN:-1024x768x24}" >/dev/null 2>&1 &
        XS_XVFB_PID=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 1 100); do
            if xdotool getdisplaygeometry >/dev/null 2>&1; then
                # Another server may hold the number without a lock file: then
                # ours has ended by now, and the next number is tried.
                sleep 0.3
                kill -0 "$XS_XVFB_PID" 2>/dev/null && return 0
                break
            fi
            kill -0 "$XS_XVFB_PID" 2>/dev/null || break
            sleep 0.05
        done
        kill "$XS_XVFB_PID" 2>/dev/null
        wait "$XS_XVFB_PID" 2>/dev/null
    done
    echo "xsession: could not start Xvfb" >&2
    return 1
}

# Restarts the private X server if it has gone away (or its display no longer
# answers), so that one lost server does not fail a whole run.
xs_ensure_display() {
    if [ -n "$XS_XVFB_PID" ] && kill -0 "$XS_XVFB_PID" 2>/dev/null &&
        xdotool getdisplaygeometry >/dev/null 2>&1; then
        return 0
    fi
    echo "xsession: the X server went away; starting another" >&2
    xs_stop_display
    xs_start_display
}

xs_stop_display() {
    if [ -n "$XS_XVFB_PID" ]; then
        kill "$XS_XVFB_PID" 2>/dev/null
        wait "$XS_XVFB_PID" 2>/dev/null
        XS_XVFB_PID=""
    fi
    [ -n "$XS_SCRATCH" ] && rm -rf "$XS_SCRATCH"
    XS_SCRATCH=""
}

# Width of a window.
xs_width() {
    xdotool getwindowgeometry --shell "$1" 2>/dev/null | sed -n 's/^WIDTH=//p'
}

# Visible windows whose title is exactly $1, one id a line. The titles are
# compared here rather than by xdotool's --name, which reads the legacy
# WM_NAME: a game started in the C locale (LANG unset) cannot write its
# Japanese title there, only in the UTF-8 _NET_WM_NAME that getwindowname reads.
xs_windows() {
    local id
    for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
        [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ] && echo "$id"
    done
    return 0
}

# Waits up to $2 seconds (default 20) for a visible window titled exactly $1
# and prints its id.
xs_wait_window() {
    local title=$1 timeout=${2:-20} id i
    for i in $(seq 1 $((timeout * 20))); do
        id=$(xs_windows "$title" | head -n 1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.05
    done
    echo "xsession: no window titled '$title' after ${timeout}s" >&2
    return 1
}

# The game's main window (titled like its message boxes, but 494 px wide).
xs_main_window() {
    local id
    for id in $(xs_windows "$XS_TITLE"); do
        if [ "$(xs_width "$id")" = "$XS_MAIN_WIDTH" ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

# A message box of the game (a window titled like the game that is not the
# main window).
xs_message_box() {
    local id
    for id in $(xs_windows "$XS_TITLE"); do
        if [ "$(xs_width "$id")" != "$XS_MAIN_WIDTH" ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

# Sends a key to a window: focus it, then type through XTEST.
xs_key() {
    xdotool windowfocus --sync "$1" >/dev/null 2>&1 || xdotool windowfocus "$1" >/dev/null 2>&1
    xdotool key --clearmodifiers "$2"
}

# Answers message boxes with Return until the main window shows, up to $1
# seconds (default 30); the titles of the boxes answered go to stdout of
# xs_boxes_answered. Prints the main window's id.
XS_BOXES_ANSWERED=0
xs_reach_main_window() {
    local timeout=${1:-30} i id
    XS_BOXES_ANSWERED=0
    for i in $(seq 1 $((timeout * 20))); do
        if id=$(xs_main_window); then
            echo "$id"
            return 0
        fi
        if id=$(xs_message_box); then
            xs_key "$id" Return
            XS_BOXES_ANSWERED=$((XS_BOXES_ANSWERED + 1))
            sleep 0.2
            continue
        fi
        sleep 0.05
    done
    echo "xsession: the main window did not appear" >&2
    return 1
}

# Clicks at a point given in twips within the main window's client area.
# $1 window, $2 $3 left and top in twips of the control, $4 $5 its size.
# The client area starts below the menu bar: XS_MENU_HEIGHT (measured by
# xs_measure_menu) pixels down from the window's top.
XS_MENU_HEIGHT=0
xs_measure_menu() {
    local h
    h=$(xdotool getwindowgeometry --shell "$1" | sed -n 's/^HEIGHT=//p')
    XS_MENU_HEIGHT=$((h - 285))
    [ "$XS_MENU_HEIGHT" -ge 0 ] || XS_MENU_HEIGHT=0
}

xs_click_twips() {
    local win=$1 left=$2 top=$3 width=$4 height=$5
    local x=$(((left + width / 2) / 15)) y=$(((top + height / 2) / 15 + XS_MENU_HEIGHT))
    xdotool mousemove --window "$win" "$x" "$y" click 1
}

# Waits up to $2 seconds for process $1 to end.
xs_wait_exit() {
    local pid=$1 timeout=${2:-20} i
    for i in $(seq 1 $((timeout * 20))); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.05
    done
    return 1
}

# Settings file edits that keep the file's CR LF line ends and its
# modification time, so the game's check of the two files still passes.
xs_set_line() {
    local file=$1 line=$2 value=$3
    local stamp
    stamp=$(mktemp)
    touch -r "$file" "$stamp"
    LC_ALL=C sed -i "${line}s/.*/${value}\r/" "$file"
    touch -r "$stamp" "$file"
    rm -f "$stamp"
}

xs_get_line() {
    LC_ALL=C sed -n "${2}p" "$1" | tr -d '\r'
}

# Copies program directory $1 to $2 and plays a first start there, so that
# the copy holds a saved pair, as a player's second start finds it; then
# sets settings line 3 to $3 (1: no sound, 0: sound).
xs_saved_program_copy() {
    local pid main
    cp -r "$1" "$2" || return 1
    "$2/zelmor" >/dev/null 2>&1 &
    pid=$!
    main=$(xs_reach_main_window 60) || return 1
    xs_key "$main" Escape
    xs_wait_exit "$pid" 20
    xs_set_line "$2/Zelmor.ini" 3 "$3"
}

# ---------------------------------------------------------------- playing
# These need ImageMagick (import, convert) besides Xvfb and xdotool.
xs_have_imagemagick() {
    command -v import >/dev/null 2>&1 && command -v convert >/dev/null 2>&1
}

# Places in twips (left, top, width, height) from the window's layout.
XS_COVER_A="600 720 540 540"
XS_START="400 3600 750 495"
XS_TOP_LAMP="1800 480 3520 255"
XS_CHANCE_COUNTER="5280 3640 375 375"

xs_shot() { import -window "$1" "$2" 2>/dev/null; }

# Fraction of the pixels of a control's box within 25% of a colour.
xs_colour_share() { # file colour left top width height
    local x=$(($3 / 15)) y=$(($4 / 15 + XS_MENU_HEIGHT)) w=$(($5 / 15)) h=$(($6 / 15))
    convert "$1" -crop "${w}x${h}+${x}+${y}" +repage -fuzz 25% -fill black +opaque "$2" \
        -fill white -opaque "$2" -colorspace Gray -format '%[fx:mean]' info: 2>/dev/null
}
xs_brightness() { # file left top width height
    local x=$(($2 / 15)) y=$(($3 / 15 + XS_MENU_HEIGHT)) w=$(($4 / 15)) h=$(($5 / 15))
    convert "$1" -crop "${w}x${h}+${x}+${y}" +repage -colorspace Gray -format '%[fx:mean]' info: 2>/dev/null
}
xs_above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
xs_start_visible() {
    xs_shot "$1" "$XS_SCRATCH/s.png"
    xs_above "$(xs_colour_share "$XS_SCRATCH/s.png" 'rgb(0,255,0)' $XS_START)" 0.2
}

# Answers every message box of the game with Return.
xs_answer_boxes() { local b; while b=$(xs_message_box); do xs_key "$b" Return; sleep 0.3; done; }

# Buys a BET at cover A until Start shows; borrows $100 from the File menu when
# the money runs out. XS_MONEY_KNOWN is the money before the first click, as
# far as the caller knows; XS_MONEY_BEFORE_SPIN is set to the money left.
XS_MONEY_KNOWN=100
XS_MONEY_BEFORE_SPIN=0
xs_buy_bet() {
    local win=$1 tries=0 left=$XS_MONEY_KNOWN
    while ! xs_start_visible "$win"; do
        tries=$((tries + 1))
        if [ $tries -gt 60 ]; then
            echo "xsession: no cover hit in 60 tries" >&2
            return 1
        fi
        if [ "$left" -lt 10 ]; then
            xs_key "$win" alt+f
            sleep 0.3
            xdotool key 1
            sleep 0.5
            if xs_message_box >/dev/null; then
                xs_answer_boxes # refused: try again
            else
                left=100
            fi
            continue
        fi
        xs_click_twips "$win" $XS_COVER_A
        left=$((left - 10))
        sleep 0.3
        xs_answer_boxes
    done
    XS_MONEY_BEFORE_SPIN=$left
}

# Presses Start and waits for the jackpot's slot-chance counter (the settings'
# line 30 at 6 makes every spin a jackpot). With $2, the first frame of a reach
# whose frame lamps are lit is kept in that file.
xs_spin_to_jackpot() {
    local win=$1 reach=${2:-} shot=$XS_SCRATCH/j.png i
    xs_click_twips "$win" $XS_START
    for i in $(seq 1 600); do
        xs_shot "$win" "$shot"
        if [ -n "$reach" ] && xs_above "$(xs_colour_share "$shot" 'rgb(0,255,255)' $XS_TOP_LAMP)" 0.5; then
            cp "$shot" "$reach"
            reach=""
        fi
        if ! xs_above "$(xs_brightness "$shot" $XS_CHANCE_COUNTER)" 0.35; then
            return 0
        fi
        xs_answer_boxes
        sleep 0.2
    done
    echo "xsession: no jackpot within two minutes" >&2
    return 1
}

# ---------------------------------------------------------------- processes
# Follows a start of the game until its main window shows, for up to $2
# seconds (default 30): message boxes titled like the game are answered with
# Return, any other window (the battle of wits, an error titled "Zelmor") with
# Escape. $1 is the process to watch; $3, when given, the process whose
# windows count (the game's own, when $1 is a tracer that started it).
# Sets XS_MAIN to the main window and XS_ANSWERED to the titles answered, one
# a line. Fails when the process ends first or the time runs out.
XS_MAIN=""
XS_ANSWERED=""
xs_follow_start() {
    local pid=$1 timeout=${2:-30} owner=${3:-} i id title
    XS_MAIN=""
    XS_ANSWERED=""
    for i in $(seq 1 $((timeout * 20))); do
        kill -0 "$pid" 2>/dev/null || return 1
        for id in $(if [ -n "$owner" ]; then
            xdotool search --onlyvisible --pid "$owner"
        else
            xdotool search --onlyvisible --name ''
        fi 2>/dev/null); do
            title=$(xdotool getwindowname "$id" 2>/dev/null) || continue
            [ -n "$title" ] || continue # a window without a title is none of the game's boxes
            if [ "$title" = "$XS_TITLE" ] && [ "$(xs_width "$id")" = "$XS_MAIN_WIDTH" ]; then
                XS_MAIN=$id
                return 0
            fi
            XS_ANSWERED+="$title"$'\n'
            if [ "$title" = "$XS_TITLE" ]; then
                xs_key "$id" Return
            else
                xs_key "$id" Escape
            fi
            sleep 0.2
            break
        done
        sleep 0.05
    done
    return 1
}

# ---------------------------------------------------------------- a run of the game
# The start-up that the scripts playing the real game share. A run works in a
# scratch directory XS_WORK: a copy of the program without save files in
# XS_GAME, the game's output in game.log, and the preferences (window size,
# calm lamps, volumes) under config/, so that the player's own never reach
# the run. XS_GAME_PID is the copy of the game the run plays.
XS_WORK=""
XS_GAME=""
XS_GAME_PID=""
XS_LAUNCHED=""

# Makes the scratch directory from program directory $1 and starts the
# private X server.
xs_begin_run() {
    local program
    program=$(cd "$1" && pwd) || return 1
    XS_WORK=$(mktemp -d) || return 1
    export XDG_CONFIG_HOME=$XS_WORK/config
    XS_GAME=$XS_WORK/game
    cp -r "$program" "$XS_GAME" || return 1
    rm -f "$XS_GAME"/Zelmor.*
    xs_start_display
}

# Ends the run: kills the game and any other processes given, stops the X
# server and removes the scratch directory. For the script's EXIT trap.
xs_end_run() {
    local pid
    for pid in "$XS_GAME_PID" "$@"; do
        [ -n "$pid" ] || continue
        { kill -KILL "$pid" && wait "$pid"; } 2>/dev/null # no "Killed" notice
    done
    XS_GAME_PID=""
    xs_stop_display
    [ -n "$XS_WORK" ] && rm -rf "$XS_WORK"
    XS_WORK=""
}

# Starts a copy of the game in XS_GAME, its output appended to game.log, and
# sets XS_LAUNCHED to its process id. XS_LANG, when set, is the LANG it
# starts under.
xs_launch() {
    xs_ensure_display || return 1
    if [ -n "${XS_LANG:-}" ]; then # the desktop's language for this start only
        (cd "$XS_GAME" && LANG=$XS_LANG LANGUAGE= exec ./zelmor >>"$XS_WORK/game.log" 2>&1) &
    else
        (cd "$XS_GAME" && exec ./zelmor >>"$XS_WORK/game.log" 2>&1) &
    fi
    XS_LAUNCHED=$!
}

# Starts the game as XS_GAME_PID and follows its start until its main window
# shows (xs_follow_start, for up to $1 seconds, default 60), then measures its
# menu bar. Sets XS_MAIN and XS_ANSWERED; XS_GAME_PID is set even when the
# start fails, so that the run's end still stops it.
xs_start_game() {
    xs_launch || return 1
    XS_GAME_PID=$XS_LAUNCHED
    xs_follow_start "$XS_GAME_PID" "${1:-60}" "$XS_GAME_PID" || return 1
    xs_measure_menu "$XS_MAIN"
}

# A first start that saves the pair: the game starts, shows its main window
# and ends on Escape, leaving Zelmor.ini and Zelmor.bin to edit.
xs_save_first_pair() {
    xs_start_game 60 || die "the main window did not appear"
    xs_key "$XS_MAIN" Escape
    xs_wait_exit "$XS_GAME_PID" 30 || die "the game did not end after Escape"
    XS_GAME_PID=""
}

# The last lines the game printed, each prefixed with "$XS_NAME: game: ".
xs_game_log() {
    [ -s "$XS_WORK/game.log" ] && sed "s/^/${XS_NAME:-xsession}: game: /" "$XS_WORK/game.log" | tail -n 20
    return 0
}
