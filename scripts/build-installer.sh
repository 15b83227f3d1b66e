#!/usr/bin/env bash
# Builds the per-user installer build/installer/sendnote-setup.exe from both Windows
# builds (presets windows-x86 and windows-x64, built first) with NSIS.
set -euo pipefail
cd "$(dirname "$0")/.."

x86=build/windows-x86/src/windows/dll
x64=build/windows-x64/src/windows/dll
for dir in "$x86" "$x64"; do
  for file in sendnote.dll sendnote.chm icons/sendnote.ico; do
    [[ -f $dir/$file ]] || { echo "build-installer.sh: $dir/$file is missing (build the presets windows-x86 and windows-x64 first)" >&2; exit 1; }
  done
done
mkdir -p build/installer
makensis -V2 -INPUTCHARSET UTF8 -DX86_DIR="$PWD/$x86" -DX64_DIR="$PWD/$x64" \
  -DOUTFILE="$PWD/build/installer/sendnote-setup.exe" src/windows/installer/sendnote.nsi
echo "build/installer/sendnote-setup.exe"
