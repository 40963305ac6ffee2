#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#   0. the layout check (clang-format 14, trailing blanks, final newlines);
#   1. the normal build (program, CLI, tests), warnings as errors;
#   2. the Qt-free libraries and their tests again under AddressSanitizer and
#      UndefinedBehaviorSanitizer;
#   3. a short run of each fuzz target (VANTOR_FUZZ_SECONDS each, default 10; 0 skips).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/check-format.sh

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

fuzz_seconds=${VANTOR_FUZZ_SECONDS:-10}
if [ "$fuzz_seconds" -gt 0 ]; then
  if command -v clang++-14 >/dev/null && [ -n "$(ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a 2>/dev/null)" ]; then
    bash scripts/fuzz.sh "$fuzz_seconds"
  else
    echo "test.sh: clang 14 with libFuzzer is missing; the fuzz targets did not run" >&2
  fi
fi
