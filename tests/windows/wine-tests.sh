#!/usr/bin/env bash
# Driver of the sendnote.dll tests under Wine, one test per call (ctest runs each with a
# time-out). Environment from CMake: SENDNOTE_WINE (the loader of the DLL's bitness),
# SENDNOTE_WINESERVER, WINEPREFIX (private, under the build folder), WINEARCH,
# SENDNOTE_PLATFORM (win32|win64), SENDNOTE_DLL, SENDNOTE_CLIENT, SENDNOTE_BARRIERS, SENDNOTE_HOSTSIM, SENDNOTE_OBJDUMP,
# SENDNOTE_CONTRACT_AUTOMATION (the Word contract suite over automation), SENDNOTE_VERSION
# (the project's version) and the identities SENDNOTE_LIBID, SENDNOTE_CLSID, SENDNOTE_IID
# (braced). SENDNOTE_WINEDEBUG, when set, replaces WINEDEBUG=-all for a run that needs
# Wine's traces.
set -euo pipefail
export WINEDEBUG=${SENDNOTE_WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
wine=$SENDNOTE_WINE
progid=COMAddInSendnote.dsrOutlookToWord
classes='HKEY_CURRENT_USER\Software\Classes'
addins='HKEY_CURRENT_USER\Software\Microsoft\Office\Outlook\Addins'
keys=("$classes\\CLSID\\$SENDNOTE_CLSID" "$classes\\$progid" "$classes\\Interface\\$SENDNOTE_IID"
      "$classes\\TypeLib\\$SENDNOTE_LIBID" "$addins\\$progid")
work=$WINEPREFIX/../wine-work
mkdir -p "$work"

fail() { echo "FAILED: $*" >&2; exit 1; }
# Skips this test (exit 77, ctest's skip) with its reason, also kept in SENDNOTE_SKIP_LOG
# for scripts/test-windows.sh's list of skipped parts.
skip_test() {
  echo "$1"
  [[ -z ${SENDNOTE_SKIP_LOG:-} ]] || echo "windows.$SENDNOTE_PLATFORM.${step_name:-?}: $1" >>"$SENDNOTE_SKIP_LOG"
  exit 77
}
step_name=${1:-}

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
# The same keys of an all-users registration.
machine_keys=("${keys[@]/#HKEY_CURRENT_USER/HKEY_LOCAL_MACHINE}")
export_machine() { for key in "${machine_keys[@]}"; do export_key "$key" || echo "(missing $key)"; done; }
# key_in_view KEY 32|64: whether KEY exists in that registry view.
key_in_view() { "$wine" reg query "$1" "/reg:$2" >/dev/null 2>&1; }
# The other build's registration in the 32-bit view, as the x86 build writes it: its class
# (a server that is not ours) and its platform's type-library entry.
other_server='C:\other\x86\sendnote.dll'
seed_other_build() {
  local root=$1
  "$wine" reg add "$root\\Software\\Classes\\CLSID\\$SENDNOTE_CLSID\\InprocServer32" /ve /d "$other_server" /reg:32 /f >/dev/null 2>&1 &&
    "$wine" reg add "$root\\Software\\Classes\\TypeLib\\$SENDNOTE_LIBID\\1.0\\0\\win32" /ve /d "$other_server" /reg:32 /f >/dev/null 2>&1 ||
    fail "could not seed the other build's registration under $root"
}
regsvr_all() { "$wine" regsvr32 /s "$@" /n /i:allusers "$(dll_windows_path)"; }
machine_clean() {
  regsvr_all /u || true
  for key in "${machine_keys[@]}"; do
    for view in 32 64; do "$wine" reg delete "$key" /f "/reg:$view" >/dev/null 2>&1 || true; done
  done
}

key_exists() { "$wine" reg query "$1" >/dev/null 2>&1; }

# The entries of a registration of the DLL at $1 (a Windows path; default: the build's),
# below the root $2 (default: HKEY_CURRENT_USER).
expected_entries() {
  local dll folder root=${2:-HKEY_CURRENT_USER}
  local classes="$root\\Software\\Classes" addins="$root\\Software\\Microsoft\\Office\\Outlook\\Addins"
  dll=$(printf '%s' "${1:-$(dll_windows_path)}" | sed 's/\\/\\\\/g')
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
"LoadBehavior"=dword:00000003

EXPECTED
}

regsvr() { "$wine" regsvr32 /s "$@" "$(dll_windows_path)"; }

check_registered() {
  diff -u <(expected_entries "${2:-}") <(export_all) ||
    fail "registry entries after $1 differ (- expected, + found)"
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


# The installer (scripts/build-installer.sh, after both builds): skipped when not built.
uninstall_key='HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Uninstall\sendnote'
need_installer() {
  [[ -f ${SENDNOTE_INSTALLER:-} ]] && return 0
  skip_test "no installer at ${SENDNOTE_INSTALLER:-(unset)}: bash scripts/build-installer.sh after building both presets"
}
# A silent run never asks the user, yet once in several runs under Wine the installer ended
# with 1 (NSIS's "cancelled") right after an uninstallation: wait for the prefix and try once
# more, saying so, so that a real refusal (2, 3) still fails at once.
install() {
  local rc=0
  "$wine" "Z:${SENDNOTE_INSTALLER//\//\\}" /S || rc=$?
  ((rc == 1)) || return $rc
  echo "the installer ended with 1 (cancelled) in a silent run: trying once more" >&2
  "$SENDNOTE_WINESERVER" -w
  "$wine" "Z:${SENDNOTE_INSTALLER//\//\\}" /S
}
# The uninstaller runs from a copy in TEMP and returns at once: wait for the prefix's
# processes to end.
uninstall() {
  "$wine" "$install_root\\uninstall.exe" /S || return 1
  "$SENDNOTE_WINESERVER" -w
}
# Where the installer puts its files, as Windows and Unix paths.
locate_install_root() {
  local appdata
  appdata=$("$wine" cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')
  install_root="$appdata\\Programs\\sendnote"
  install_dir=$("$wine" winepath -u "$install_root" 2>/dev/null | tr -d '\r')
  [[ $appdata == ?:* && -n $install_dir ]] || fail "LOCALAPPDATA is '$appdata'"
}
# The user's registry and files, but TEMP (where the uninstaller's copy ran) and the
# empty shared containers our keys and folder go into, which Windows has anyway.
containers=('Software\Classes' 'Software\Classes\CLSID' 'Software\Classes\Interface'
            'Software\Classes\TypeLib' 'Software\Microsoft\Office' 'Software\Microsoft\Office\Outlook'
            'Software\Microsoft\Office\Outlook\Addins'
            'Software\Microsoft\Windows\CurrentVersion\Uninstall')
snapshot() {
  export_key HKEY_CURRENT_USER |
    grep -vxF -f <(printf '[HKEY_CURRENT_USER\\%s]\n' "${containers[@]}") | cat -s
  (cd "$WINEPREFIX/drive_c/users" && find . -path '*/Temp' -prune -o -print | sort) |
    grep -vx '\./[^/]*/AppData/Local/Programs'
}
# The machine's HKLM\Software likewise, but the empty Office containers our Addins key goes
# into (there with any Outlook).
machine_snapshot() {
  export_key 'HKEY_LOCAL_MACHINE\Software' |
    grep -vxF -f <(printf '[HKEY_LOCAL_MACHINE\\Software\\%s]\n' 'Microsoft\Office\Outlook' 'Microsoft\Office\Outlook\Addins' \
                     'Wow6432Node\Microsoft\Office' 'Wow6432Node\Microsoft\Office\Outlook' 'Wow6432Node\Microsoft\Office\Outlook\Addins') | cat -s
}
check_as_before() {
  diff -u "$1" <(snapshot) || fail "the user's registry or files differ after $2 (- before, + after)"
}
check_not_installed() {
  check_nothing_left "$1"
  ! key_exists "$uninstall_key" || fail "the Add/Remove Programs entry is still there after $1"
  [[ ! -e $install_dir ]] || fail "$install_dir is still there after $1"
}
# The machine a PE file is built for: 014c (x86) or 8664 (x64).
pe_machine() {
  local offset
  offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' '
}
inproc_server() {
  export_key "$classes\\CLSID\\$SENDNOTE_CLSID\\InprocServer32" | sed -n 's/^@="\(.*\)"$/\1/p' |
    sed 's/\\\\/\\/g'
}

# The files the installer was made from (scripts/build-installer.sh keeps them beside it).
# An export without the block of one key (its line, its one value and the blank line).
without_block() { BLOCK=$1 awk '$0 == ENVIRON["BLOCK"] { skip = 3 } skip && skip-- { next } { print }'; }
staged() { printf '%s/files/%s' "$(dirname "$SENDNOTE_INSTALLER")" "$1"; }
# What a per-user installation registers. On win32 the x86 build alone. On win64 both: Wine
# keeps one HKCU class view for both bitnesses, so the x64 build, registered second, holds
# the class and interface keys, and the shared type library holds both platforms' entries
# (on Windows each build has its class keys in its own view).
check_installed_registration() {
  local root=$1 x86_reg
  if [[ $SENDNOTE_PLATFORM == win32 ]]; then
    check_registered "$2" "$root\\x86\\sendnote.dll"
    return
  fi
  x86_reg=$(printf '%s' "$root\\x86\\sendnote.dll" | sed 's/\\/\\\\/g')
  diff -u <(expected_entries "$root\\x64\\sendnote.dll") \
    <(export_all | without_block "[$classes\\TypeLib\\$SENDNOTE_LIBID\\1.0\\0\\win32]") ||
    fail "registry entries after $2 differ (- expected, + found)"
  export_key "$classes\\TypeLib\\$SENDNOTE_LIBID\\1.0\\0\\win32" | grep -qxF "@=\"$x86_reg\"" ||
    fail "the type library has no x86 entry after $2"
}
# The installed files are the ones the installer was made from, signed or not; a signed
# installer carries the uninstaller makensis signed.
check_installed_files() {
  local build
  for build in x86:014c x64:8664; do
    for file in sendnote.dll sendnote.chm; do
      cmp "$1/${build%%:*}/$file" "$(staged "${build%%:*}/$file")" || fail "the installed ${build%%:*}/$file is not the one built"
    done
    [[ $(pe_machine "$1/${build%%:*}/sendnote.dll") == "${build#*:}" ]] ||
      fail "$1/${build%%:*}/sendnote.dll is not built for ${build%%:*}"
  done
  cmp "$1/uninstall.exe" "$(dirname "$SENDNOTE_INSTALLER")/uninstall.exe" ||
    fail "the installed uninstaller is not the one makensis made (and signed, when signing)"
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
    # A crashing program ends at once instead of waiting on the debugger's dialog.
    "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
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
    [[ "$exports" == "DllCanUnloadNow DllGetClassObject DllInstall DllRegisterServer DllUnregisterServer " ]] ||
      fail "exports are '$exports'"
    echo "imports: $imports"
    ;;
  dialogs)
    "$wine" "$SENDNOTE_DIALOGS" "Z:${SENDNOTE_CHM//\//\\}" || fail "dialog checks"
    ;;
  barriers)
    "$wine" "$SENDNOTE_BARRIERS" || fail "barrier checks"
    ;;
  help)
    # The compiled help file holds every page of the help project, byte for byte.
    listing=$(7z l "$SENDNOTE_CHM")
    for page in index.html fields.html prefix.html messages.html style.css; do
      grep -q "$page" <<<"$listing" || fail "sendnote.chm lacks $page"
    done
    pages=$work/chm-pages
    rm -rf "$pages"
    7z x -o"$pages" "$SENDNOTE_CHM" >/dev/null || fail "7z could not unpack sendnote.chm"
    for page in "$SENDNOTE_HELP_SOURCES"/*.html "$SENDNOTE_HELP_SOURCES"/*.css; do
      cmp "$page" "$pages/$(basename "$page")" || fail "$(basename "$page") differs in sendnote.chm"
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
  register-allusers)
    # regsvr32 /n /i:allusers: the whole set below HKLM, in this build's view only, and
    # nothing per user; /u /n /i:allusers removes it from both views.
    [[ $SENDNOTE_PLATFORM == win64 ]] || skip_test "the views are checked from the x64 build"
    regsvr /u || true
    machine_clean
    regsvr_all || fail "regsvr32 /n /i:allusers exited $?"
    regsvr_all || fail "a second regsvr32 /n /i:allusers exited $?"
    diff -u <(expected_entries "" HKEY_LOCAL_MACHINE) <(export_machine) ||
      fail "the all-users entries differ (- expected, + found)"
    check_nothing_left "an all-users registration (per user)"
    # The class, its interface and the machine's Addins entry have a view per bitness.
    for key in "${machine_keys[0]}" "${machine_keys[2]}" "${machine_keys[4]}"; do
      ! key_in_view "$key" 32 || fail "$key is in the 32-bit view after registering the x64 build"
    done
    regsvr_all /u || fail "regsvr32 /u /n /i:allusers exited $?"
    for key in "${machine_keys[@]}"; do
      for view in 32 64; do ! key_in_view "$key" $view || fail "$key ($view-bit view) is left after /u"; done
    done
    ;;
  allusers-shared-keys)
    # With the x86 build registered for all users beside it, unregistering the x64 build
    # takes its own keys and its type-library entry, and leaves the shared ProgID and type
    # library; once the x86 build is gone too, nothing is left.
    [[ $SENDNOTE_PLATFORM == win64 ]] || skip_test "the x86 build's view is seeded from the x64 build"
    machine_clean
    seed_other_build HKEY_LOCAL_MACHINE
    regsvr_all || fail "regsvr32 /n /i:allusers exited $?"
    key_in_view "${machine_keys[0]}\\InprocServer32" 32 || fail "the seeded 32-bit class is gone after registering"
    regsvr_all /u || fail "regsvr32 /u /n /i:allusers exited $?"
    for key in "${machine_keys[1]}" "${machine_keys[3]}" "${machine_keys[3]}\\1.0\\0\\win32"; do
      key_in_view "$key" 64 || fail "$key was removed while the x86 build is registered"
    done
    for key in "${machine_keys[0]}" "${machine_keys[2]}" "${machine_keys[4]}" "${machine_keys[3]}\\1.0\\0\\win64"; do
      ! key_in_view "$key" 64 || fail "$key was left by the x64 build's unregistration"
    done
    "$wine" reg delete "${machine_keys[0]}" /f /reg:32 >/dev/null 2>&1 || fail "could not remove the seeded class"
    regsvr_all /u || fail "the second regsvr32 /u /n /i:allusers exited $?"
    for key in "${machine_keys[@]}"; do
      for view in 32 64; do ! key_in_view "$key" $view || fail "$key ($view-bit view) is left"; done
    done
    ;;
  user-shared-keys)
    # The same per user, where Windows keeps the class keys per view too. Wine 8 keeps one
    # HKCU\Software\Classes for both bitnesses: there the seed is our own key, and the case
    # is skipped, saying so.
    [[ $SENDNOTE_PLATFORM == win64 ]] || skip_test "the x86 build's view is seeded from the x64 build"
    regsvr /u || true
    seed_other_build HKEY_CURRENT_USER
    if key_in_view "${keys[0]}\\InprocServer32" 64; then
      "$wine" reg delete "${keys[0]}" /f /reg:32 >/dev/null 2>&1
      "$wine" reg delete "${keys[3]}" /f /reg:32 >/dev/null 2>&1
      skip_test "this Wine keeps one HKCU\\Software\\Classes view for 32- and 64-bit programs: the per-user side-by-side case cannot be shown"
    fi
    regsvr || fail "regsvr32 exited $?"
    regsvr /u || fail "regsvr32 /u exited $?"
    for key in "${keys[1]}" "${keys[3]}" "${keys[4]}"; do
      key_exists "$key" || fail "$key was removed while the x86 build is registered"
    done
    "$wine" reg delete "${keys[0]}" /f /reg:32 >/dev/null 2>&1
    regsvr /u || fail "the second regsvr32 /u exited $?"
    check_nothing_left "both builds' unregistration"
    ;;
  allusers-refusals)
    # Without administrator rights (a token whose Administrators group is for denying
    # only) the all-users registration is refused with its message and writes nothing.
    machine_clean
    rc=0
    "$wine" "$SENDNOTE_CLIENT" refusals "$(dll_windows_path)" || rc=$?
    ((rc != 77)) || skip_test "Wine keeps the Administrators group in a restricted token"
    ((rc == 0)) || fail "the refusal checks failed"
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
  hostsim-*)
    # The simulator reads the Addins key the registration wrote and creates the add-in by
    # its ProgID, as Outlook does.
    regsvr || fail "regsvr32 exited $?"
    mirror_to_machine
    set +e
    "$wine" "$SENDNOTE_HOSTSIM" "${1#hostsim-}"
    rc=$?
    set -e
    remove_machine_mirror
    ((rc == 0)) || fail "the simulator's scenario ${1#hostsim-} failed"
    ;;
  automation)
    "$wine" "$SENDNOTE_CLIENT" automation || fail "the client's checks failed"
    ;;
  resources)
    "$wine" "$SENDNOTE_CLIENT" resources "$(dll_windows_path)" "$SENDNOTE_PLATFORM" ||
      fail "the client's checks failed"
    ;;
  screenshots)
    # The dialogs on a virtual X display (Xvfb) under Wine's own desktop window, which draws
    # the title bars; the null display again afterwards.
    command -v xvfb-run >/dev/null || fail "xvfb-run is missing (bash scripts/setup.sh --windows)"
    shots=$SENDNOTE_SCREENSHOTS
    rm -rf "$shots"
    mkdir -p "$shots"
    restore_null_display() {
      "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
      "$SENDNOTE_WINESERVER" -k 2>/dev/null || true
    }
    trap restore_null_display EXIT
    "$wine" reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
    # MS UI Gothic is Windows' own font: Debian's proportional IPA Gothic stands in.
    "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d IPAPGothic /f \
      >/dev/null 2>&1 || fail "reg add of the font replacement"
    "$SENDNOTE_WINESERVER" -k 2>/dev/null || true
    # Wine's desktop does not hand the program's exit code back: it writes result.txt.
    xvfb-run -a -s '-screen 0 1024x768x24 -nolisten tcp' bash -c \
      '"$1" explorer /desktop=sendnote,800x600 "$2" "$3"; "$4" -k 2>/dev/null || true' _ \
      "$wine" "Z:${SENDNOTE_SCREENS//\//\\}" "Z:${shots//\//\\}" "$SENDNOTE_WINESERVER" 2>&1 |
      grep -v '^X connection to' || true
    [[ $(cat "$shots/result.txt" 2>/dev/null) == passed ]] || fail "the screen checks did not pass"
    python3 "$(dirname "$0")/check_png.py" "$shots/dlgTemplate.png" "$shots/frmAbout.png" \
      "$shots/dlgWindow.png" ||
      fail "a screenshot is not a well-formed PNG"
    ;;
  installer)
    need_installer
    regsvr /u || true
    locate_install_root
    before=$work/before-install.txt
    snapshot > "$before"
    install || fail "the installer exited $?"
    # Installing again over the installation leaves one of everything.
    install || fail "the installer run a second time exited $?"
    arch=x64
    [[ $SENDNOTE_PLATFORM == win32 ]] && arch=x86
    # Both builds and the help file beside each (a library opens it from its own folder).
    check_installed_files "$install_dir"
    # With no Office in the prefix, the report says what Windows allows or nothing.
    no_office=unknown
    [[ $SENDNOTE_PLATFORM == win32 ]] && no_office=x86
    check_installed_registration "$install_root" "the installer"
    root_reg=${install_root//\\/\\\\}
    diff -u - <(export_key "$uninstall_key") <<ENTRY || fail "the Add/Remove Programs entry differs"

[$uninstall_key]
"DisplayIcon"="$root_reg\\\\x86\\\\sendnote.dll,0"
"DisplayName"="添書票COMアドイン"
"DisplayVersion"="$SENDNOTE_VERSION"
"InstallLocation"="$root_reg"
"NoModify"=dword:00000001
"NoRepair"=dword:00000001
"OfficeBitness"="$no_office"
"QuietUninstallString"="\\"$root_reg\\\\uninstall.exe\\" /S"
"UninstallString"="\\"$root_reg\\\\uninstall.exe\\""

ENTRY
    mirror_to_machine
    set +e
    "$wine" "$SENDNOTE_CLIENT" installed "$install_root\\$arch\\sendnote.dll"
    rc=$?
    set -e
    remove_machine_mirror
    ((rc == 0)) || fail "the client's checks of the installed add-in failed"
    uninstall || fail "the uninstaller exited $?"
    check_not_installed "the uninstaller"
    check_as_before "$before" "installing and uninstalling"
    ;;
  installer-bitness)
    # Office's bitness as the registry says it is reported (OfficeBitness of the
    # Add/Remove Programs entry); the files and keys written are the same whatever it says.
    need_installer
    regsvr /u || true
    locate_install_root
    if [[ $SENDNOTE_PLATFORM == win32 ]]; then
      cases=('||none|x86'
             'HKCU\Software\Microsoft\Office\16.0\Outlook|Bitness|x64|x86')
    else
      cases=('||none|unknown'
             'HKCU\Software\Microsoft\Office\16.0\Outlook|Bitness|x86|x86'
             'HKLM\Software\Microsoft\Office\15.0\Outlook|Bitness|x64|x64'
             'HKLM\Software\Wow6432Node\Microsoft\Office\14.0\Outlook|Bitness|x86|x86'
             'HKLM\Software\Microsoft\Office\ClickToRun\Configuration|Platform|x86|x86'
             'HKLM\Software\Microsoft\Office\ClickToRun\Configuration|Platform|x64|x64'
             'HKLM\Software\Wow6432Node\Microsoft\Office\9.0\Outlook\InstallRoot|Path|C:\Office|x86'
             'HKCU\Software\Microsoft\Office\14.0\Outlook|Bitness|ia64|unknown')
    fi
    reference=""
    for case in "${cases[@]}"; do
      IFS='|' read -r key name value expected <<<"$case"
      [[ -n $key ]] && { "$wine" reg add "$key" /v "$name" /d "$value" /f >/dev/null 2>&1 || fail "reg add $key"; }
      set +e
      install
      rc=$?
      set -e
      office=$(sed -n 's/^"OfficeBitness"="\(.*\)"$/\1/p' < <(export_key "$uninstall_key"))
      written=$(export_all; find "$install_dir" -type f -printf '%P %s\n' | sort)
      if [[ -n $key ]]; then
        # The seeded Office key goes again (Office\<version>, or ClickToRun).
        seeded=${key%%\\Outlook*}
        seeded=${seeded%%\\Configuration}
        "$wine" reg delete "$seeded" /f >/dev/null 2>&1
      fi
      ((rc == 0)) || fail "$case: the installer exited $rc"
      [[ $office == "$expected" ]] || fail "$case: reported '$office', expected '$expected'"
      if [[ -z $reference ]]; then
        reference=$written
      else
        diff -u <(echo "$reference") <(echo "$written") || fail "$case: other files or keys than without a seed"
      fi
      uninstall || fail "$case: the uninstaller exited $?"
      check_not_installed "$case"
    done
    ;;
  installer-standin)
    # The installer script made as a 64-bit NSIS installer with this x64 build in both
    # folders, signed with a throwaway certificate: what the shipped 32-bit installer does
    # (it needs wine32 to run) is run here under wine64 as far as one build allows. Both
    # folders' registrations land in the 64-bit view, the x64 folder's last.
    [[ $SENDNOTE_PLATFORM == win64 ]] || skip_test "the stand-in is for win64 prefixes; win32 runs the real installer"
    command -v makensis >/dev/null || fail "makensis is missing"
    standin=$work/standin
    rm -rf "$standin"
    mkdir -p "$standin"
    openssl req -x509 -newkey rsa:2048 -nodes -keyout "$standin/key.pem" -out "$standin/cert.pem" -days 2 \
      -subj "/CN=sendnote test signer" -addext "extendedKeyUsage=codeSigning" 2>/dev/null &&
      openssl pkcs12 -export -inkey "$standin/key.pem" -in "$standin/cert.pem" -out "$standin/signer.pfx" -passout pass: ||
      fail "openssl could not make the certificate"
    dll_dir=$(dirname "$SENDNOTE_DLL")
    SENDNOTE_X86_BUILD=$dll_dir SENDNOTE_X64_BUILD=$dll_dir SENDNOTE_NSIS_TARGET=amd64-unicode \
      SENDNOTE_SIGN_PFX=$standin/signer.pfx SENDNOTE_SIGN_PASSWORD= SENDNOTE_INSTALLER_DIR=$standin/out \
      bash "$(dirname "$0")/../../scripts/build-installer.sh" >"$standin/build.log" 2>&1 ||
      fail "build-installer.sh could not make the stand-in: $(cat "$standin/build.log")"
    makensis -V1 -X"Target amd64-unicode" -INPUTCHARSET UTF8 -DTEST_ACCOUNT_TYPE=User \
      -DX86_DIR="$standin/out/files/x86" -DX64_DIR="$standin/out/files/x64" -DOUTFILE="$standin/refusing.exe" \
      "$(dirname "$0")/../../src/windows/installer/sendnote.nsi" || fail "makensis could not make the refusing stand-in"
    SENDNOTE_INSTALLER=$standin/out/sendnote-setup.exe
    regsvr /u || true
    machine_clean
    locate_install_root
    check_files() {
      for file in x86/sendnote.dll x86/sendnote.chm x64/sendnote.dll x64/sendnote.chm; do
        cmp "$1/$file" "$(staged "$file")" || fail "the installed $file is not the one built"
      done
      cmp "$1/uninstall.exe" "$standin/out/uninstall.exe" || fail "the installed uninstaller is not the one makensis signed"
      osslsigncode verify -CAfile "$standin/cert.pem" -in "$1/uninstall.exe" >/dev/null 2>&1 ||
        fail "the installed uninstaller's signature does not verify"
    }

    # Per user, with seeded bitness values: the same files and keys, the seed reported.
    before=$work/before-standin.txt
    snapshot >"$before"
    for case in '||none|unknown' \
                'HKLM\Software\Microsoft\Office\ClickToRun\Configuration|Platform|x86|x86' \
                'HKLM\Software\Microsoft\Office\ClickToRun\Configuration|Platform|x64|x64' \
                'HKCU\Software\Microsoft\Office\16.0\Outlook|Bitness|x86|x86' \
                'HKLM\Software\Microsoft\Office\15.0\Outlook|Bitness|x64|x64' \
                'HKCU\Software\Microsoft\Office\14.0\Outlook|Bitness|ia64|unknown'; do
      IFS='|' read -r key name value expected <<<"$case"
      [[ -n $key ]] && { "$wine" reg add "$key" /v "$name" /d "$value" /f >/dev/null 2>&1 || fail "reg add $key"; }
      install || fail "$case: the stand-in installer exited $?"
      office=$(sed -n 's/^"OfficeBitness"="\(.*\)"$/\1/p' < <(export_key "$uninstall_key"))
      if [[ -n $key ]]; then
        seeded=${key%%\\Outlook*}
        "$wine" reg delete "${seeded%%\\Configuration}" /f >/dev/null 2>&1
      fi
      [[ $office == "$expected" ]] || fail "$case: reported '$office', expected '$expected'"
      check_files "$install_dir"
      check_registered "$case" "$install_root\\x64\\sendnote.dll"
      uninstall || fail "$case: the uninstaller exited $?"
      check_not_installed "$case"
    done
    check_as_before "$before" "the stand-in's installations and uninstallations"

    # /ALLUSERS refused without the rights (the account check injected): exit 4, nothing written.
    before_machine=$work/before-standin-machine.txt
    machine_snapshot >"$before_machine"
    rc=0
    "$wine" "Z:${standin//\//\\}\\refusing.exe" /S /ALLUSERS || rc=$?
    "$SENDNOTE_WINESERVER" -w
    ((rc == 4)) || fail "the stand-in /ALLUSERS without the rights exited $rc, expected 4"
    diff -u "$before_machine" <(machine_snapshot) || fail "a refused /ALLUSERS wrote to HKLM\\Software"
    check_as_before "$before" "a refused /ALLUSERS"

    # /ALLUSERS with the rights: Program Files and the HKLM set, nothing per user; the
    # uninstaller found there removes exactly that.
    "$wine" "Z:${SENDNOTE_INSTALLER//\//\\}" /S /ALLUSERS || fail "the stand-in /ALLUSERS exited $?"
    "$SENDNOTE_WINESERVER" -w
    programs=$("$wine" cmd /c 'echo %ProgramFiles%' | tr -d '\r')
    machine_dir=$("$wine" winepath -u "$programs\\sendnote" 2>/dev/null | tr -d '\r')
    check_files "$machine_dir"
    diff -u <(expected_entries "$programs\\sendnote\\x64\\sendnote.dll" HKEY_LOCAL_MACHINE) <(export_machine) ||
      fail "the stand-in's all-users entries differ (- expected, + found)"
    machine_uninstall='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\sendnote'
    export_key "$machine_uninstall" | grep -qxF "\"InstallLocation\"=\"${programs//\\/\\\\}\\\\sendnote\"" ||
      fail "the machine's Add/Remove Programs entry is missing or names another folder"
    check_nothing_left "the stand-in /ALLUSERS (per user)"
    ! key_exists "$uninstall_key" || fail "/ALLUSERS wrote the per-user Add/Remove Programs entry"
    "$wine" "$programs\\sendnote\\uninstall.exe" /S || fail "the all-users uninstaller exited $?"
    "$SENDNOTE_WINESERVER" -w
    [[ ! -e $machine_dir ]] || fail "$machine_dir is still there after uninstalling"
    diff -u "$before_machine" <(machine_snapshot) ||
      fail "HKLM\\Software differs after the stand-in's all-users installation and uninstallation"
    check_as_before "$before" "the all-users installation"
    ;;
  installer-allusers)
    # /ALLUSERS: Program Files and the HKLM set, nothing per user; the uninstaller removes
    # exactly that (the machine's registry and Program Files as before).
    need_installer
    regsvr /u || true
    machine_clean
    locate_install_root
    programs=$("$wine" cmd /c 'echo %ProgramW6432%' | tr -d '\r')
    [[ $programs == ?:* ]] || programs=$("$wine" cmd /c 'echo %ProgramFiles%' | tr -d '\r')
    machine_root="$programs\\sendnote"
    machine_dir=$("$wine" winepath -u "$machine_root" 2>/dev/null | tr -d '\r')
    arch=x64
    [[ $SENDNOTE_PLATFORM == win32 ]] && arch=x86
    before_user=$work/before-allusers-user.txt
    before_machine=$work/before-allusers-machine.txt
    snapshot >"$before_user"
    machine_snapshot >"$before_machine"
    "$wine" "Z:${SENDNOTE_INSTALLER//\//\\}" /S /ALLUSERS || fail "the installer /ALLUSERS exited $?"
    check_installed_files "$machine_dir"
    # The build registered last (x64 on win64) in its view; the x86 build's class keys are
    # in the 32-bit view, which Wine keeps apart below HKLM.
    diff -u <(expected_entries "$machine_root\\$arch\\sendnote.dll" HKEY_LOCAL_MACHINE) \
      <(export_machine | if [[ $arch == x64 ]]; then without_block "[${machine_keys[3]}\\1.0\\0\\win32]"; else cat; fi) ||
      fail "the all-users entries differ (- expected, + found)"
    if [[ $arch == x64 ]]; then
      for key in "${machine_keys[0]}\\InprocServer32" "${machine_keys[4]}"; do
        key_in_view "$key" 32 || fail "$key: the x86 build is not registered in the 32-bit view"
      done
    fi
    check_nothing_left "an all-users installation (per user)"
    ! key_exists "$uninstall_key" || fail "an all-users installation wrote the per-user Add/Remove Programs entry"
    key_in_view "${uninstall_key/HKEY_CURRENT_USER/HKEY_LOCAL_MACHINE}" 32 ||
      fail "the machine's Add/Remove Programs entry is missing"
    "$wine" "$machine_root\\uninstall.exe" /S || fail "the all-users uninstaller exited $?"
    "$SENDNOTE_WINESERVER" -w
    [[ ! -e $machine_dir ]] || fail "$machine_dir is still there after uninstalling"
    diff -u "$before_machine" <(machine_snapshot) ||
      fail "HKLM\\Software differs after installing and uninstalling for all users (- before, + after)"
    check_as_before "$before_user" "installing and uninstalling for all users"
    ;;
  installer-allusers-refused)
    # /ALLUSERS without administrator rights is refused (exit 4) before anything is
    # written. Wine always runs with the rights: the installer is remade with its account
    # check answering "User" (the build's own staged files, nothing else changed).
    need_installer
    command -v makensis >/dev/null || fail "makensis is missing"
    locate_install_root
    refused=$work/refused-setup.exe
    makensis -V1 -INPUTCHARSET UTF8 -DTEST_ACCOUNT_TYPE=User -DX86_DIR="$(staged x86)" \
      -DX64_DIR="$(staged x64)" -DOUTFILE="$refused" "$(dirname "$0")/../../src/windows/installer/sendnote.nsi" ||
      fail "makensis could not make the refusing installer"
    before_user=$work/before-refused-user.txt
    before_machine=$work/before-refused-machine.txt
    snapshot >"$before_user"
    machine_snapshot >"$before_machine"
    set +e
    "$wine" "Z:${refused//\//\\}" /S /ALLUSERS
    rc=$?
    set -e
    ((rc == 4)) || fail "the installer /ALLUSERS without the rights exited $rc, expected 4"
    diff -u "$before_machine" <(machine_snapshot) || fail "a refused /ALLUSERS wrote to HKLM\\Software"
    check_as_before "$before_user" "a refused /ALLUSERS"
    ;;
  installer-hostsim)
    # After a silent installation the simulator finds the add-in through the registry alone,
    # connects it and writes a letter with a click; after uninstalling nothing of ours is left.
    need_installer
    regsvr /u || true
    locate_install_root
    before=$work/before-hostsim.txt
    snapshot > "$before"
    install || fail "the installer exited $?"
    mirror_to_machine
    set +e
    "$wine" "$SENDNOTE_HOSTSIM" click-inspector
    rc=$?
    # Today's Outlook, started twice over the installed add-in, clicking its ribbon.
    rc2=0
    ((rc != 0)) || "$wine" "$SENDNOTE_HOSTSIM" ribbon-2016 || rc2=$?
    set -e
    remove_machine_mirror
    ((rc == 0)) || fail "the simulator could not click the installed add-in"
    ((rc2 == 0)) || fail "the simulated Outlook 2016 could not use the installed add-in"
    uninstall || fail "the uninstaller exited $?"
    check_not_installed "the uninstaller"
    check_as_before "$before" "installing, clicking and uninstalling"
    ;;
  installer-refusals)
    need_installer
    regsvr /u || true
    locate_install_root
    "$wine" "$SENDNOTE_CLIENT" unlock || fail "could not remove the Addins key"
    before=$work/before-refusals.txt
    snapshot > "$before"
    # Outlook runs: nothing is written, and the silent installer says so by its exit code.
    set +e
    "$wine" "$SENDNOTE_CLIENT" with-outlook-window "Z:${SENDNOTE_INSTALLER//\//\\}" /S
    rc=$?
    set -e
    ((rc == 3)) || fail "the installer beside a running Outlook exited $rc, expected 3"
    check_not_installed "an installer that met a running Outlook"
    # The registration fails at its last step: the installation is taken back whole.
    "$wine" "$SENDNOTE_CLIENT" lock || fail "could not make the Addins key refuse our entry"
    set +e
    install
    rc=$?
    set -e
    "$wine" "$SENDNOTE_CLIENT" unlock || fail "could not restore the Addins key"
    ((rc == 2)) || fail "the installer whose registration failed exited $rc, expected 2"
    check_not_installed "a failed registration"
    check_as_before "$before" "the refused installations"
    ;;
  contract-automation)
    # The Word contract suite and the Outlook check over automation; GoogleTest's own
    # report, without colours.
    GTEST_COLOR=no "$wine" "$SENDNOTE_CONTRACT_AUTOMATION" || fail "the contract checks over automation"
    ;;
  *)
    echo "usage: wine-tests.sh boot|shutdown|imports|automation|register|unregister|partial-failure|client|resources|dialogs|barriers|help|screenshots|installer|installer-bitness|installer-allusers|installer-allusers-refused|installer-standin|installer-refusals|register-allusers|allusers-shared-keys|user-shared-keys|allusers-refusals|installer-hostsim|hostsim-SCENARIO|contract-automation" >&2
    exit 2
    ;;
esac
