#!/usr/bin/env bash
# Builds the installer sendnote-setup.exe from both Windows builds (presets windows-x86 and
# windows-x64, built first) with NSIS, into build/installer (or SENDNOTE_INSTALLER_DIR).
#
# With a code-signing certificate (SENDNOTE_SIGN_PFX, its password SENDNOTE_SIGN_PASSWORD,
# and SENDNOTE_SIGN_TIMESTAMP for a timestamp server: see scripts/sign.sh) both DLLs, the
# uninstaller and the installer are signed with Authenticode; without one every file is
# built unsigned, and the script says so. The files that go into the installer are copies
# in the output folder (files/x86, files/x64), so the builds themselves stay unsigned, and
# the finished uninstaller is kept there as uninstall.exe for checking.
set -euo pipefail
cd "$(dirname "$0")/.."

out=${SENDNOTE_INSTALLER_DIR:-build/installer}
# SENDNOTE_X86_BUILD / SENDNOTE_X64_BUILD name other build folders, and SENDNOTE_NSIS_TARGET
# another NSIS target (amd64-unicode): the tests' stand-in installer, never shipped.
declare -A build=([x86]=${SENDNOTE_X86_BUILD:-build/windows-x86/src/windows/dll}
                  [x64]=${SENDNOTE_X64_BUILD:-build/windows-x64/src/windows/dll})
for dir in "${build[@]}"; do
  for file in sendnote.dll sendnote.chm icons/sendnote.ico; do
    [[ -f $dir/$file ]] || { echo "build-installer.sh: $dir/$file is missing (build the presets windows-x86 and windows-x64 first)" >&2; exit 1; }
  done
done
command -v makensis >/dev/null || { echo "build-installer.sh: makensis is missing (bash scripts/setup.sh --windows)" >&2; exit 1; }

mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -rf "$out/files" "$out/uninstall.exe" "$out/sendnote-setup.exe"
for arch in x86 x64; do
  src=${build[$arch]}
  mkdir -p "$out/files/$arch/icons"
  cp "$src/sendnote.dll" "$src/sendnote.chm" "$out/files/$arch/"
  cp "$src/icons/sendnote.ico" "$out/files/$arch/icons/"
done

defines=(-DX86_DIR="$out/files/x86" -DX64_DIR="$out/files/x64" -DOUTFILE="$out/sendnote-setup.exe"
         -DUNINSTALLER_COPY="$out/uninstall.exe")
if [[ -n ${SENDNOTE_SIGN_PFX:-} ]]; then
  echo "build-installer.sh: signing with $SENDNOTE_SIGN_PFX (SHA-256${SENDNOTE_SIGN_TIMESTAMP:+, timestamp server $SENDNOTE_SIGN_TIMESTAMP})"
  bash scripts/sign.sh "$out/files/x86/sendnote.dll" "$out/files/x64/sendnote.dll"
  # makensis runs it for the uninstaller and the installer, with this environment.
  defines+=(-DSIGN_COMMAND="bash \"$PWD/scripts/sign.sh\"")
else
  echo "build-installer.sh: SENDNOTE_SIGN_PFX is not set: the DLLs, the uninstaller and the installer are UNSIGNED" \
       "(Windows SmartScreen warns of an unsigned installer, and Outlook refuses unsigned add-ins where only signed ones are allowed)" >&2
fi
target=()
[[ -n ${SENDNOTE_NSIS_TARGET:-} ]] && target=(-X"Target $SENDNOTE_NSIS_TARGET")
makensis -V2 "${target[@]}" -INPUTCHARSET UTF8 "${defines[@]}" src/windows/installer/sendnote.nsi
echo "$out/sendnote-setup.exe"
