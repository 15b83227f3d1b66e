; The per-user installer of sendnote.dll: both builds and the help file go into the
; user's local programs folder, and the build matching the installed Office's bitness is
; registered for the current user (its DllRegisterServer, through regsvr32).
; Built by scripts/build-installer.sh:
;   makensis -INPUTCHARSET UTF8 -DX86_DIR=... -DX64_DIR=... -DOUTFILE=... sendnote.nsi
Unicode true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; A file that cannot be written stops the installer instead of being skipped silently.
AllowSkipFiles off

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
; $0 = "x86" or "x64", $1 = "" to register or "/u"; leaves regsvr32's exit code in $2.
!macro RunRegsvr un
  Function ${un}RunRegsvr
    ClearErrors
    ${If} $0 == "x64"
      ${DisableX64FSRedirection}
      ExecWait '"$WINDIR\System32\regsvr32.exe" /s $1 "$INSTDIR\x64\sendnote.dll"' $2
      ${EnableX64FSRedirection}
    ${Else}
      ExecWait '"$SYSDIR\regsvr32.exe" /s $1 "$INSTDIR\x86\sendnote.dll"' $2
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
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
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

; The bitness of the installed Outlook into $0: the "Bitness" value Office 2010 and later
; write (per user or per machine, in either registry view); an Outlook 2000 to 2007 is
; 32-bit only; unknown, that of Windows. A 32-bit Windows runs 32-bit Office only.
Function OfficeBitness
  ${IfNot} ${RunningX64}
    StrCpy $0 "x86"
    Return
  ${EndIf}
  StrCpy $0 ""
  !insertmacro OutlookBitness HKCU 16.0
  !insertmacro OutlookBitness HKCU 15.0
  !insertmacro OutlookBitness HKCU 14.0
  SetRegView 64
  !insertmacro OutlookBitness HKLM 16.0
  !insertmacro OutlookBitness HKLM 15.0
  !insertmacro OutlookBitness HKLM 14.0
  SetRegView 32
  !insertmacro OutlookBitness HKLM 16.0
  !insertmacro OutlookBitness HKLM 15.0
  !insertmacro OutlookBitness HKLM 14.0
  !insertmacro OldOutlook 12.0
  !insertmacro OldOutlook 11.0
  !insertmacro OldOutlook 10.0
  !insertmacro OldOutlook 9.0
  SetRegView lastused
  ${IfThen} $0 == "" ${|} StrCpy $0 "x64" ${|}
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
  DetailPrint "Office: $0"
  StrCpy $1 ""
  Call RunRegsvr
  ${If} $2 != 0
    ; Nothing half-installed stays behind.
    Call UnregisterBoth
    Call RemoveFiles
    MessageBox MB_OK|MB_ICONSTOP \
      "アドインを登録できませんでした (regsvr32: $2)。インストールを取り消しました。" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\$0\sendnote.dll,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "OfficeBitness" "$0"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
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
