; Quane - polyphonic wavetable synthesiser
; SPDX-License-Identifier: GPL-3.0-or-later
; The VST 2.x plug-in folders: their defaults, the folders an earlier install remembered, the
; command line's choice, and the checks that a folder can take the plug-in before anything is
; written.

Var Vst2Folder64
Var Vst2Folder32
Var FolderProblem ; what is wrong with a folder, in words; empty when nothing is

; Folders come without a trailing backslash, whatever the user typed.
!macro TrimFolder VAR
    ${DoWhile} "${VAR}" != ""
        StrCpy $0 "${VAR}" 1 -1
        ${If} $0 != "\"
            ${ExitDo}
        ${EndIf}
        StrCpy ${VAR} "${VAR}" -1
    ${Loop}
!macroend

; VAR takes the folder an earlier install recorded under VALUE, if any.
!macro RememberedFolder VALUE VAR
    ReadRegStr $0 HKLM "${PRODUCT_KEY}" ${VALUE}
    ${If} $0 != ""
        StrCpy ${VAR} $0
    ${EndIf}
!macroend

; VAR takes the folder the command line gives as OPTION<folder> (OPTION such as /VST2DIR64=), the
; whole argument or the folder quoted when the folder holds spaces.
!macro FolderOption OPTION VAR
    Push "${OPTION}"
    Call CommandLineOption
    Pop $0
    ${IfNot} ${Errors}
        StrCpy ${VAR} $0
        !insertmacro TrimFolder ${VAR}
    ${EndIf}
!macroend

; Stack: OPTION. Answers the option's value (without quotes), or sets the error flag when the
; command line lacks it. Windows' own parser splits the arguments, so quotes work as everywhere.
Function CommandLineOption
    Exch $R0
    Push $R1
    Push $R2
    Push $R3
    Push $R4
    Push $R5
    Push $R6
    Push $R7
    Push $R8
    StrLen $R1 $R0
    System::Call 'kernel32::GetCommandLineW() p .R5'
    System::Call 'shell32::CommandLineToArgvW(p R5, *i .R6) p .R7'
    StrCpy $R2 1 ; argument 0 is the program
    StrCpy $R4 "" ; the value
    StrCpy $R8 "" ; "found" once found
    ${While} $R2 < $R6
        IntOp $R3 $R2 * ${NSIS_PTR_SIZE}
        IntPtrOp $R3 $R7 + $R3
        System::Call '*$R3(p .R5)'
        System::Call 'kernel32::lstrcpynW(w .R5, p R5, i ${NSIS_MAX_STRLEN})'
        StrCpy $R3 $R5 $R1
        ${If} $R3 == $R0
            StrCpy $R4 $R5 "" $R1
            StrCpy $R8 found
        ${EndIf}
        IntOp $R2 $R2 + 1
    ${EndWhile}
    System::Call 'kernel32::LocalFree(p R7)'
    ; "C:\My Plugins" after the option's name is the folder C:\My Plugins.
    StrCpy $R3 $R4 1
    StrCpy $R2 $R4 1 -1
    ${If} $R3 == '"'
    ${AndIf} $R2 == '"'
        StrCpy $R4 $R4 -1 1
    ${EndIf}
    ClearErrors
    ${If} $R8 != found
        SetErrors
    ${EndIf}
    StrCpy $R0 $R4
    Pop $R8
    Pop $R7
    Pop $R6
    Pop $R5
    Pop $R4
    Pop $R3
    Pop $R2
    Pop $R1
    Exch $R0
FunctionEnd

; Stack: FOLDER. Sets FolderProblem to what keeps FOLDER from taking a plug-in, or to "". Nothing is
; created: the nearest folder that exists on the way takes a trial file, which goes again.
Function CheckFolder
    Exch $R0
    Push $R1
    Push $R2
    StrCpy $FolderProblem ""
    ${GetRoot} $R0 $R1
    ${If} $R1 == ""
        StrCpy $FolderProblem "$\"$R0$\" is not a full folder path: it must start with a drive, such as C:\."
    ${Else}
        StrCpy $R1 $R0
        ${DoUntil} ${FileExists} "$R1\*.*"
            ${If} ${FileExists} $R1
                StrCpy $FolderProblem "$R1 is a file, so it cannot hold the folder $R0."
                ${ExitDo}
            ${EndIf}
            ${GetParent} $R1 $R2
            ${If} $R2 == ""
                StrCpy $FolderProblem "The drive of $R0 does not exist."
                ${ExitDo}
            ${EndIf}
            StrCpy $R1 $R2
        ${Loop}
        ${If} $FolderProblem == ""
            ClearErrors
            FileOpen $R2 "$R1\quane-setup-trial.tmp" w
            ${If} ${Errors}
                ${GetRoot} $R1 $R2
                ${If} $R1 == $R2
                    StrCpy $R1 "$R1\" ; a drive reads with its backslash
                ${EndIf}
                StrCpy $FolderProblem "Windows does not let Setup write to $R1.$\n$\nChoose another folder, or start Setup again as an administrator."
            ${Else}
                FileClose $R2
                Delete "$R1\quane-setup-trial.tmp"
            ${EndIf}
        ${EndIf}
    ${EndIf}
    Pop $R2
    Pop $R1
    Pop $R0
FunctionEnd

; Both VST 2.x plug-ins are called Kolv.dll: they need folders of their own.
!macro CheckVst2FoldersDiffer
    ${If} ${SectionIsSelected} ${SecVst2x64}
    ${AndIf} ${SectionIsSelected} ${SecVst2x86}
    ${AndIf} $Vst2Folder64 == $Vst2Folder32
        StrCpy $FolderProblem "The 64-bit and the 32-bit plug-in cannot share the folder $Vst2Folder64: both files are called Kolv.dll, and a host loads only its own kind."
    ${EndIf}
!macroend
