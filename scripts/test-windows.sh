#!/usr/bin/env bash
# Builds sendnote.dll for 32- and 64-bit Office with MinGW-w64, the per-user installer that
# holds both, and runs their tests under Wine (one private Wine prefix per architecture,
# booted once per run).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --windows
presets=(windows-x86 windows-x64)
for preset in "${presets[@]}"; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
echo "== installer"
bash scripts/build-installer.sh
for preset in "${presets[@]}"; do
  echo "== test $preset"
  ctest --preset "$preset"
done
