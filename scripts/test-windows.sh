#!/usr/bin/env bash
# Builds sendnote.dll for 32- and 64-bit Office with MinGW-w64, the per-user installer that
# holds both, and runs their tests under Wine (one private Wine prefix per architecture,
# booted once per run).
#
# Where setup could not install a Windows-side package (a package mirror out of step can
# keep back wine32, whose i386 libraries must match the amd64 ones), the parts that need it
# are skipped, each with one line saying what and why, and the rest is built and tested:
# the x64 library and its tests need no wine32; the x86 build needs Wine's 32-bit
# stdole2.tlb. The skipped parts are also listed in build/windows-skipped.txt for
# .ci/run's summary. A failure of a part that does run fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --windows
mkdir -p build
skipped_file=build/windows-skipped.txt
: >"$skipped_file"
skip() {
  echo "SKIPPED: $1: $2" | tee -a "$skipped_file" >&2
}
# have_file PATH...: true when one of the paths exists.
have_file() {
  local f
  for f in "$@"; do [[ -e $f ]] && return 0; done
  return 1
}

# What each part needs, as the presets' configure steps look for it.
declare -A compiler=([windows-x86]=i686-w64-mingw32-g++ [windows-x64]=x86_64-w64-mingw32-g++)
declare -A stdole=([windows-x86]="/usr/lib/i386-linux-gnu/wine/i386-windows/stdole2.tlb /usr/lib/wine/i386-windows/stdole2.tlb"
                   [windows-x64]="/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/stdole2.tlb /usr/lib/wine/x86_64-windows/stdole2.tlb")
declare -A package=([windows-x86]=wine32 [windows-x64]=wine64)
declare -A loader=([windows-x86]="/usr/bin/wine /usr/lib/wine/wine" [windows-x64]="/usr/lib/wine/wine64")

built=()
for preset in windows-x86 windows-x64; do
  if ! command -v "${compiler[$preset]}" >/dev/null; then
    skip "$preset build and tests" "${compiler[$preset]} is not installed"
    continue
  fi
  # shellcheck disable=SC2086
  if ! have_file ${stdole[$preset]}; then
    skip "$preset build and tests" "${package[$preset]} is not installed (the type library is built against its stdole2.tlb)"
    continue
  fi
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  built+=("$preset")
done

# The installer holds both builds; without one of them, no installer is made and any
# older one is removed, so that its tests skip rather than install a stale build.
echo "== installer"
if ((${#built[@]} < 2)); then
  rm -f build/installer/sendnote-setup.exe
  skip "installer and its tests" "the installer holds both builds, and only ${built[*]:-none} was built"
elif ! command -v makensis >/dev/null; then
  rm -f build/installer/sendnote-setup.exe
  skip "installer and its tests" "nsis (makensis) is not installed"
else
  bash scripts/build-installer.sh
fi

for preset in "${built[@]}"; do
  # shellcheck disable=SC2086
  if ! have_file ${loader[$preset]}; then
    skip "$preset tests under Wine" "${package[$preset]} (Wine's loader) is not installed"
    continue
  fi
  echo "== test $preset"
  # Tests that skip (exit 77) write their reasons here; they join the list below.
  rm -f "build/$preset/skipped-tests.txt"
  status=0
  ctest --preset "$preset" || status=$?
  if [[ -s build/$preset/skipped-tests.txt ]]; then
    while IFS= read -r line; do skip "$preset test ${line%%: *}" "${line#*: }"; done <"build/$preset/skipped-tests.txt"
  fi
  ((status == 0)) || exit "$status"
done

if [[ -s $skipped_file ]]; then
  echo "== Windows parts skipped (see the lines above):"
  cat "$skipped_file"
fi
