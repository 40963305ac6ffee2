#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#   1. the normal build (program, CLI, tests), warnings as errors;
#   2. the Qt-free libraries and their tests again under AddressSanitizer and
#      UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOR_WERROR=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTOR_GUI=OFF -DVANTOR_SANITIZE=ON \
      -DVANTOR_BENCHMARKS=OFF -DVANTOR_WERROR=ON
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
