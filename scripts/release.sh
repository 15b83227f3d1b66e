#!/usr/bin/env bash
# Makes every artefact a user downloads, from a clean tree, into dist/:
#   sendnote_VERSION_ARCH.deb                the Debian package (cpack -G DEB)
#   sendnote-VERSION-linux-x86_64.tar.gz     the portable program as installed under a
#                                            prefix: bin/, share/man/man1/, share/sendnote/help/,
#                                            share/doc/sendnote/examples/
#   sendnote-VERSION-setup.exe               the Windows installer (both sendnote.dll builds)
#   SHA256SUMS                               the checksums of the above
# and prints what it made.
#
# Usage: bash scripts/release.sh [--no-windows]
#
# The tree must have no uncommitted changes (what is released is a commit). The Windows
# installer holds the 32- and 64-bit builds of sendnote.dll; where they cannot be built
# (the 32-bit one needs wine32's stdole2.tlb), the script says so and fails, unless
# --no-windows leaves the installer out. With SENDNOTE_SIGN_PFX and SENDNOTE_SIGN_PASSWORD
# (and SENDNOTE_SIGN_TIMESTAMP: scripts/sign.sh) scripts/build-installer.sh signs both
# DLLs, the uninstaller and the installer; without them they are unsigned, and it says so.
set -euo pipefail
cd "$(dirname "$0")/.."

windows=1
for arg in "$@"; do
  case "$arg" in
    --no-windows) windows=0 ;;
    *) echo "release.sh: unknown option $arg (usage: release.sh [--no-windows])" >&2; exit 2 ;;
  esac
done
say() { echo "release.sh: $*" >&2; }

if [[ -n $(git status --porcelain) ]]; then
  say "the tree has uncommitted changes; commit or stash them first:"
  git status --short >&2
  exit 1
fi

setup=(--release)
((windows)) && setup+=(--windows)
bash scripts/setup.sh "${setup[@]}"

# The Windows builds are configured first: where one cannot be, nothing else is built.
if ((windows)); then
  for preset in windows-x86 windows-x64; do
    if ! cmake --preset "$preset" --fresh >/dev/null; then
      say "could not make the Windows installer: the $preset build cannot be configured"
      say "(the 32-bit build needs wine32; see scripts/test-windows.sh). --no-windows leaves it out."
      exit 1
    fi
  done
fi

build=build/release-dist
rm -rf "$build" dist
mkdir -p dist
echo "== build (Release, GCC) in $build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ \
  -DSENDNOTE_WERROR=ON -DSENDNOTE_TESTS=OFF -DSENDNOTE_BENCH=OFF >/dev/null
cmake --build "$build" --target sendnote -j2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

echo "== Debian package"
(cd "$build" && cpack -G DEB >/dev/null)
cp "$build"/sendnote_"$version"_*.deb dist/
# lintian's errors stop the release; its warnings are shown.
lintian --fail-on error dist/sendnote_*.deb

echo "== portable tarball"
name=sendnote-$version-linux-$(uname -m)
stage=$build/stage
cmake --install "$build" --prefix "$PWD/$stage/$name" --strip >/dev/null
tar --sort=name --owner=0 --group=0 --numeric-owner -C "$stage" -czf "dist/$name.tar.gz" "$name"

if ((windows)); then
  echo "== Windows installer"
  for preset in windows-x86 windows-x64; do
    cmake --build --preset "$preset" -j2
  done
  if [[ -n ${SENDNOTE_SIGN_CERT:-} && -z ${SENDNOTE_SIGN_PFX:-} ]]; then
    say "SENDNOTE_SIGN_CERT is no longer read: give the certificate and key as one PKCS#12 file in SENDNOTE_SIGN_PFX"
    say "(openssl pkcs12 -export -in CERT -inkey KEY -out sendnote.pfx) and its password in SENDNOTE_SIGN_PASSWORD"
    exit 1
  fi
  bash scripts/build-installer.sh >/dev/null
  cp build/installer/sendnote-setup.exe "dist/sendnote-$version-setup.exe"
else
  say "the Windows installer was left out (--no-windows)"
fi

(cd dist && files=(*) && sha256sum -- "${files[@]}" >SHA256SUMS)
echo "== made in dist/:"
(cd dist && ls -l -- *)
