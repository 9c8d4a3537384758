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
# The tests talk to servers they start themselves on 127.0.0.1 and nothing
# else: where we may, they run in a network of their own with only loopback,
# so that a program started by a test (an update check, a mail) cannot
# reach or look up any outside host.
if [[ $(id -u) -eq 0 ]] && unshare --net true 2>/dev/null; then
  exec unshare --net -- sh -c 'ip link set lo up && exec ctest --output-on-failure -j2 "$@"' ctest "$@"
fi
ctest --output-on-failure -j2 "$@"
