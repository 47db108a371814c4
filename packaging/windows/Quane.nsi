; Quane - polyphonic wavetable synthesiser
; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer: the 64- and 32-bit VST 2.x plug-ins and the 64-bit VST3, each where hosts
; look, the manual, and an uninstaller listed among the installed programs.
;
; Made by tools/make-windows-installer.sh, which passes PRODUCT, VENDOR, VERSION, STAGE (the folder
; of the files to install) and OUTFILE.
; Command line: /S installs silently; /VST2DIR64=<folder> and /VST2DIR32=<folder> choose the VST 2.x
; folders. Exit code 0 when installed, 2 when Setup stopped (and said why unless silent).

Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define PRODUCT_KEY "Software\${VENDOR}\${PRODUCT}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define VST3_FILE "${PRODUCT}.vst3\Contents\x86_64-win\${PRODUCT}.vst3"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; $PROGRAMFILES64 is $PROGRAMFILES on 32-bit Windows.
InstallDir "$PROGRAMFILES64\${VENDOR}\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "${PRODUCT}"
VIAddVersionKey CompanyName "${VENDOR}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "${PRODUCT} Setup"
VIAddVersionKey LegalCopyright "GPL-3.0-or-later"

!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh
!include FileFunc.nsh
!include x64.nsh
!include PluginFolders.nsh
!include PluginFiles.nsh

!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Setup installs ${PRODUCT} ${VERSION}, the ten-voice wavetable synthesiser by ${VENDOR}, as plug-ins for your music programs.$\r$\n$\r$\nClose your music programs before you go on: a plug-in that a running program has loaded cannot be replaced."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENCE.txt"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckFixedFolders
!insertmacro MUI_PAGE_COMPONENTS

!macro Vst2FolderPage BITS
    !define MUI_PAGE_HEADER_TEXT "${BITS}-bit VST 2.x plug-in folder"
    !define MUI_PAGE_HEADER_SUBTEXT "Where your ${BITS}-bit music programs look for VST 2.x plug-ins."
    !define MUI_DIRECTORYPAGE_TEXT_TOP "Setup puts the ${BITS}-bit Kolv.dll into this folder. Choose the folder your ${BITS}-bit music programs scan for VST 2.x plug-ins (their preferences name it); Setup remembers it for the next update."
    !define MUI_DIRECTORYPAGE_TEXT_DESTINATION "${BITS}-bit VST 2.x plug-in folder"
    !define MUI_DIRECTORYPAGE_VARIABLE $Vst2Folder${BITS}
    ; Next stays enabled, so that the leave function can say what is wrong with a folder.
    !define MUI_DIRECTORYPAGE_VERIFYONLEAVE
    !define MUI_PAGE_CUSTOMFUNCTION_PRE SkipUnlessVst2Folder${BITS}
    !define MUI_PAGE_CUSTOMFUNCTION_LEAVE LeaveVst2Folder${BITS}
    !insertmacro MUI_PAGE_DIRECTORY
!macroend
!insertmacro Vst2FolderPage 64
!insertmacro Vst2FolderPage 32

!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "${PRODUCT} is installed. Let your music programs scan for new plug-ins; ${PRODUCT} appears under ${VENDOR}."
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\manual.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Open the manual"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Stack: MESSAGE. Says what went wrong and stops Setup with exit code 2; nothing half-written is left
; where a host would load it.
Function Fail
    Exch $0
    DetailPrint $0
    MessageBox MB_OK|MB_ICONSTOP $0 /SD IDOK
    SetErrorLevel 2
    Pop $0
    Abort
FunctionEnd

; Stack: MESSAGE. Tells the user something Setup did differently.
Function Report
    Exch $0
    DetailPrint $0
    MessageBox MB_OK|MB_ICONINFORMATION $0 /SD IDOK
    Pop $0
FunctionEnd

Section "VST 2.x, 64-bit" SecVst2x64
    !insertmacro InstallPlugin Vst2Folder64 $Vst2Folder64 Kolv.dll "${STAGE}\64-bit\Kolv.dll"
SectionEnd

Section "VST 2.x, 32-bit" SecVst2x86
    !insertmacro InstallPlugin Vst2Folder32 $Vst2Folder32 Kolv.dll "${STAGE}\32-bit\Kolv.dll"
SectionEnd

Section "VST3, 64-bit" SecVst3
    !insertmacro InstallPlugin Vst3Folder "$COMMONFILES64\VST3" "${VST3_FILE}" "${STAGE}\${VST3_FILE}"
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecVst2x64} "Kolv.dll for 64-bit music programs that load VST 2.x plug-ins, in the folder you choose next."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecVst2x86} "Kolv.dll for 32-bit music programs that load VST 2.x plug-ins, in the folder you choose next."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecVst3} "${PRODUCT}.vst3 for 64-bit music programs that load VST3 plug-ins, in the VST3 folder of Common Files."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; TOTAL (kB) grows by SECTION's size when it is selected.
!macro AddSectionSize SECTION TOTAL
    ${If} ${SectionIsSelected} ${SECTION}
        SectionGetSize ${SECTION} $2
        IntOp ${TOTAL} ${TOTAL} + $2
    ${EndIf}
!macroend

; Always: the manual, the licence, the uninstaller and the entry among the installed programs.
Section "-Program entry"
    SetOutPath $INSTDIR
    File "${STAGE}\manual.html"
    File "${STAGE}\LICENCE.txt"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    WriteRegStr HKLM "${PRODUCT_KEY}" InstallFolder $INSTDIR
    WriteRegStr HKLM "${PRODUCT_KEY}" Version "${VERSION}"

    StrCpy $1 0
    !insertmacro AddSectionSize ${SecVst2x64} $1
    !insertmacro AddSectionSize ${SecVst2x86} $1
    !insertmacro AddSectionSize ${SecVst3} $1
    ${GetSize} $INSTDIR "/S=0K" $2 $3 $4
    IntOp $1 $1 + $2
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayName "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" Publisher "${VENDOR}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" EstimatedSize $1
    WriteRegStr HKLM "${UNINSTALL_KEY}" InstallLocation $INSTDIR
    WriteRegStr HKLM "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoModify 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoRepair 1
SectionEnd

!macro HideSection SECTION
    !insertmacro UnselectSection ${SECTION}
    !insertmacro SetSectionFlag ${SECTION} ${SF_RO}
    SectionSetText ${SECTION} ""
!macroend

Function .onInit
    ${If} ${RunningX64}
        SetRegView 64
        StrCpy $Vst2Folder64 "$PROGRAMFILES64\VSTPlugins"
    ${Else}
        ; 32-bit Windows runs only the 32-bit plug-in.
        !insertmacro HideSection ${SecVst2x64}
        !insertmacro HideSection ${SecVst3}
    ${EndIf}
    ; $PROGRAMFILES32 is C:\Program Files on 32-bit Windows, C:\Program Files (x86) on 64-bit.
    StrCpy $Vst2Folder32 "$PROGRAMFILES32\VSTPlugins"
    ReadRegStr $0 HKLM "${PRODUCT_KEY}" InstallFolder
    ${If} $0 != ""
        StrCpy $INSTDIR $0
    ${EndIf}
    !insertmacro RememberedFolder Vst2Folder64 $Vst2Folder64
    !insertmacro RememberedFolder Vst2Folder32 $Vst2Folder32
    !insertmacro FolderOption /VST2DIR64= $Vst2Folder64
    !insertmacro FolderOption /VST2DIR32= $Vst2Folder32
    ${If} ${Silent}
        Call CheckFixedFolders
        ${If} ${SectionIsSelected} ${SecVst2x64}
            Push $Vst2Folder64
            Call CheckFolderOrQuit
        ${EndIf}
        ${If} ${SectionIsSelected} ${SecVst2x86}
            Push $Vst2Folder32
            Call CheckFolderOrQuit
        ${EndIf}
        !insertmacro CheckVst2FoldersDiffer
        Call QuitOnFolderProblem
    ${EndIf}
FunctionEnd

; The folders the user does not choose: the VST3 folder and the program's own.
Function CheckFixedFolders
    ${If} ${SectionIsSelected} ${SecVst3}
        Push "$COMMONFILES64\VST3"
        Call CheckFolderOrQuit
    ${EndIf}
    Push $INSTDIR
    Call CheckFolderOrQuit
FunctionEnd

; Stack: FOLDER. Stops on a folder that cannot take files: Setup quits when silent, and otherwise
; says why and stays on its page.
Function CheckFolderOrQuit
    Call CheckFolder
    Call QuitOnFolderProblem
FunctionEnd

Function QuitOnFolderProblem
    ${If} $FolderProblem != ""
        MessageBox MB_OK|MB_ICONEXCLAMATION $FolderProblem /SD IDOK
        ${If} ${Silent}
            SetErrorLevel 2
            Quit
        ${EndIf}
        Abort
    ${EndIf}
FunctionEnd

!macro Vst2FolderPageFunctions BITS SECTION
    Function SkipUnlessVst2Folder${BITS}
        ${IfNot} ${SectionIsSelected} ${SECTION}
            Abort
        ${EndIf}
    FunctionEnd

    Function LeaveVst2Folder${BITS}
        !insertmacro TrimFolder $Vst2Folder${BITS}
        Push $Vst2Folder${BITS}
        Call CheckFolderOrQuit
        GetInstDirError $0
        ${If} $0 = 2
            StrCpy $FolderProblem "The drive of $Vst2Folder${BITS} has not enough free space left."
        ${EndIf}
        !insertmacro CheckVst2FoldersDiffer
        Call QuitOnFolderProblem
    FunctionEnd
!macroend
!insertmacro Vst2FolderPageFunctions 64 ${SecVst2x64}
!insertmacro Vst2FolderPageFunctions 32 ${SecVst2x86}

Function un.onInit
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
FunctionEnd

; Removes what the install recorded, and the folders it made when they are empty again.
Section Uninstall
    !insertmacro UninstallPlugin Vst2Folder64 Kolv.dll
    !insertmacro UninstallPlugin Vst2Folder32 Kolv.dll
    !insertmacro UninstallPlugin Vst3Folder "${VST3_FILE}"
    Delete "$INSTDIR\manual.html"
    Delete "$INSTDIR\LICENCE.txt"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir $INSTDIR
    ${un.GetParent} $INSTDIR $0
    RMDir $0
    DeleteRegKey HKLM "${PRODUCT_KEY}"
    DeleteRegKey /ifempty HKLM "Software\${VENDOR}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
