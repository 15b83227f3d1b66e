#!/usr/bin/env bash
# Installs everything sendnote needs to build and test on Debian 12 (run as root).
# --office also installs LibreOffice and a Japanese font for the rendering check of letters.
set -euo pipefail

packages=(cmake ninja-build g++ clang pkg-config libgtest-dev libgmock-dev googletest
          libbenchmark-dev libzip-dev zipcmp zipmerge ziptool libpugixml-dev zip unzip libclang-rt-14-dev
          locales)
if [[ "${1:-}" == "--office" ]]; then
  packages+=(libreoffice-writer-nogui fonts-noto-cjk poppler-utils python3-uno)
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
