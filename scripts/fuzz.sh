#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time on its
# seed corpus. Usage: scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
if ! ls tests/fuzz/*.cpp >/dev/null 2>&1; then
  exit 0
fi
# Only the fuzz targets and the libraries they link: the program and its
# windows are not fuzzed.
targets=()
for source in tests/fuzz/*.cpp; do
  targets+=("fuzz_$(basename "$source" .cpp)")
done
CC=clang CXX=clang++ FOLIVANE_TARGETS="${targets[*]}" scripts/setup.sh build/fuzz Debug -DFOLIVANE_FUZZ=ON \
  -DFOLIVANE_WERROR=ON
for source in tests/fuzz/*.cpp; do
  name=$(basename "$source" .cpp)
  work=$(mktemp -d)
  [ -d "tests/fuzz/corpus/$name" ] && cp -r "tests/fuzz/corpus/$name/." "$work/"
  echo "fuzz_$name: ${seconds}s"
  # Runs in a scratch folder: a target that writes files writes them there.
  # glibc's allocator fills fresh and freed memory with a pattern (the
  # sanitizer's allocator fills fresh blocks by itself), so that a value read
  # before it was ever set shows as garbage instead of a lucky zero.
  (cd "$work" && MALLOC_PERTURB_=165 ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0 \
      "$OLDPWD/build/fuzz/tests/fuzz/fuzz_$name" \
      -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -print_final_stats=0 "$work" 2>"$work.log") || {
    tail -60 "$work.log"; echo "fuzz_$name failed"; exit 1; }
  rm -rf "$work" "$work.log"
done
