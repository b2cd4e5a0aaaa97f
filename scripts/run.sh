#!/usr/bin/env bash
# Installs what is needed, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build/release RelWithDebInfo -DFOLIVANE_TESTS=OFF -DFOLIVANE_BENCH=OFF
exec build/release/app/folivane
