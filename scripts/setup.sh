#!/usr/bin/env bash
# Installs everything sendnote needs to build and test on Debian 12 (run as root).
# --office also installs LibreOffice and a Japanese font for the PDF check of letters.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev googletest
          libbenchmark-dev libzip-dev zipcmp zipmerge ziptool libpugixml-dev zip unzip)
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
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
