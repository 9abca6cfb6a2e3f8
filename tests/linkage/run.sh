#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The game's executable links Qt and the C++ runtime only. The sound device's
# libraries (SDL2, SDL2_mixer, FluidSynth and the forty-odd libraries behind
# them) belong in the sound module beside it, loaded on the first sound:
# linked into the executable they cost every start about 8 ms and 4.5 MiB.
# Likewise Qt SQL (and SQLite behind it) belongs in the history module,
# loaded on the first entry of the play history.
#
#   tests/linkage/run.sh <program-dir>
set -euo pipefail

DIR=${1:?usage: run.sh <program-dir>}
# (Whole outputs are captured before grep -q reads them: under pipefail a
# grep that stops early would fail the pipe.)
needed() {
    local out
    out=$(readelf -d "$1")
    sed -n 's/.*Shared library: \[\(.*\)\]/\1/p' <<<"$out"
}

[ -x "$DIR/zelmor" ] || { echo "FAIL: no $DIR/zelmor" >&2; exit 1; }
[ -f "$DIR/libzelmor_audio.so" ] || { echo "FAIL: no sound module beside the game" >&2; exit 1; }

audio_libs='SDL|fluidsynth|sndfile|pulse|jack|asound'
if bad=$(needed "$DIR/zelmor" | grep -Ei "$audio_libs"); then
    echo "FAIL: the executable links the sound libraries: $(echo "$bad" | tr '\n' ' ')" >&2
    exit 1
fi
module_needs=$(needed "$DIR/libzelmor_audio.so")
for lib in libSDL2_mixer libfluidsynth; do
    grep -q "^$lib" <<<"$module_needs" ||
        { echo "FAIL: the sound module does not link $lib" >&2; exit 1; }
done
symbols=$(readelf --dyn-syms -W "$DIR/libzelmor_audio.so")
grep -q ' zelmor_create_audio_backend$' <<<"$symbols" ||
    { echo "FAIL: the sound module does not export zelmor_create_audio_backend" >&2; exit 1; }

[ -f "$DIR/libzelmor_history.so" ] || { echo "FAIL: no history module beside the game" >&2; exit 1; }
if bad=$(needed "$DIR/zelmor" | grep -E 'Qt6Sql|sqlite'); then
    echo "FAIL: the executable links the SQL libraries: $(echo "$bad" | tr '\n' ' ')" >&2
    exit 1
fi
grep -q '^libQt6Sql' <<<"$(needed "$DIR/libzelmor_history.so")" ||
    { echo "FAIL: the history module does not link libQt6Sql" >&2; exit 1; }
symbols=$(readelf --dyn-syms -W "$DIR/libzelmor_history.so")
grep -q ' zelmor_create_history_store$' <<<"$symbols" ||
    { echo "FAIL: the history module does not export zelmor_create_history_store" >&2; exit 1; }
# The rules of play build and run on Qt Core alone: their test suites link
# neither Qt Gui nor Qt Widgets.
for suite in test_spin test_reels test_payout test_lamps test_play_features test_random_play; do
    exe="$DIR/../tests/$suite"
    [ -x "$exe" ] || { echo "FAIL: no $exe" >&2; exit 1; }
    if bad=$(needed "$exe" | grep -E 'Qt6(Gui|Widgets)'); then
        echo "FAIL: $suite links $(echo "$bad" | tr '\n' ' ')" >&2
        exit 1
    fi
done
echo "PASS: $(needed "$DIR/zelmor" | wc -l) libraries linked by the executable, none for sound or SQL; the rule suites link no Qt Gui"
