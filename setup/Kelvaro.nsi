; The setup program: a wizard (welcome, destination folder, progress, finish with "Run Kelvaro") that
; installs Kelvaro.exe and its help file, a Start menu folder and an Add/Remove Programs entry, and an
; uninstaller that removes exactly what setup made (and the start-up shortcut when it is the program's
; own), keeping the user's rules, options and deletion record unless asked to remove them.
;   makensis -DVERSION=1.0.0 -DPROGRAM_DIR=<folder with Kelvaro.exe, Kelvaro.hlp> -DICON=<.ico>
;            -DOUTFILE=<setup .exe> Kelvaro.nsi
; Silent: KelvaroSetup-<version>.exe /S [/D=folder]; uninstall: Uninstall.exe /S.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!ifndef VERSION
    !error "VERSION must be given: -DVERSION=1.0.0"
!endif
!ifndef PROGRAM_DIR
    !error "PROGRAM_DIR must be given: the folder holding Kelvaro.exe and Kelvaro.hlp"
!endif
!ifndef ICON
    !error "ICON must be given: the program's .ico"
!endif
!ifndef OUTFILE
    !error "OUTFILE must be given: the setup program to write"
!endif

!define PRODUCT "Kelvaro"
!define PUBLISHER "Tarnwell"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvaro"
!define SETTINGS_KEY "Software\Tarnwell\Kelvaro"
; The main window's class, and the name of the shortcut the program puts into the Startup folder.
!define WINDOW_CLASS "TForm1"
!define STARTUP_LINK "Kelvaro.lnk"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Setup will install ${PRODUCT} ${VERSION}, the rule-based file cleaner, on this computer.$\r$\n$\r$\nYour search rules and options are kept if an earlier version is installed.$\r$\n$\r$\nClick Next to continue."
; The progress page stays until Next, with what was done.
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_UNFINISHPAGE_NOAUTOCLOSE
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Run ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION RunProgram

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Asks every running Kelvaro to close, as its close box would: a run stops, a delete finishes its file
; first. Nothing is ever killed. Leaves setup (exit code 2) when the user cancels, or in silent mode when a
; copy is still running after waiting.
!macro CLOSE_RUNNING_PROGRAM un
Function ${un}FindRunningProgram
    ; $R0: the first visible top-level window of the class that belongs to a Kelvaro.exe, or 0.
    StrCpy $R0 0
    StrCpy $R1 0
    ${Do}
        FindWindow $R1 "${WINDOW_CLASS}" "" "" $R1
        ${If} $R1 = 0
            ${Break}
        ${EndIf}
        System::Call 'user32::GetWindowThreadProcessId(p $R1, *i .R2)'
        System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i $R2) p .R3'
        ${If} $R3 P<> 0
            StrCpy $R4 ""
            System::Call 'kernel32::QueryFullProcessImageNameW(p $R3, i 0, w .R4, *i ${NSIS_MAX_STRLEN})'
            System::Call 'kernel32::CloseHandle(p $R3)'
            ${GetFileName} "$R4" $R5
            ${If} $R5 == "Kelvaro.exe"
                StrCpy $R0 $R1
                ${Break}
            ${EndIf}
        ${EndIf}
    ${Loop}
FunctionEnd

Function ${un}CloseRunningProgram
    Call ${un}FindRunningProgram
    ${If} $R0 = 0
        Return
    ${EndIf}
    MessageBox MB_OKCANCEL|MB_ICONINFORMATION "${PRODUCT} is running. Setup will ask it to close before going on.$\r$\n$\r$\nA delete under way finishes its current file first; nothing is interrupted." /SD IDOK IDOK ask
    SetErrorLevel 2
    Quit
ask:
    ; Each copy is asked in turn; one that is deleting closes when its delete has ended.
    StrCpy $R6 0
    ${Do}
        Call ${un}FindRunningProgram
        ${If} $R0 = 0
            Return
        ${EndIf}
        System::Call 'user32::PostMessageW(p $R0, i 0x0010, p 0, p 0)'
        Sleep 250
        IntOp $R6 $R6 + 1
        ${If} $R6 >= 120
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is still running, perhaps deleting files or asking a question.$\r$\n$\r$\nClose it, then click Retry; or click Cancel to leave setup." /SD IDCANCEL IDRETRY retry
            SetErrorLevel 2
            Quit
        retry:
            StrCpy $R6 0
        ${EndIf}
    ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_PROGRAM ""
!insertmacro CLOSE_RUNNING_PROGRAM "un."

Function .onInit
    SetShellVarContext all
FunctionEnd

Function RunProgram
    ; The help file is found from the working folder.
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\Kelvaro.exe"'
FunctionEnd

Section "Kelvaro"
    Call CloseRunningProgram
    SetOutPath "$INSTDIR"
    File "${PROGRAM_DIR}\Kelvaro.exe"
    File "${PROGRAM_DIR}\Kelvaro.hlp"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; Shortcuts start in the program's folder, where the help file is.
    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Kelvaro.exe" "" "$INSTDIR\Kelvaro.exe" 0
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk" "$INSTDIR\Kelvaro.hlp"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Kelvaro.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
    SetShellVarContext all
FunctionEnd

; The start-up shortcut goes only when it is the one the program made for this installation: its name,
; "-a", and this folder's Kelvaro.exe as its target.
Function un.RemoveStartupShortcut
    SetShellVarContext current
    StrCpy $R7 "$SMSTARTUP\${STARTUP_LINK}"
    SetShellVarContext all
    IfFileExists "$R7" 0 done
    StrCpy $R8 ""
    StrCpy $R9 ""
    ; CLSID_ShellLink, IID_IShellLinkW, IID_IPersistFile
    System::Call 'ole32::CoCreateInstance(g "{00021401-0000-0000-C000-000000000046}", p 0, i 1, g "{000214F9-0000-0000-C000-000000000046}", *p .r1) i .r0'
    ${If} $0 = 0
        System::Call '$1->0(g "{0000010b-0000-0000-C000-000000000046}", *p .r2) i .r0'
        ${If} $0 = 0
            System::Call '$2->5(w R7, i 0) i .r0'
            ${If} $0 = 0
                System::Call '$1->3(w .R8, i ${NSIS_MAX_STRLEN}, p 0, i 0)'
                System::Call '$1->10(w .R9, i ${NSIS_MAX_STRLEN})'
            ${EndIf}
            System::Call '$2->2()'
        ${EndIf}
        System::Call '$1->2()'
    ${EndIf}
    ${If} $R8 == "$INSTDIR\Kelvaro.exe"
    ${AndIf} $R9 == "-a"
        Delete "$R7"
    ${Else}
        DetailPrint "Kept $R7: it does not start this installation's ${PRODUCT}."
    ${EndIf}
done:
FunctionEnd

Section "Uninstall"
    Call un.CloseRunningProgram
    Call un.RemoveStartupShortcut
    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"
    Delete "$INSTDIR\Kelvaro.exe"
    Delete "$INSTDIR\Kelvaro.hlp"
    ; What the help engine writes beside a help file it has shown.
    Delete "$INSTDIR\Kelvaro.gid"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"

    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Remove your ${PRODUCT} search rules, options and deletion record too?$\r$\n$\r$\nChoose No to keep them for a later installation." /SD IDNO IDNO kept
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\${PUBLISHER}"
    SetShellVarContext current
    Delete "$APPDATA\${PRODUCT}\Kelvaro.log"
    Delete "$APPDATA\${PRODUCT}\Kelvaro.log.1"
    RMDir "$APPDATA\${PRODUCT}"
    SetShellVarContext all
kept:
SectionEnd
