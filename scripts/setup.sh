#!/usr/bin/env bash
# Installs the Debian packages the build needs (only when one is missing) and
# configures and builds one build directory.
# Usage: scripts/setup.sh <build-dir> <build-type> [extra cmake arguments...]
# FOLIVANE_TARGETS="a b" builds only those targets.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-image-formats-plugins
  libpng-dev libdeflate-dev libxcb1-dev zlib1g-dev libminizip-dev libarchive-dev libgtest-dev libgmock-dev
  libbenchmark-dev fonts-noto-cjk qt6-translations-l10n qt6-wayland clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_dir=$1; build_type=$2; shift 2
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" "$@" >/dev/null
# shellcheck disable=SC2086 # a list of target names
cmake --build "$build_dir" --parallel ${FOLIVANE_TARGETS:+--target $FOLIVANE_TARGETS}
