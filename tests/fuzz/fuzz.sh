#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets for the settings and data files with clang
# (address and undefined-behaviour sanitizers) and runs each for a bounded time.
#   tests/fuzz/fuzz.sh [seconds-per-target] [build-dir]
# Not part of the test suite: run it by hand.
set -euo pipefail
seconds=${1:-60}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${2:-$root/build-fuzz}
mkdir -p "$out"

flags="-std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I$root
  $(pkg-config --cflags Qt6Core Qt6Gui)"
libs="$(pkg-config --libs Qt6Core Qt6Gui)"
sources="$root/storage/DataFile.cpp $root/storage/Settings.cpp $root/storage/FileAccess.cpp
  $root/storage/LoadCheck.cpp $root/platform/Runtime.cpp"

seed() { # a valid pair as the first corpus entry of each target
  local dir=$1
  mkdir -p "$dir"
  python3 - "$dir" <<'PY'
import sys, os
d = sys.argv[1]
money = b"100"
s = bytes([ord(str(len(money))[0]) + 48]) + bytes(c + 160 for c in money)
s += b"A" * (100 - len(s)) + b"q"
record = len(s).to_bytes(2, "little") + s + b"\0" * (198 - len(s))
settings = b"/opt/zelmor/\r\n100\r\n\r\n3\r\n" + b"\r\n" * 26
open(os.path.join(d, "record"), "wb").write(record)
open(os.path.join(d, "settings"), "wb").write(settings)
open(os.path.join(d, "pair"), "wb").write(bytes([0x80 | (32 << 2) & 0x7C]) + len(settings).to_bytes(2, "big") + settings + record)
PY
}

for target in fuzz_datafile fuzz_load; do
  echo "== building $target"
  clang++ $flags "$here/$target.cpp" $sources $libs -o "$out/$target"
  seed "$out/corpus-$target"
  echo "== running $target for ${seconds}s"
  (cd "$out" && ASAN_OPTIONS=detect_leaks=0 "./$target" -max_total_time="$seconds" -max_len=4096 \
      -print_final_stats=1 "corpus-$target" 2>&1 | tee "$target.log" | grep -E "^(Done|stat::number_of_executed_units)|ERROR|SUMMARY" || true)
  if grep -qE "ERROR: (AddressSanitizer|libFuzzer)|runtime error|deadly signal" "$out/$target.log"; then
    echo "$target: FAILED (see $out/$target.log)"
    exit 1
  fi
  echo "$target: no crashes"
done
