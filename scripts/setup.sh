#!/usr/bin/env bash
# Installs everything sendnote needs to build and test on Debian 12 (run as root).
# --office also installs LibreOffice and a Japanese font for the rendering check of letters.
# --windows also installs MinGW-w64 (x86 and x64, with widl) and Wine to build and test sendnote.dll,
# NSIS and osslsigncode for its (signed) installer, and Xvfb with a Japanese font for the screenshots of its dialogs.
# --release also installs what scripts/release.sh needs beyond the build: dpkg-dev (the
# Debian package's library dependencies, dpkg-shlibdeps) and lintian (its check).
#
# A package mirror can be briefly out of step with itself ("File has unexpected size ...
# Mirror sync in progress?"): apt-get update is tried a few times, and when an index still
# fails, setup goes on with what apt has and says so. A package of the base build that
# still cannot be installed stops setup (exit 1); a Windows-side one is named and left out
# (exit 0), and scripts/test-windows.sh then builds and tests what it can without it.
set -euo pipefail

base=(cmake ninja-build g++ clang clang-format pkg-config libgtest-dev libgmock-dev googletest
      libbenchmark-dev zlib1g-dev libpugixml-dev zip unzip libclang-rt-14-dev locales)
optional=()
for arg in "$@"; do
  case "$arg" in
    --release) base+=(dpkg-dev lintian) ;;
    --office) base+=(libreoffice-writer-nogui fonts-noto-cjk poppler-utils python3-uno) ;;
    --windows)
      optional+=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools binutils-mingw-w64
                 wine wine64 wine32 icoutils fp-utils p7zip-full nsis osslsigncode openssl xvfb xauth
                 fonts-ipafont-gothic python3) ;;
    *) echo "setup.sh: unknown option $arg" >&2; exit 2 ;;
  esac
done
export DEBIAN_FRONTEND=noninteractive
attempts=${SENDNOTE_APT_ATTEMPTS:-4}

say() { echo "setup.sh: $*" >&2; }

# Fetches the package indexes; after the last failed attempt it names the indexes that
# failed and returns 0 all the same: apt keeps what it had (or has none).
apt_update() {
  local log
  log=$(mktemp)
  for ((try = 1; try <= attempts; try++)); do
    if apt-get update -qq >"$log" 2>&1 && ! grep -q '^\(E\|W\): Failed to fetch' "$log"; then
      rm -f "$log"
      return 0
    fi
    if ((try < attempts)); then
      say "apt-get update failed (attempt $try of $attempts); trying again in $((try * 15)) s"
      sleep $((try * 15))
    fi
  done
  say "apt-get update still fails after $attempts attempts; going on with the indexes apt has:"
  grep -o 'Failed to fetch [^ ]*' "$log" | sed 's/^/setup.sh:   /' >&2 || sed 's/^/setup.sh:   /' "$log" >&2
  rm -f "$log"
}

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# install_all NAME...: installs what is missing, together first and then one by one (so that
# one package the mirror cannot serve does not keep back the rest). Prints the packages
# that are still missing, one a line.
install_all() {
  local missing=() p
  for p in "$@"; do installed "$p" || missing+=("$p"); done
  ((${#missing[@]})) || return 0
  local apt=(apt-get install -y -qq -o DPkg::Lock::Timeout=600 --no-install-recommends)
  if "${apt[@]}" "${missing[@]}" >&2; then
    return 0
  fi
  say "installing ${missing[*]} together failed; trying one by one"
  for p in "${missing[@]}"; do
    installed "$p" && continue
    "${apt[@]}" "$p" >&2 || { sleep 5; "${apt[@]}" "$p" >&2; } || echo "$p"
  done
}

if ((${#optional[@]})) && ! dpkg --print-foreign-architectures | grep -qx i386; then
  # wine32 needs the i386 architecture; without it apt cannot find the package.
  dpkg --add-architecture i386
fi

for p in "${base[@]}" "${optional[@]}"; do
  installed "$p" || { apt_update; break; }
done
mapfile -t failed < <(install_all "${base[@]}")
if ((${#failed[@]})); then
  say "could not install: ${failed[*]} (the build needs them; is the package mirror reachable?)"
  exit 1
fi
if ((${#optional[@]})); then
  mapfile -t failed < <(install_all "${optional[@]}")
  if ((${#failed[@]})); then
    say "could not install the Windows-side packages: ${failed[*]}"
    say "scripts/test-windows.sh builds and tests what it can without them"
  fi
fi

# The tests also run under a Japanese locale, as the users' machines have it.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
