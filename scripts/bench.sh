#!/usr/bin/env bash
# Builds the benchmarks in Release mode and runs them. Never part of the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTOR_BENCHMARKS=ON
cmake --build build-release -j "$(nproc)" --target vantor_bench vantor-templates
exec build-release/bin/vantor_bench "$@"
