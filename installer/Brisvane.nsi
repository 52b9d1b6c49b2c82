; The Windows installer of Brisvane. scripts/package.sh builds it with Debian's makensis:
;   makensis -DVERSION=1.0.5.3 -DEXE_X64=... -DEXE_X86=... -DREPORT_X64=... -DREPORT_X86=...
;            -DREADME=... -DLICENSE=... -DBUILDINFO=... -DICON=...
;            -DOUTFILE=... [-DSIGN_FILE=scripts/sign-file.sh] installer/Brisvane.nsi
; One 32-bit installer for both kinds of Windows; it puts the 64-bit program on 64-bit Windows.
; It installs for the current user without elevation, under %LOCALAPPDATA%\Programs\Brisvane,
; or for all users under Program Files when it runs elevated or is given /ALLUSERS (which asks
; for elevation). /S installs silently; /D=FOLDER (last) picks the folder.

!ifndef VERSION | EXE_X64 | EXE_X86 | REPORT_X64 | REPORT_X86 | README | LICENSE | BUILDINFO | ICON | OUTFILE
!error "package.sh passes VERSION, EXE_X64, EXE_X86, REPORT_X64, REPORT_X86, README, LICENSE, BUILDINFO, ICON and OUTFILE"
!endif

Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; The same bytes from every build of one commit: no file times stored, so the installed files
; get the time of their installation.
SetDateSave off

; Signed when package.sh signs: the uninstaller as makensis writes it, before it goes into the
; installer, then the installer.
!ifdef SIGN_FILE
!uninstfinalize 'bash "${SIGN_FILE}" "%1"' = 0
!finalize 'bash "${SIGN_FILE}" "%1"' = 0
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh
!include x64.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define PUBLISHER "the Brisvane developers"
!define COPYRIGHT "Copyright (C) 2026 the Brisvane developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brisvane"
; The value the program's own "Start with Windows" item writes too: the quoted exe, then /s.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Brisvane"
!define MAIN_WINDOW_CLASS "BrisvaneAtl_class"
; An empty file beside the installed exe: it tells the program to keep its data in
; %APPDATA%\Brisvane, never in the program folder, which the uninstaller removes.
!define MARKER "Brisvane.installed"

; How long a running Brisvane gets to save and end: tries of one WM_CLOSE and a short wait.
!define CLOSE_TRIES 40
!define CLOSE_TRY_MS 250
!define EXIT_WAIT_MS 10000

!define SYNCHRONIZE 0x00100000
!define TOKEN_QUERY 0x0008
!define TOKEN_ELEVATION_CLASS 20
!define SEE_MASK_NOCLOSEPROCESS 0x40
!define SEE_MASK_NOASYNC 0x100
!define RELAUNCHED_SWITCH "/ELEVATED"

Name "Brisvane ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "Brisvane ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "Brisvane"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"
VIAddVersionKey /LANG=1033 "FileDescription" "Brisvane setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"

Var AllUsers          ; 1: installed for all users, under Program Files
Var EndedRunningCopy  ; 1: a running Brisvane was ended to replace it
Var UserData          ; the uninstalling user's data folder, %APPDATA%\Brisvane

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_COMPONENTSPAGE_TEXT_TOP "$(TextComponentsTop)"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Brisvane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(TextRun)"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "$(TextUnComponentsTop)"
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!include "${__FILEDIR__}/Languages.nsh"

; What the installer and the uninstaller both do; the uninstaller's copies carry "un.".
!macro SHARED_FUNCTIONS UN

; $0 = 1 when this process runs with full administrator rights.
Function ${UN}IsElevated
    StrCpy $0 0
    System::Call 'kernel32::GetCurrentProcess() p .r1'
    System::Call 'advapi32::OpenProcessToken(p r1, i ${TOKEN_QUERY}, *p .r1) i .r2'
    ${If} $2 != 0
        System::Call 'advapi32::GetTokenInformation(p r1, i ${TOKEN_ELEVATION_CLASS}, *i .r3, i 4, *i .r4) i .r2'
        ${If} $2 != 0
        ${AndIf} $3 != 0
            StrCpy $0 1
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
FunctionEnd

; Runs $R0 with the parameters $R1 elevated (Windows asks the user), waits for it and leaves
; its exit code in $0; 1 when it could not start.
Function ${UN}RunElevated
    StrCpy $0 1
    System::Call '*(&l4, i ${SEE_MASK_NOCLOSEPROCESS}|${SEE_MASK_NOASYNC}, p $HWNDPARENT, w "runas", w R0, w R1, p 0, i ${SW_SHOWNORMAL}, p, p, p, p, i, p, p) p .r1'
    System::Call 'shell32::ShellExecuteExW(p r1) i .r2'
    ${If} $2 != 0
        System::Call '*$1(i, i, p, p, p, p, p, i, p, p, p, p, i, p, p .r3)'
        ${If} $3 != 0
            System::Call 'kernel32::WaitForSingleObject(p r3, i -1)'
            System::Call 'kernel32::GetExitCodeProcess(p r3, *i .r0)'
            System::Call 'kernel32::CloseHandle(p r3)'
        ${EndIf}
    ${EndIf}
    System::Free $1
FunctionEnd

; When this process is not elevated, runs the program $R0 again elevated with this process's
; parameters and ends with its exit code; a second run that is still not elevated gives up.
Function ${UN}BecomeElevated
    Call ${UN}IsElevated
    ${If} $0 == 1
        Return
    ${EndIf}
    ${GetParameters} $R1
    ClearErrors
    ${GetOptions} $R1 "${RELAUNCHED_SWITCH}" $R2
    ${IfNot} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "$(TextNeedsAdmin)" /SD IDOK
        SetErrorLevel 740
        Quit
    ${EndIf}
    StrCpy $R1 "${RELAUNCHED_SWITCH} $R1"
    Call ${UN}RunElevated
    SetErrorLevel $0
    Quit
FunctionEnd

; Ends a running Brisvane politely, so that it saves its counters and frees its exe: a
; visible window only hides at WM_CLOSE, a hidden one saves and ends the program. So WM_CLOSE
; goes again until the window is gone, then the process gets time to end. $EndedRunningCopy
; is 1 when one was ended. One that does not end stops the (un)installation, unless the user
; ends it and retries.
Function ${UN}EndRunningBrisvane
    StrCpy $EndedRunningCopy 0
retry:
    FindWindow $1 "${MAIN_WINDOW_CLASS}"
    ${If} $1 == 0
        Return
    ${EndIf}
    DetailPrint "$(TextClosing)"
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2)'
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r2) p .r3'
    StrCpy $4 0
    ${Do}
        FindWindow $1 "${MAIN_WINDOW_CLASS}"
        ${If} $1 == 0
            ${ExitDo}
        ${EndIf}
        System::Call 'user32::PostMessageW(p r1, i ${WM_CLOSE}, p 0, p 0)'
        ${If} $3 != 0
            System::Call 'kernel32::WaitForSingleObject(p r3, i ${CLOSE_TRY_MS})'
        ${Else}
            Sleep ${CLOSE_TRY_MS}
        ${EndIf}
        IntOp $4 $4 + 1
    ${LoopUntil} $4 >= ${CLOSE_TRIES}
    StrCpy $5 0
    ${If} $3 != 0
        System::Call 'kernel32::WaitForSingleObject(p r3, i ${EXIT_WAIT_MS}) i .r5'
        System::Call 'kernel32::CloseHandle(p r3)'
    ${EndIf}
    FindWindow $1 "${MAIN_WINDOW_CLASS}"
    ${If} $1 != 0
    ${OrIf} $5 != 0
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(TextStillRunning)" /SD IDCANCEL IDRETRY retry
        Abort "$(TextStillRunningAbort)"
    ${EndIf}
    StrCpy $EndedRunningCopy 1
FunctionEnd

; Removes the Run entry when it starts the Brisvane in $INSTDIR; one that starts another copy
; (a portable one) is the user's and stays.
Function ${UN}ForgetRunEntry
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    StrCpy $1 '"$INSTDIR\Brisvane.exe"'
    StrLen $2 $1
    StrCpy $3 $0 $2
    ${If} $3 == $1
        DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
FunctionEnd

!macroend
!insertmacro SHARED_FUNCTIONS ""
!insertmacro SHARED_FUNCTIONS "un."

Section "Brisvane" SecProgram
    SectionIn RO
    Call EndRunningBrisvane
    SetOutPath "$INSTDIR"
    ${If} ${RunningX64}
        File "/oname=Brisvane.exe" "${EXE_X64}"
        File "/oname=brisvane-report.exe" "${REPORT_X64}"
    ${Else}
        File "/oname=Brisvane.exe" "${EXE_X86}"
        File "/oname=brisvane-report.exe" "${REPORT_X86}"
    ${EndIf}
    ; The report is called by its full path (see the README): the PATH is left alone.
    File "/oname=README.txt" "${README}"
    File "/oname=LICENSE.txt" "${LICENSE}"
    File "/oname=BUILDINFO.txt" "${BUILDINFO}"
    ClearErrors
    FileOpen $0 "$INSTDIR\${MARKER}" w
    ${If} ${Errors}
        Abort "$(TextMarkerFailed)"
    ${EndIf}
    FileClose $0
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Brisvane.lnk" "$INSTDIR\Brisvane.exe"

    ; The entry of "Apps and features" (SHCTX: the user's or the machine's, as installed).
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Brisvane"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Brisvane.exe"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "$(TextRunEntry)" SecRunEntry
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Brisvane.exe" /s'
SectionEnd

Section "-Finish"
    ${IfNot} ${SectionIsSelected} ${SecRunEntry}
        Call ForgetRunEntry
    ${EndIf}
    ; A silent upgrade brings back the copy it ended, in the tray; otherwise the last page
    ; offers to run it.
    ${If} $EndedRunningCopy == 1
    ${AndIf} ${Silent}
        Exec '"$INSTDIR\Brisvane.exe" /s'
    ${EndIf}
SectionEnd

Function .onInit
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
    ${GetParameters} $R1
    ClearErrors
    ${GetOptions} $R1 "/ALLUSERS" $R2
    ${IfNot} ${Errors}
        StrCpy $R0 "$EXEPATH"
        Call BecomeElevated
        StrCpy $AllUsers 1
    ${Else}
        Call IsElevated
        StrCpy $AllUsers $0
    ${EndIf}
    ${If} $AllUsers == 1
        SetShellVarContext all
    ${Else}
        SetShellVarContext current
    ${EndIf}

    ; An earlier installation: the same folder (unless /D names one), and its user's choice
    ; about starting with Windows as the Run entry shows it now.
    ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $INSTDIR == ""
        ${If} $1 != ""
            StrCpy $INSTDIR $1
        ${ElseIf} $AllUsers == 0
            StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Brisvane"
        ${ElseIf} ${RunningX64}
            StrCpy $INSTDIR "$PROGRAMFILES64\Brisvane"
        ${Else}
            StrCpy $INSTDIR "$PROGRAMFILES\Brisvane"
        ${EndIf}
    ${EndIf}
    ${If} $1 != ""
        ReadRegStr $2 HKCU "${RUN_KEY}" "${RUN_VALUE}"
        ${If} $2 == ""
            !insertmacro UnselectSection ${SecRunEntry}
        ${EndIf}
    ${EndIf}
FunctionEnd

Section "un.Brisvane" UnSecProgram
    SectionIn RO
    Call un.EndRunningBrisvane
    Delete "$INSTDIR\Brisvane.exe"
    Delete "$INSTDIR\brisvane-report.exe"
    Delete "$INSTDIR\${MARKER}"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\BUILDINFO.txt"
    Delete "$INSTDIR\uninstall.exe"
    ; Only when empty: whatever else lies there is not ours to delete.
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Brisvane.lnk"
    Call un.ForgetRunEntry
SectionEnd

Section /o "un.$(TextUnData)" UnSecData
    RMDir /r "$UserData"
SectionEnd

; Last, so that the entry stays while anything above is left to do.
Section "-un.Entry"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd

Function un.onInit
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
    ; The data is the user's own, also when the program was installed for all users.
    SetShellVarContext current
    StrCpy $UserData "$APPDATA\Brisvane"
    ; Installed for all users when the machine's entry names this folder.
    StrCpy $AllUsers 0
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $1 == $INSTDIR
        StrCpy $AllUsers 1
        StrCpy $R0 "$INSTDIR\uninstall.exe"
        Call un.BecomeElevated
        SetShellVarContext all
    ${Else}
        SetShellVarContext current
    ${EndIf}
FunctionEnd
