#!/usr/bin/env bash
# Installs everything sendnote needs to build and test on Debian 12 (run as root).
# --office also installs LibreOffice and a Japanese font for the rendering check of letters.
# --windows also installs MinGW-w64 (x86 and x64, with widl) and Wine to build and test sendnote.dll,
# NSIS for its installer, and Xvfb with a Japanese font for the screenshots of its dialogs.
set -euo pipefail

packages=(cmake ninja-build g++ clang pkg-config libgtest-dev libgmock-dev googletest
          libbenchmark-dev zlib1g-dev libpugixml-dev zip unzip libclang-rt-14-dev
          locales)
windows=0
for arg in "$@"; do
  case "$arg" in
    --office) packages+=(libreoffice-writer-nogui fonts-noto-cjk poppler-utils python3-uno) ;;
    --windows) windows=1 ;;
    *) echo "setup.sh: unknown option $arg" >&2; exit 2 ;;
  esac
done
if ((windows)); then
  # wine32 needs the i386 architecture; without it apt cannot find the package.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    apt-get update -qq
  fi
  packages+=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools binutils-mingw-w64
             wine wine64 wine32 icoutils fp-utils p7zip-full nsis xvfb xauth fonts-ipafont-gothic python3)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq -o DPkg::Lock::Timeout=600 --no-install-recommends "${missing[@]}"
fi

# The tests also run under a Japanese locale, as the users' machines have it.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
