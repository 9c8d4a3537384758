#!/usr/bin/env bash
# Installs what is missing, builds the suite with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")"

./tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DRASP_TESTS=OFF >/dev/null
cmake --build build
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRASP_SANITIZE=ON -DRASP_BENCH=OFF >/dev/null
cmake --build build-asan
cd build-asan
ctest --output-on-failure -j2 "$@"
