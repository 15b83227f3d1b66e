; The installer of sendnote.dll: both builds and the help file beside each go into the
; user's local programs folder (the default) or, with /ALLUSERS and administrator rights,
; into Program Files. On 64-bit Windows both builds are registered, each by the regsvr32 of
; its bitness into its own registry view, so that 32-bit and 64-bit Outlook each find their
; own; on 32-bit Windows the x86 build alone. Office's bitness is read and reported only.
; Built by scripts/build-installer.sh:
;   makensis -INPUTCHARSET UTF8 -DX86_DIR=... -DX64_DIR=... -DOUTFILE=... sendnote.nsi
; with -DSIGN_COMMAND=... (a command that signs the file named after it in place) the
; uninstaller and the installer are signed as they are made (!uninstfinalize needs NSIS 3.08),
; and with -DUNINSTALLER_COPY=PATH the finished uninstaller is copied there for checking.
Unicode true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; A file that cannot be written stops the installer instead of being skipped silently.
AllowSkipFiles off

!include FileFunc.nsh
!include LogicLib.nsh
!include x64.nsh

!ifndef X86_DIR | X64_DIR | OUTFILE
  !error "define X86_DIR and X64_DIR (the build folders holding sendnote.dll and sendnote.chm) and OUTFILE"
!endif

; The version comes from the DLL's own version resource.
!getdllversion "${X86_DIR}\sendnote.dll" dll_
!define VERSION "${dll_1}.${dll_2}.${dll_3}.${dll_4}"
!define TITLE "添書票COMアドイン"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\sendnote"
; Outlook's main window class: its loaded add-in keeps the DLL open.
!define OUTLOOK_WINDOW "rctrl_renwnd32"

Name "${TITLE}"
Icon "${X86_DIR}\icons\sendnote.ico"
UninstallIcon "${X86_DIR}\icons\sendnote.ico"
Caption "${TITLE} ${VERSION} セットアップ"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\sendnote"
ShowInstDetails show
ShowUninstDetails show
LoadLanguageFile "${NSISDIR}\Contrib\Language files\Japanese.nlf"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductName" "sendnote"
VIAddVersionKey /LANG=1041 "FileDescription" "${TITLE} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" " "

!ifdef SIGN_COMMAND
  ; "= 0": a signing that fails fails the build.
  !uninstfinalize '${SIGN_COMMAND} "%1"' = 0
  !finalize '${SIGN_COMMAND} "%1"' = 0
!endif
!ifdef UNINSTALLER_COPY
  !uninstfinalize 'cp "%1" "${UNINSTALLER_COPY}"' = 0
!endif

; "1" for an installation for all users (/ALLUSERS), "" for the current user's.
Var AllUsers
; regsvr32's options for the chosen scope: DllRegisterServer per user, or DllInstall with
; "allusers" alone (/n) for all users.
Var RegScope
; Outlook's bitness as the registry reports it: "x86", "x64" or "unknown".
Var OfficeBitness

Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Asks the user to close Outlook while it runs; a silent run gives up at once.
!macro WaitForOutlookClosed un
  Function ${un}WaitForOutlookClosed
    ${Do}
      FindWindow $0 "${OUTLOOK_WINDOW}"
      ${IfThen} $0 == 0 ${|} ${ExitDo} ${|}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Outlook を終了してから「再試行」を押してください。" /SD IDCANCEL IDRETRY retry
      SetErrorLevel 3
      Quit
      retry:
    ${Loop}
  FunctionEnd
!macroend
!insertmacro WaitForOutlookClosed ""
!insertmacro WaitForOutlookClosed "un."

; regsvr32 of the DLL's own bitness: in this 32-bit process $SYSDIR is the 32-bit system
; folder, and the 64-bit one is reached with the file system redirection off.
; $0 = "x86" or "x64", $1 = "" to register or "/u"; $RegScope the scope's options; leaves
; regsvr32's exit code in $2.
!macro RunRegsvr un
  Function ${un}RunRegsvr
    ClearErrors
    ${If} $0 == "x64"
      ${DisableX64FSRedirection}
      ExecWait '"$WINDIR\System32\regsvr32.exe" /s $1 $RegScope "$INSTDIR\x64\sendnote.dll"' $2
      ${EnableX64FSRedirection}
    ${Else}
      ExecWait '"$SYSDIR\regsvr32.exe" /s $1 $RegScope "$INSTDIR\x86\sendnote.dll"' $2
    ${EndIf}
    ${IfThen} ${Errors} ${|} StrCpy $2 "regsvr32" ${|}
  FunctionEnd
!macroend
!insertmacro RunRegsvr ""
!insertmacro RunRegsvr "un."

; Removes any registration of either build (both registry views); $3 = the first failing
; exit code, or 0. A build whose file is missing has nothing registered by us.
!macro UnregisterBoth un
  Function ${un}UnregisterBoth
    StrCpy $3 0
    ${If} ${RunningX64}
    ${AndIf} ${FileExists} "$INSTDIR\x64\sendnote.dll"
      StrCpy $0 "x64"
      StrCpy $1 "/u"
      Call ${un}RunRegsvr
      ${IfThen} $2 != 0 ${|} StrCpy $3 $2 ${|}
    ${EndIf}
    ${If} ${FileExists} "$INSTDIR\x86\sendnote.dll"
      StrCpy $0 "x86"
      StrCpy $1 "/u"
      Call ${un}RunRegsvr
      ${If} $2 != 0
      ${AndIf} $3 == 0
        StrCpy $3 $2
      ${EndIf}
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro UnregisterBoth ""
!insertmacro UnregisterBoth "un."

; The files, the uninstaller and its Add/Remove Programs entry; empty folders only.
!macro RemoveFiles un
  Function ${un}RemoveFiles
    ; The working folder would keep $INSTDIR from being removed.
    SetOutPath "$TEMP"
    Delete "$INSTDIR\x86\sendnote.dll"
    Delete "$INSTDIR\x86\sendnote.chm"
    Delete "$INSTDIR\x64\sendnote.dll"
    Delete "$INSTDIR\x64\sendnote.chm"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR\x86"
    RMDir "$INSTDIR\x64"
    RMDir "$INSTDIR"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  FunctionEnd
!macroend
!insertmacro RemoveFiles ""
!insertmacro RemoveFiles "un."

!macro OutlookBitness ROOT VERSION
  ${If} $0 == ""
    ReadRegStr $0 ${ROOT} "Software\Microsoft\Office\${VERSION}\Outlook" "Bitness"
    ${If} $0 != "x86"
    ${AndIf} $0 != "x64"
      StrCpy $0 ""
    ${EndIf}
  ${EndIf}
!macroend

!macro OldOutlook VERSION
  ${If} $0 == ""
    ReadRegStr $1 HKLM "Software\Microsoft\Office\${VERSION}\Outlook\InstallRoot" "Path"
    ${IfThen} $1 != "" ${|} StrCpy $0 "x86" ${|}
  ${EndIf}
!macroend

; The bitness of the installed Outlook into $OfficeBitness, for the report only (both builds
; are registered whatever it says, and Microsoft advises add-ins not to rely on Office's
; registry keys: "Development best practices for COM, VSTO and VBA add-ins in Office"):
; the "Bitness" value Office 2010 and later write (per user or per machine, in either
; registry view); Click-to-Run's Configuration\Platform (x86 or x64), which often stands
; alone; an Outlook 2000 to 2007 is 32-bit only. A 32-bit Windows runs 32-bit Office only.
Function OfficeBitness
  StrCpy $0 ""
  ${IfNot} ${RunningX64}
    StrCpy $0 "x86"
  ${EndIf}
  !insertmacro OutlookBitness HKCU 16.0
  !insertmacro OutlookBitness HKCU 15.0
  !insertmacro OutlookBitness HKCU 14.0
  SetRegView 64
  !insertmacro OutlookBitness HKLM 16.0
  !insertmacro OutlookBitness HKLM 15.0
  !insertmacro OutlookBitness HKLM 14.0
  ${If} $0 == ""
    ReadRegStr $0 HKLM "Software\Microsoft\Office\ClickToRun\Configuration" "Platform"
    ${If} $0 != "x86"
    ${AndIf} $0 != "x64"
      StrCpy $0 ""
    ${EndIf}
  ${EndIf}
  SetRegView 32
  !insertmacro OutlookBitness HKLM 16.0
  !insertmacro OutlookBitness HKLM 15.0
  !insertmacro OutlookBitness HKLM 14.0
  !insertmacro OldOutlook 12.0
  !insertmacro OldOutlook 11.0
  !insertmacro OldOutlook 10.0
  !insertmacro OldOutlook 9.0
  SetRegView lastused
  ${IfThen} $0 == "" ${|} StrCpy $0 "unknown" ${|}
  StrCpy $OfficeBitness $0
FunctionEnd

; Whether this process may install for all users: $0 = "Admin" when it runs with
; administrator rights (UserInfo reads the token; a user's filtered token under User
; Account Control is no administrator's). A test build injects the answer with
; -DTEST_ACCOUNT_TYPE=..., as Wine cannot withhold the rights.
!macro AccountType
  !ifdef TEST_ACCOUNT_TYPE
    StrCpy $0 "${TEST_ACCOUNT_TYPE}"
  !else
    UserInfo::GetAccountType
    Pop $0
  !endif
!macroend

; Refuses an installation for all users without administrator rights, before anything is
; written: exit code 4.
!macro RequireAdministrator un
  Function ${un}RequireAdministrator
    !insertmacro AccountType
    ${If} $0 != "Admin"
      MessageBox MB_OK|MB_ICONSTOP \
        "すべてのユーザー用のインストール (/ALLUSERS) には管理者の権限が必要です。管理者として実行してください。" \
        /SD IDOK
      SetErrorLevel 4
      Quit
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro RequireAdministrator ""
!insertmacro RequireAdministrator "un."

Function .onInit
  StrCpy $AllUsers ""
  StrCpy $RegScope ""
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    Call RequireAdministrator
    StrCpy $AllUsers "1"
    StrCpy $RegScope "/n /i:allusers"
    SetShellVarContext all
    ${If} ${RunningX64}
      StrCpy $INSTDIR "$PROGRAMFILES64\sendnote"
    ${Else}
      StrCpy $INSTDIR "$PROGRAMFILES\sendnote"
    ${EndIf}
  ${EndIf}
FunctionEnd

; The uninstaller removes what its installation's scope wrote: for all users when the
; machine's Add/Remove Programs entry names its folder.
Function un.onInit
  StrCpy $AllUsers ""
  StrCpy $RegScope ""
  ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R0 == $INSTDIR
    Call un.RequireAdministrator
    StrCpy $AllUsers "1"
    StrCpy $RegScope "/n /i:allusers"
    SetShellVarContext all
  ${EndIf}
FunctionEnd

; Registers the x86 build and, on 64-bit Windows, the x64 build; $3 = the first failing
; exit code, or 0. (Windows keeps the two apart; Wine keeps one per-user class view, where
; the one registered last, the x64 build, is the one found.)
Function RegisterBoth
  StrCpy $1 ""
  StrCpy $0 "x86"
  Call RunRegsvr
  StrCpy $3 $2
  ${If} $3 == 0
  ${AndIf} ${RunningX64}
    StrCpy $0 "x64"
    Call RunRegsvr
    StrCpy $3 $2
  ${EndIf}
FunctionEnd

Section "sendnote"
  Call WaitForOutlookClosed
  ; An earlier installation's registration, in whichever view, goes first.
  Call UnregisterBoth

  SetOutPath "$INSTDIR\x86"
  File "${X86_DIR}\sendnote.dll"
  File "${X86_DIR}\sendnote.chm"
  SetOutPath "$INSTDIR\x64"
  File "${X64_DIR}\sendnote.dll"
  File "${X64_DIR}\sendnote.chm"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  Call OfficeBitness
  DetailPrint "Outlook のビット数 (レジストリによる): $OfficeBitness"
  Call RegisterBoth
  ${If} $3 != 0
    ; Nothing half-installed stays behind.
    Call UnregisterBoth
    Call RemoveFiles
    MessageBox MB_OK|MB_ICONSTOP \
      "アドインを登録できませんでした (regsvr32: $3)。インストールを取り消しました。" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\x86\sendnote.dll,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "OfficeBitness" "$OfficeBitness"
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Call un.WaitForOutlookClosed
  ; Unregistered first: files that are gone while Outlook still finds the add-in would
  ; leave it a broken entry. A failure keeps everything, so that the user can try again.
  Call un.UnregisterBoth
  ${If} $3 != 0
    MessageBox MB_OK|MB_ICONSTOP \
      "アドインの登録を解除できませんでした (regsvr32: $3)。ファイルは削除していません。" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  Call un.RemoveFiles
SectionEnd
