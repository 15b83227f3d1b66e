#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds sendnote and runs every test.
# With --asan the tests run in the AddressSanitizer + UBSan build instead.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=default
[[ "${1:-}" == "--asan" ]] && preset=asan

bash scripts/setup.sh --office
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j2
