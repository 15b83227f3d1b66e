#!/usr/bin/env bash
# Builds sendnote.dll for 32- and 64-bit Office with MinGW-w64 and runs its tests under
# Wine (one private Wine prefix per architecture, booted once per run).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --windows
for preset in windows-x86 windows-x64; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
