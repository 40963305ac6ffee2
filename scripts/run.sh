#!/usr/bin/env bash
# Installs what is missing, builds the program in Release mode and starts it.
# Arguments are passed on to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTOR_BENCHMARKS=OFF
cmake --build build-release -j "$(nproc)" --target vantor vantor-cli
if [ -x build-release/bin/vantor ]; then
  exec build-release/bin/vantor "$@"
else
  exec build-release/bin/vantor-cli "$@"
fi
