#!/usr/bin/env bash
# Installs what is needed, builds the program with its tests twice (optimised,
# and with AddressSanitizer and UndefinedBehaviorSanitizer) and runs every test
# in both builds, then builds the threaded test programs (the image list with
# its jobs, the application, the end-to-end journeys) a third time under
# ThreadSanitizer and runs them. Any failure or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
scripts/setup.sh build/test RelWithDebInfo -DFOLIVANE_WERROR=ON
ctest --test-dir build/test --output-on-failure --parallel "$jobs" --timeout 1500
scripts/setup.sh build/asan Debug -DFOLIVANE_WERROR=ON -DFOLIVANE_SANITIZE=ON -DFOLIVANE_BENCH=OFF
ctest --test-dir build/asan --output-on-failure --parallel "$jobs" --timeout 2400
FOLIVANE_TARGETS="folivane_tests_imagelist folivane_tests_app folivane_tests_e2e" scripts/setup.sh build/tsan \
  RelWithDebInfo -DFOLIVANE_WERROR=ON -DFOLIVANE_TSAN=ON -DFOLIVANE_BENCH=OFF
ctest --test-dir build/tsan --output-on-failure --parallel "$jobs" --tests-regex '^(imagelist|app|e2e)$' \
  --timeout 2400
scripts/fuzz.sh 60
