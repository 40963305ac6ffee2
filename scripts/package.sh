#!/usr/bin/env bash
# Builds the release program and its Debian package: build-release/vantor_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTOR_BENCHMARKS=OFF
cmake --build build-release -j "$(nproc)"
(cd build-release && cpack -G DEB)
ls build-release/vantor_*.deb
