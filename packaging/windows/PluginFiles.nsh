; Quane - polyphonic wavetable synthesiser
; SPDX-License-Identifier: GPL-3.0-or-later
; The plug-in files: written beside their place and moved over it, so that a host never finds a
; half-written DLL; removed again with their bundle's folders and the folder an install made.
;
; Per plug-in, the registry values under ${PRODUCT_KEY} are <value>, the folder it went into, and
; <value>Created, 1 when an install made that folder (only then is the folder removed again).

!define MOVEFILE_REPLACE_EXISTING 0x1
!define MOVEFILE_DELAY_UNTIL_REBOOT 0x4
!define MOVEFILE_WRITE_THROUGH 0x8

Var PluginValue   ; the registry value of the plug-in at hand (Vst2Folder64, Vst2Folder32, Vst3Folder)
Var PluginFolder  ; the folder it goes into
Var PluginFile    ; its file, relative to that folder (inside a bundle for the VST3)
Var FolderCreated ; 1 when an install made PluginFolder

; Puts SOURCE into FOLDER as FILE and records the folder under VALUE. An earlier install's copy
; in another folder is removed, so hosts find one copy.
!macro InstallPlugin VALUE FOLDER FILE SOURCE
    StrCpy $PluginValue "${VALUE}"
    StrCpy $PluginFolder "${FOLDER}"
    StrCpy $PluginFile "${FILE}"
    Call PreparePluginFolder
    ClearErrors
    File "/oname=$PluginFolder\$PluginFile.new" "${SOURCE}"
    Call MovePluginIntoPlace
    Call RecordPluginFolder
!macroend

Function PreparePluginFolder
    ReadRegStr $0 HKLM "${PRODUCT_KEY}" $PluginValue
    ReadRegDWORD $1 HKLM "${PRODUCT_KEY}" "$PluginValueCreated"
    StrCpy $FolderCreated 0
    ${If} $0 == $PluginFolder
        IntOp $FolderCreated $1 + 0
    ${ElseIfNot} ${FileExists} "$PluginFolder\*.*"
        StrCpy $FolderCreated 1
    ${EndIf}
    ${GetParent} "$PluginFolder\$PluginFile" $2
    CreateDirectory $2
FunctionEnd

; Moves FILE.new over FILE in one step. Windows refuses while a running host has FILE loaded:
; the user closes the host and retries, or lets Windows replace the file when it restarts next.
Function MovePluginIntoPlace
    StrCpy $0 "$PluginFolder\$PluginFile"
    ${If} ${Errors}
        Delete "$0.new"
        Push "Setup could not write $0.$\n$\nThe disk may be full, or Windows does not let Setup write to that folder."
        Call Fail
    ${EndIf}
    ; A read-only earlier copy would refuse to be replaced.
    SetFileAttributes $0 NORMAL
    retry:
    System::Call 'kernel32::MoveFileExW(w "$0.new", w "$0", i ${MOVEFILE_REPLACE_EXISTING}|${MOVEFILE_WRITE_THROUGH}) i .r1'
    IntCmp $1 0 0 done done
    MessageBox MB_ABORTRETRYIGNORE|MB_ICONEXCLAMATION "$0 is in use, most likely by a music program that has loaded it.$\n$\nClose that program and choose Retry. Ignore replaces the file when Windows restarts next; Abort stops Setup." /SD IDIGNORE IDRETRY retry IDIGNORE later
    Delete "$0.new"
    Push "Setup stopped: $0 is in use by a running program."
    Call Fail
    later:
    System::Call 'kernel32::MoveFileExW(w "$0.new", w "$0", i ${MOVEFILE_REPLACE_EXISTING}|${MOVEFILE_DELAY_UNTIL_REBOOT}) i .r1'
    ${If} $1 = 0
        Delete "$0.new"
        Push "Setup could not replace $0, which is in use, nor arrange to replace it when Windows restarts."
        Call Fail
    ${EndIf}
    SetRebootFlag true
    Push "$0 is in use: it is replaced when Windows restarts next."
    Call Report
    done:
FunctionEnd

Function RecordPluginFolder
    ReadRegStr $0 HKLM "${PRODUCT_KEY}" $PluginValue
    ReadRegDWORD $1 HKLM "${PRODUCT_KEY}" "$PluginValueCreated"
    ${If} $0 != ""
    ${AndIf} $0 != $PluginFolder
        IntOp $1 $1 + 0
        Push $0
        Push $PluginFile
        Push $1
        Call RemovePluginFile
    ${EndIf}
    WriteRegStr HKLM "${PRODUCT_KEY}" $PluginValue $PluginFolder
    WriteRegDWORD HKLM "${PRODUCT_KEY}" "$PluginValueCreated" $FolderCreated
FunctionEnd

; Stack: FOLDER, FILE, CREATED. Removes FOLDER\FILE (and a FILE.new an interrupted install left), the
; bundle's folders up to FOLDER, and FOLDER when CREATED is 1; a folder is removed only when empty.
; A file a running host holds goes when Windows restarts next, and the folders with it.
!macro RemovePluginFileFunction UN
Function ${UN}RemovePluginFile
    Pop $2
    Pop $1
    Pop $0
    Delete "$0\$1.new"
    Delete /REBOOTOK "$0\$1"
    ${${UN}GetParent} "$0\$1" $3
    ${Do}
        ${If} $3 == $0
        ${OrIf} $3 == ""
            ${ExitDo}
        ${EndIf}
        !insertmacro RemoveFolderAfter "$0\$1" $3
        ${${UN}GetParent} $3 $3
    ${Loop}
    ${If} $2 = 1
        !insertmacro RemoveFolderAfter "$0\$1" $0
    ${EndIf}
FunctionEnd
!macroend

; Removes FOLDER when empty: now, or after the restart that removes FILE, when FILE is still there.
!macro RemoveFolderAfter FILE FOLDER
    ${If} ${FileExists} "${FILE}"
        RMDir /REBOOTOK "${FOLDER}"
    ${Else}
        RMDir "${FOLDER}"
    ${EndIf}
!macroend
!insertmacro RemovePluginFileFunction ""
!insertmacro RemovePluginFileFunction "un."

; Removes what an install recorded under VALUE.
!macro UninstallPlugin VALUE FILE
    ReadRegStr $0 HKLM "${PRODUCT_KEY}" ${VALUE}
    ReadRegDWORD $1 HKLM "${PRODUCT_KEY}" "${VALUE}Created"
    ${If} $0 != ""
        IntOp $1 $1 + 0
        Push $0
        Push "${FILE}"
        Push $1
        Call un.RemovePluginFile
    ${EndIf}
!macroend
