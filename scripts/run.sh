#!/usr/bin/env bash
# Builds Tessaral and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build-run -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARAL_TESTS=OFF -DTESSARAL_BENCH=OFF >/dev/null
cmake --build build-run -j "$(nproc)" --target tessaral
exec build-run/app/tessaral
