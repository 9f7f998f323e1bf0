; What the setup program and the uninstaller do beyond copying and removing files: CPack's NSIS template
; includes this file at its top (CPACK_NSIS_DEFINES) and calls the functions below from its sections
; (CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS, CPACK_NSIS_EXTRA_INSTALL_COMMANDS, CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS).

; A 64-bit setup program, as the programs are 64-bit: it installs into the 64-bit Program Files, writes the
; registry view that kestrin.exe reads, and runs where only 64-bit Windows programs do (Debian's wine64).
; Target must come before any section or function, as this include does.
Target amd64-unicode

!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh
!include WinMessages.nsh

!define KESTRIN_PROGRAM "bin\kestrin.exe"
!define KESTRIN_UNINSTALLER "Uninstall.exe"
!define KESTRIN_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrin"
; The value that the Options dialog's "Load at Startup" writes (startup/win32/RunKeyStartup.cpp): the
; program's path as it stands, unquoted, under the machine-wide Run key.
!define KESTRIN_RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define KESTRIN_RUN_VALUE "Kestrin"
; What the uninstaller leaves, and says it leaves.
!define KESTRIN_KEPT "settings (HKEY_CURRENT_USER\Software\Olvanta\Kestrin) and message history (%LOCALAPPDATA%\Olvanta\Kestrin)"
; Both programs keep a hidden top-level window of this class (qtcore/ShutdownSignals_win32.cpp) that says
; their goodbye to the network and ends them on WM_ENDSESSION, whatever box is open. The console client has
; no other window, and a WM_CLOSE to the main window would do nothing while a message box is open over it.
!define KESTRIN_WATCHER_CLASS "KestrinShutdownWatcher"
!define KESTRIN_ENDSESSION_CLOSEAPP 0x1
!define KESTRIN_SYNCHRONIZE 0x00100000
!define KESTRIN_CLOSE_WAIT_MS 10000

; The name and version where NSIS would show its own (CPACK_NSIS_BRANDING_TEXT always trims, which the
; Linux makensis refuses).
BrandingText "Kestrin ${VERSION}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_CUSTOMFUNCTION_GUIINIT KestrinChooseAutostart

; The one choice on the components page; KestrinAfterFiles does what it says, after the files are in place.
Section /o "Start Kestrin at logon" KestrinAutostart
SectionEnd

; Whether Kestrin starts at logon after this install: /AUTOSTART=1 or /AUTOSTART=0 on the command line
; decides; without it, what is set now stays (off on a first install), so that an update keeps the choice.
; Read before an installed version's uninstaller removes the value.
Function KestrinChooseAutostart
  Push $0
  Push $1
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTOSTART=" $1
  ${If} ${Errors}
    ReadRegStr $1 HKLM "${KESTRIN_RUN_KEY}" "${KESTRIN_RUN_VALUE}"
    ${If} $1 != ""
      StrCpy $1 1
    ${EndIf}
  ${EndIf}
  ${If} $1 == 1
    !insertmacro SelectSection ${KestrinAutostart}
  ${Else}
    !insertmacro UnselectSection ${KestrinAutostart}
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

; A running copy holds its files: it is asked to end as log-off asks it, and so says its goodbye to the
; network first. The desktop program and the console client may both run, so every copy is asked in turn.
; One that is still there after the wait stops the setup: a question in a window, exit code 2 in silent mode.
!macro KESTRIN_CLOSE_RUNNING prefix
Function ${prefix}KestrinCloseRunning
  Push $0
  Push $1
  Push $2
  Push $3
  next:
    FindWindow $0 "${KESTRIN_WATCHER_CLASS}"
    StrCmp $0 0 done
    DetailPrint "Closing the running Kestrin; it says goodbye to the network first"
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1) i"
    System::Call "kernel32::OpenProcess(i ${KESTRIN_SYNCHRONIZE}, i 0, i r1) p .r2"
    SendMessage $0 ${WM_QUERYENDSESSION} 0 ${KESTRIN_ENDSESSION_CLOSEAPP} /TIMEOUT=5000
    SendMessage $0 ${WM_ENDSESSION} 1 ${KESTRIN_ENDSESSION_CLOSEAPP} /TIMEOUT=5000
    ; Its files are free only when the process has ended, a moment after its window went.
    System::Call "kernel32::WaitForSingleObject(p r2, i ${KESTRIN_CLOSE_WAIT_MS}) i .r3"
    System::Call "kernel32::CloseHandle(p r2)"
    StrCmp $3 0 next
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Kestrin must be closed first.$\r$\n$\r$\nA running Kestrin did not end when asked. End it (Exit in its menu, or Ctrl+Q; Ctrl+C for kestrin-cli), then choose Retry." \
      /SD IDCANCEL IDRETRY next
    DetailPrint "Kestrin must be closed first"
    Abort "Kestrin must be closed first."
  done:
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro KESTRIN_CLOSE_RUNNING ""
!insertmacro KESTRIN_CLOSE_RUNNING "un."

; An installed version, wherever it is, goes first through its own uninstaller, so that no file it had and
; this one has not stays behind; the users' settings and history stay, as that uninstaller keeps them.
Function KestrinRemoveInstalledVersion
  Push $0
  Push $1
  Push $2
  ReadRegStr $0 HKLM "${KESTRIN_UNINSTALL_KEY}" "UninstallString"
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 -1 1
  ${EndIf}
  ${If} $0 != ""
  ${AndIf} ${FileExists} $0
    ${GetParent} $0 $1
    DetailPrint "Removing the version installed in $1 (settings and message history stay)"
    ; _?= runs it in place and waits for it; it cannot remove itself then.
    ClearErrors
    ExecWait '"$0" /S _?=$1' $2
    ${If} ${Errors}
    ${OrIf} $2 != 0
      DetailPrint "The installed version's uninstaller failed ($2); its files are overwritten"
    ${EndIf}
    Delete $0
    RMDir $1
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

Function KestrinBeforeFiles
  ; Program Files needs an administrator, and what the install writes is the machine's: the Start menu of
  ; all users and HKLM (CPack's sections write to SHCTX).
  SetShellVarContext all
  ${If} ${Silent}
    Call KestrinChooseAutostart
  ${EndIf}
  Call KestrinCloseRunning
  Call KestrinRemoveInstalledVersion
FunctionEnd

; The parts of the uninstall entry that CPack's template leaves out, and the logon choice.
Function KestrinAfterFiles
  Push $0
  Push $1
  Push $2
  WriteRegStr HKLM "${KESTRIN_UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${KESTRIN_UNINSTALLER}" /S'
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${KESTRIN_UNINSTALL_KEY}" "EstimatedSize" $0
  ${If} ${SectionIsSelected} ${KestrinAutostart}
    WriteRegStr HKLM "${KESTRIN_RUN_KEY}" "${KESTRIN_RUN_VALUE}" "$INSTDIR\${KESTRIN_PROGRAM}"
    DetailPrint "Kestrin starts at logon for every user"
  ${Else}
    DeleteRegValue HKLM "${KESTRIN_RUN_KEY}" "${KESTRIN_RUN_VALUE}"
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

Function un.KestrinBeforeRemoval
  ; Always the machine's: CPack's uninstaller deletes Software\Olvanta\Kestrin in SHCTX, which for a user
  ; who is no administrator would be that user's own settings.
  SetShellVarContext all
  Call un.KestrinCloseRunning
  Push $0
  Push $1
  ; The value goes when it starts this copy; one that the Options dialog of another copy (an unpacked zip)
  ; wrote still starts that one.
  ReadRegStr $0 HKLM "${KESTRIN_RUN_KEY}" "${KESTRIN_RUN_VALUE}"
  StrLen $1 "$INSTDIR\"
  StrCpy $0 $0 $1
  ${If} $0 == "$INSTDIR\"
    DeleteRegValue HKLM "${KESTRIN_RUN_KEY}" "${KESTRIN_RUN_VALUE}"
  ${EndIf}
  Pop $1
  Pop $0
  DetailPrint "Kept: each user's ${KESTRIN_KEPT}"
FunctionEnd

Function un.onUninstSuccess
  MessageBox MB_OK|MB_ICONINFORMATION \
    "Kestrin has been removed.$\r$\n$\r$\nEach user's ${KESTRIN_KEPT} were kept: Kestrin finds them when it is installed again. Delete them yourself if nobody needs them." \
    /SD IDOK
FunctionEnd
