#!/usr/bin/env bash
# Authenticode signing of the Windows files (scripts/sign.sh, scripts/build-installer.sh)
# with a throwaway certificate made here, every signature checked with osslsigncode verify.
# Native tools only: no Wine. Environment from CMake: SENDNOTE_SOURCE_DIR, SENDNOTE_DLL_DIR
# (this build's folder of sendnote.dll, sendnote.chm and icons/), SENDNOTE_WORK (a scratch
# folder). Steps:
#   dll               sign.sh on a copy of this build's DLL, and its refusals
#   installer-script  the installer script made with this build standing in for both
#                     builds: it compiles, and the uninstaller and installer are signed
#   installer         the real installer from both builds; exit 77 (skipped) without them
set -euo pipefail
src=$SENDNOTE_SOURCE_DIR
work=$SENDNOTE_WORK/${1:-none}
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAILED: $*" >&2; exit 1; }
for tool in openssl osslsigncode; do
  command -v "$tool" >/dev/null || fail "$tool is missing (bash scripts/setup.sh --windows)"
done

# A self-signed code-signing certificate, valid for two days, as PKCS#12 with a password.
cert=$work/cert.pem
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$cert" -days 2 \
  -subj "/CN=sendnote test signer" -addext "extendedKeyUsage=codeSigning" 2>/dev/null ||
  fail "openssl could not make the certificate"
openssl pkcs12 -export -inkey "$work/key.pem" -in "$cert" -out "$work/signer.pfx" \
  -passout pass:test-password || fail "openssl could not make the PKCS#12 file"
sign_env=(SENDNOTE_SIGN_PFX="$work/signer.pfx" SENDNOTE_SIGN_PASSWORD=test-password)

# verify FILE: one good SHA-256 signature by our certificate.
verify() {
  local report
  report=$(osslsigncode verify -CAfile "$cert" -in "$1" 2>&1) ||
    fail "$1 does not verify: $(tail -5 <<<"$report")"
  grep -q 'Signature verification: ok' <<<"$report" || fail "$1: no good signature: $report"
  grep -qi 'Message digest algorithm *: SHA256' <<<"$report" || fail "$1 is not signed with SHA-256: $report"
  grep -q 'CN=sendnote test signer' <<<"$report" || fail "$1 is signed by someone else: $report"
}
unsigned() {
  ! osslsigncode verify -CAfile "$cert" -in "$1" >/dev/null 2>&1 || fail "$1 is signed"
}
# A byte changed in the middle of the file (code or data, not the signature at its end)
# breaks the signature.
tampered_fails() {
  local copy=$work/tampered.bin size offset byte
  cp "$1" "$copy"
  size=$(stat -c %s "$copy")
  offset=$((size / 3))
  byte=$(od -An -tu1 -j"$offset" -N1 "$copy" | tr -d ' ')
  printf "$(printf '\\%03o' $(((byte + 1) % 256)))" | dd of="$copy" bs=1 seek="$offset" conv=notrunc status=none
  cmp -s "$1" "$copy" && fail "the byte at $offset of the copy did not change"
  ! osslsigncode verify -CAfile "$cert" -in "$copy" >/dev/null 2>&1 ||
    fail "$1 with one byte changed at $offset still verifies"
}
# build_installer OUT LOG [-u VAR] [VAR=VALUE...]: scripts/build-installer.sh into OUT.
build_installer() {
  local out=$1 log=$2
  shift 2
  env "$@" SENDNOTE_INSTALLER_DIR="$out" bash "$src/scripts/build-installer.sh" >"$log" 2>&1 ||
    fail "build-installer.sh failed: $(cat "$log")"
}
# check_signed_installer OUT: every file the build made, signed and whole.
check_signed_installer() {
  for file in files/x86/sendnote.dll files/x64/sendnote.dll uninstall.exe sendnote-setup.exe; do
    verify "$1/$file"
  done
  tampered_fails "$1/sendnote-setup.exe"
  tampered_fails "$1/uninstall.exe"
}
check_unsigned_installer() {
  grep -q 'SENDNOTE_SIGN_PFX is not set: .* UNSIGNED' "$2" || fail "the unsigned build does not say so: $(cat "$2")"
  for file in files/x86/sendnote.dll files/x64/sendnote.dll uninstall.exe sendnote-setup.exe; do
    unsigned "$1/$file"
  done
}

case "${1:-}" in
  dll)
    dll=$work/sendnote.dll
    cp "$SENDNOTE_DLL_DIR/sendnote.dll" "$dll"
    unsigned "$dll"
    # No certificate: nothing is signed, and the script says so.
    out=$(env -u SENDNOTE_SIGN_PFX bash "$src/scripts/sign.sh" "$dll" 2>&1) || fail "sign.sh without a certificate failed"
    grep -q 'UNSIGNED' <<<"$out" || fail "sign.sh without a certificate does not say so: $out"
    cmp -s "$dll" "$SENDNOTE_DLL_DIR/sendnote.dll" || fail "sign.sh without a certificate changed the file"
    # A wrong password and a timestamp server that does not answer fail, file unchanged.
    for bad in SENDNOTE_SIGN_PASSWORD=wrong SENDNOTE_SIGN_TIMESTAMP=http://127.0.0.1:9/; do
      if env "${sign_env[@]}" "$bad" bash "$src/scripts/sign.sh" "$dll" >"$work/bad.log" 2>&1; then
        fail "sign.sh with $bad succeeded"
      fi
      grep -q "signing $dll failed" "$work/bad.log" || fail "sign.sh with $bad does not say what failed: $(cat "$work/bad.log")"
      cmp -s "$dll" "$SENDNOTE_DLL_DIR/sendnote.dll" || fail "sign.sh with $bad changed the file"
      [[ ! -e $dll.signing ]] || fail "sign.sh with $bad left $dll.signing"
    done
    env "${sign_env[@]}" bash "$src/scripts/sign.sh" "$dll" || fail "sign.sh failed"
    verify "$dll"
    tampered_fails "$dll"
    # A certificate without a password (SENDNOTE_SIGN_PASSWORD set empty) signs as well.
    openssl pkcs12 -export -inkey "$work/key.pem" -in "$cert" -out "$work/open.pfx" -passout pass: ||
      fail "openssl could not make the PKCS#12 file without a password"
    cp "$SENDNOTE_DLL_DIR/sendnote.dll" "$work/open.dll"
    SENDNOTE_SIGN_PFX=$work/open.pfx SENDNOTE_SIGN_PASSWORD= bash "$src/scripts/sign.sh" "$work/open.dll" ||
      fail "sign.sh with an empty password failed"
    verify "$work/open.dll"
    echo "signed and verified: $dll"
    ;;
  installer-script)
    # This build stands in for both: the script compiles, and makensis signs the
    # uninstaller and the installer it makes. Never shipped: the folder is removed.
    stand_in=(SENDNOTE_X86_BUILD="$SENDNOTE_DLL_DIR" SENDNOTE_X64_BUILD="$SENDNOTE_DLL_DIR")
    build_installer "$work/signed" "$work/signed.log" "${stand_in[@]}" "${sign_env[@]}"
    check_signed_installer "$work/signed"
    build_installer "$work/unsigned" "$work/unsigned.log" -u SENDNOTE_SIGN_PFX "${stand_in[@]}"
    check_unsigned_installer "$work/unsigned" "$work/unsigned.log"
    # A signing that fails stops the build: no installer is left.
    if env "${stand_in[@]}" "${sign_env[@]}" SENDNOTE_SIGN_PASSWORD=wrong \
        SENDNOTE_INSTALLER_DIR="$work/failed" bash "$src/scripts/build-installer.sh" >"$work/failed.log" 2>&1; then
      fail "build-installer.sh with a wrong password succeeded"
    fi
    [[ ! -e $work/failed/sendnote-setup.exe ]] || fail "a failed signing left an installer"
    rm -rf "$work"
    ;;
  installer)
    for arch in x86 x64; do
      [[ -f $src/build/windows-$arch/src/windows/dll/sendnote.dll ]] && continue
      reason="the $arch build is missing (build/windows-$arch): the real installer cannot be made"
      echo "$reason"
      [[ -z ${SENDNOTE_SKIP_LOG:-} ]] || echo "${SENDNOTE_TEST_NAME:-signing.installer}: $reason" >>"$SENDNOTE_SKIP_LOG"
      exit 77
    done
    build_installer "$work/signed" "$work/signed.log" "${sign_env[@]}"
    check_signed_installer "$work/signed"
    build_installer "$work/unsigned" "$work/unsigned.log" -u SENDNOTE_SIGN_PFX
    check_unsigned_installer "$work/unsigned" "$work/unsigned.log"
    rm -rf "$work"
    ;;
  *)
    echo "usage: signing-tests.sh dll|installer-script|installer" >&2
    exit 2
    ;;
esac
