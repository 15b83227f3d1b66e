#!/usr/bin/env bash
# Driver of the sendnote.dll tests under Wine, one test per call (ctest runs each with a
# time-out). Environment from CMake: SENDNOTE_WINE (the loader of the DLL's bitness),
# SENDNOTE_WINESERVER, WINEPREFIX (private, under the build folder), WINEARCH,
# SENDNOTE_PLATFORM (win32|win64), SENDNOTE_DLL, SENDNOTE_CLIENT, SENDNOTE_OBJDUMP,
# SENDNOTE_CONTRACT_AUTOMATION (the Word contract suite over automation) and the
# identities SENDNOTE_LIBID, SENDNOTE_CLSID, SENDNOTE_IID (braced).
set -euo pipefail
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
wine=$SENDNOTE_WINE
progid=COMAddInSendnote.dsrOutlookToWord
classes='HKEY_CURRENT_USER\Software\Classes'
addins='HKEY_CURRENT_USER\Software\Microsoft\Office\Outlook\Addins'
keys=("$classes\\CLSID\\$SENDNOTE_CLSID" "$classes\\$progid" "$classes\\Interface\\$SENDNOTE_IID"
      "$classes\\TypeLib\\$SENDNOTE_LIBID" "$addins\\$progid")
work=$WINEPREFIX/../wine-work
mkdir -p "$work"

fail() { echo "FAILED: $*" >&2; exit 1; }

# The DLL's Windows path as the registry holds it (Wine maps / to drive Z:).
dll_windows_path() { printf 'Z:%s' "${SENDNOTE_DLL//\//\\}"; }

# One key and its subkeys as UTF-8 text, without the file header; a missing key exits 1.
export_key() {
  local out=$work/export.reg
  rm -f "$out"
  "$wine" reg export "$1" "Z:${out//\//\\}" /y >/dev/null 2>&1 || return 1
  iconv -f UTF-16LE -t UTF-8 "$out" | tr -d '\r' | sed '1s/^\xEF\xBB\xBF//' | sed '1d'
}

export_all() { for key in "${keys[@]}"; do export_key "$key" || echo "(missing $key)"; done; }

key_exists() { "$wine" reg query "$1" >/dev/null 2>&1; }

expected_entries() {
  local dll folder
  dll=$(dll_windows_path | sed 's/\\/\\\\/g')
  folder=${dll%\\\\sendnote.dll}
  cat <<EXPECTED

[$classes\\CLSID\\$SENDNOTE_CLSID]
@="$progid"

[$classes\\CLSID\\$SENDNOTE_CLSID\\InprocServer32]
@="$dll"
"ThreadingModel"="Apartment"

[$classes\\CLSID\\$SENDNOTE_CLSID\\ProgID]
@="$progid"

[$classes\\CLSID\\$SENDNOTE_CLSID\\TypeLib]
@="$SENDNOTE_LIBID"


[$classes\\$progid]
@="$progid"

[$classes\\$progid\\CLSID]
@="$SENDNOTE_CLSID"


[$classes\\Interface\\$SENDNOTE_IID]
@="_dsrOutlookToWord"

[$classes\\Interface\\$SENDNOTE_IID\\ProxyStubClsid]
@="{00020424-0000-0000-C000-000000000046}"

[$classes\\Interface\\$SENDNOTE_IID\\ProxyStubClsid32]
@="{00020424-0000-0000-C000-000000000046}"

[$classes\\Interface\\$SENDNOTE_IID\\TypeLib]
@="$SENDNOTE_LIBID"
"Version"="1.0"


[$classes\\TypeLib\\$SENDNOTE_LIBID]

[$classes\\TypeLib\\$SENDNOTE_LIBID\\1.0]
@="添書票COMアドイン"

[$classes\\TypeLib\\$SENDNOTE_LIBID\\1.0\\0]

[$classes\\TypeLib\\$SENDNOTE_LIBID\\1.0\\0\\$SENDNOTE_PLATFORM]
@="$dll"

[$classes\\TypeLib\\$SENDNOTE_LIBID\\1.0\\FLAGS]
@="0"

[$classes\\TypeLib\\$SENDNOTE_LIBID\\1.0\\HELPDIR]
@="$folder"


[$addins\\$progid]
"CommandLineSafe"=dword:00000000
"Description"="Word2000のテンプレートを使って添書票に住所や名前をコピーするアドインです。"
"FriendlyName"="添書票COMアドイン"
"LoadBehavior"=dword:00000010

EXPECTED
}

regsvr() { "$wine" regsvr32 /s "$@" "$(dll_windows_path)"; }

check_registered() {
  diff -u <(expected_entries) <(export_all) || fail "registry entries after $1 differ (- expected, + found)"
}

check_nothing_left() {
  for key in "${keys[@]}"; do
    ! key_exists "$key" || fail "$key is still there after $1"
  done
}

# Wine 8 reads classes from HKLM only: the client test copies our class keys there and
# removes the copy afterwards. Windows itself merges HKCU\Software\Classes; the product
# registers per user only.
mirror_to_machine() {
  local file=$work/mirror.reg
  {
    printf '\xEF\xBB\xBFWindows Registry Editor Version 5.00\n'
    for key in "${keys[@]:0:4}"; do export_key "$key"; done
  } | sed 's/^\[HKEY_CURRENT_USER\\Software\\Classes/[HKEY_LOCAL_MACHINE\\Software\\Classes/' |
    sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE > "$file"
  "$wine" reg import "Z:${file//\//\\}" >/dev/null 2>&1 || fail "reg import of the HKLM mirror"
}

remove_machine_mirror() {
  for key in "${keys[@]:0:4}"; do
    "$wine" reg delete "${key/HKEY_CURRENT_USER/HKEY_LOCAL_MACHINE}" /f >/dev/null 2>&1 || true
  done
}

case "${1:-}" in
  boot)
    # One prefix per architecture and run: Wine keeps one HKCU class tree for both.
    "$SENDNOTE_WINESERVER" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX" "$work"
    mkdir -p "$work"
    "$wine" wineboot -i >/dev/null 2>&1 || fail "wineboot"
    # The null display: message boxes open invisibly and the client's hook answers them.
    "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    "$SENDNOTE_WINESERVER" -w
    ;;
  shutdown)
    "$SENDNOTE_WINESERVER" -k 2>/dev/null || true
    ;;
  imports)
    dump=$("$SENDNOTE_OBJDUMP" -p "$SENDNOTE_DLL")
    imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
    for name in $imports; do
      case "$name" in
        kernel32.dll|user32.dll|ole32.dll|oleaut32.dll|advapi32.dll|shell32.dll|msvcrt.dll) ;;
        *) fail "sendnote.dll imports $name (imports: $imports)" ;;
      esac
    done
    exports=$(sed -n 's/^\s*\[\s*[0-9]*\] \([A-Za-z_]*\)$/\1/p' <<<"$dump" | tr '\n' ' ')
    [[ "$exports" == "DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer " ]] ||
      fail "exports are '$exports'"
    echo "imports: $imports"
    ;;
  dialogs)
    "$wine" "$SENDNOTE_DIALOGS" "Z:${SENDNOTE_CHM//\//\\}" || fail "dialog checks"
    ;;
  help)
    # The compiled help file holds every page of the help project.
    listing=$(7z l "$SENDNOTE_CHM")
    for page in index.html fields.html prefix.html messages.html style.css; do
      grep -q "$page" <<<"$listing" || fail "sendnote.chm lacks $page"
    done
    ;;
  register)
    regsvr /u || true
    regsvr || fail "regsvr32 exited $?"
    check_registered "one registration"
    regsvr || fail "second regsvr32 exited $?"
    check_registered "registering twice"
    for key in "${keys[@]}"; do key_exists "$key" || fail "reg query does not see $key"; done
    # Office's own interface key is not ours to write.
    office_iid='{B65AD801-ABAF-11D0-BB8B-00A0C90F2744}'
    for root in HKEY_CURRENT_USER HKEY_LOCAL_MACHINE; do
      ! key_exists "$root\\Software\\Classes\\Interface\\$office_iid" ||
        fail "registration wrote IDTExtensibility2's interface key under $root"
    done
    ;;
  unregister)
    regsvr || fail "regsvr32 exited $?"
    regsvr /u || fail "regsvr32 /u exited $?"
    check_nothing_left "regsvr32 /u"
    # Removing what is not there is no failure.
    regsvr /u || fail "a second regsvr32 /u exited $?"
    ;;
  partial-failure)
    regsvr /u || true
    "$wine" "$SENDNOTE_CLIENT" lock || fail "could not make the Addins key refuse our entry"
    set +e
    regsvr
    rc=$?
    set -e
    "$wine" "$SENDNOTE_CLIENT" unlock || fail "could not restore the Addins key"
    ((rc != 0)) || fail "regsvr32 reported success although the Addins key refused our entry"
    check_nothing_left "a registration that failed at the Addins key"
    ;;
  client)
    regsvr || fail "regsvr32 exited $?"
    mirror_to_machine
    set +e
    "$wine" "$SENDNOTE_CLIENT" connect
    rc=$?
    set -e
    remove_machine_mirror
    ((rc == 0)) || fail "the client's checks failed"
    ;;
  automation)
    "$wine" "$SENDNOTE_CLIENT" automation || fail "the client's checks failed"
    ;;
  resources)
    "$wine" "$SENDNOTE_CLIENT" resources "$(dll_windows_path)" "$SENDNOTE_PLATFORM" ||
      fail "the client's checks failed"
    ;;
  contract-automation)
    # The Word contract suite and the Outlook check over automation; GoogleTest's own
    # report, without colours.
    GTEST_COLOR=no "$wine" "$SENDNOTE_CONTRACT_AUTOMATION" || fail "the contract checks over automation"
    ;;
  *)
    echo "usage: wine-tests.sh boot|shutdown|imports|automation|register|unregister|partial-failure|client|resources|contract-automation" >&2
    exit 2
    ;;
esac
