#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The desktop's checks on what the package installs: the desktop file
# (desktop-file-validate), the AppStream metadata (appstreamcli validate) and
# the Debian package itself (lintian: no errors, no warnings), and the manual
# pages, English and Japanese, render.
#
#   tests/packaging/run.sh <source-dir> <build-dir>
#
# A missing tool skips its check with a line that says so
# (scripts/install-deps.sh installs them).
set -uo pipefail

SOURCE_DIR=$(cd "${1:?usage: run.sh <source-dir> <build-dir>}" && pwd)
BUILD_DIR=$(cd "${2:?usage: run.sh <source-dir> <build-dir>}" && pwd)
APP_ID=org.zelmor.Zelmor
FAILURES=0

say() { echo "packaging: $*"; }
have() { command -v "$1" >/dev/null 2>&1 || { say "SKIPPED: $2 ($1 is not installed)"; return 1; }; }
check() { # check <description> <command...>
    local what=$1
    shift
    local out
    if out=$("$@" 2>&1); then
        say "ok: $what"
    else
        say "FAILED: $what"
        echo "$out" | sed 's/^/packaging:   /'
        FAILURES=$((FAILURES + 1))
    fi
}

have desktop-file-validate "the desktop file check" &&
    check "desktop-file-validate $APP_ID.desktop" desktop-file-validate "$SOURCE_DIR/packaging/$APP_ID.desktop"
have appstreamcli "the AppStream metadata check" &&
    check "appstreamcli validate $APP_ID.metainfo.xml" \
        appstreamcli validate --no-net "$SOURCE_DIR/packaging/$APP_ID.metainfo.xml"
# renders <locale> <page>: man formats the page in that locale without a word
# on standard error.
renders() {
    local out
    out=$(LC_ALL=$1 MANWIDTH=80 man --warnings -l "$2" 2>&1 >/dev/null)
    [ -z "$out" ] || { echo "$out"; false; }
}
if have man "the manual page check"; then
    check "man -l renders zelmor.6 without warnings" renders C.UTF-8 "$SOURCE_DIR/packaging/zelmor.6"
    # The Japanese page loads groff's Japanese macros itself, so it renders
    # alike in any UTF-8 locale; a Japanese one is tried where it is installed.
    check "man -l renders zelmor.ja.6 without warnings" renders C.UTF-8 "$SOURCE_DIR/packaging/zelmor.ja.6"
    if locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
        check "man -l renders zelmor.ja.6 in ja_JP.UTF-8 without warnings" \
            renders ja_JP.UTF-8 "$SOURCE_DIR/packaging/zelmor.ja.6"
    else
        say "SKIPPED: zelmor.ja.6 in ja_JP.UTF-8 (the locale is not installed)"
    fi
fi

if have lintian "the package check" && have cpack "the package check"; then
    WORK=$(mktemp -d)
    trap 'rm -rf "$WORK"' EXIT
    if (cd "$BUILD_DIR" && cpack -G DEB -B "$WORK" >"$WORK/cpack.log" 2>&1); then
        DEB=$(ls "$WORK"/zelmor_*.deb)
        # Errors and warnings fail the check; informational tags do not.
        check "lintian $(basename "$DEB"): no errors, no warnings" \
            bash -c "out=\$(lintian --tag-display-limit 0 '$DEB' 2>&1 | grep -E '^(E|W):'); [ -z \"\$out\" ] || { echo \"\$out\"; false; }"
        for path in ./usr/share/metainfo/$APP_ID.metainfo.xml ./usr/share/applications/$APP_ID.desktop \
            ./usr/share/man/man6/zelmor.6.gz ./usr/share/man/ja/man6/zelmor.6.gz \
            ./usr/share/doc/zelmor/copyright ./usr/games/zelmor \
            ./usr/share/icons/hicolor/256x256/apps/$APP_ID.png; do
            check "the package holds $path" bash -c "dpkg -c '$DEB' | grep -q ' $path\\b'"
        done
    else
        say "FAILED: cpack could not build the package"
        sed 's/^/packaging:   /' "$WORK/cpack.log" | tail -n 20
        FAILURES=$((FAILURES + 1))
    fi
fi

[ "$FAILURES" -eq 0 ] || { say "$FAILURES check(s) failed"; exit 1; }
say "PASS"
