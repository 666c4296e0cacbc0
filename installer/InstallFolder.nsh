; Which folders the game may be installed into. The uninstaller deletes the
; whole folder it runs from, so a folder is refused when removing it could
; take anything but the game with it. These are the uninstaller's own rules
; (uninstall/SafeInstallFolder), here for the installer:
;  - a path that is not absolute, a drive root or a share root;
;  - a folder of the system or of a user's shell, of this user or of all
;    users (the lists in RefuseSystemFolders), or a folder that holds one,
;    such as C:\Users, which holds every profile;
;  - a folder that is a link (junction or symbolic link), or that lies
;    behind one in one of the places above.
; And one of the installer's: an existing folder that holds files but no
; earlier installation (neither the client nor its Config.ini), since those
; files would go with the game.
; A folder inside a listed one is fine: "C:\Program Files\Orvane Stormvale".
;
; CheckInstallFolder sets FolderVerdict for $INSTDIR: "" when it is fine,
; otherwise the message that says why it is not. A fine folder is put back
; into $INSTDIR in its full form, so that the uninstall entry names it
; plainly.

Var FolderVerdict
Var FolderCandidate

; The full, long form without a trailing backslash (a root keeps its own)
; and without a "\\?\" prefix: "c:\progra~1\x\.." becomes
; "C:\Program Files". Works on the stack top.
Function NormaliseFolder
  Exch $0
  Push $1
  Push $2
  StrCpy $1 $0 8
  StrCpy $2 $0 4
  ${If} $1 == "\\?\UNC\"
    StrCpy $0 $0 "" 8
    StrCpy $0 "\\$0"
  ${ElseIf} $2 == "\\?\"
    StrCpy $0 $0 "" 4
  ${EndIf}
  System::Call 'kernel32::GetFullPathNameW(w r0, i ${NSIS_MAX_STRLEN}, w .r1, p 0) i .r2'
  ${If} $2 > 0
    StrCpy $0 $1
  ${EndIf}
  System::Call 'kernel32::GetLongPathNameW(w r0, w .r1, i ${NSIS_MAX_STRLEN}) i .r2'
  ${If} $2 > 0
    StrCpy $0 $1
  ${EndIf}
  System::Call 'shlwapi::PathRemoveBackslashW(w r0 r0)'
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Refuses the candidate when it is the folder on the stack top or holds it
; (comparisons ignore case, as the file system does).
Function RefuseIfHolds
  Exch $0
  Push $1
  Push $2
  ${If} $0 != ""
  ${AndIf} $FolderVerdict == ""
    Push $0
    Call NormaliseFolder
    Pop $0
    StrLen $1 "$FolderCandidate\"
    StrCpy $2 $0 $1
    ${If} $0 == $FolderCandidate
    ${OrIf} $2 == "$FolderCandidate\"
      StrCpy $FolderVerdict "$(FolderProtected)"
    ${EndIf}
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

!macro RefuseIfHolds folder
  Push "${folder}"
  Call RefuseIfHolds
!macroend

!macro RefuseKnownFolder id
  System::Call 'shell32::SHGetKnownFolderPath(g "${id}", i ${KF_FLAG_DONT_VERIFY}, p 0, *p .r1) i .r2'
  ${If} $2 = 0
    System::Call '*$1(&w${NSIS_MAX_STRLEN} .r0)'
    System::Call 'ole32::CoTaskMemFree(p r1)'
    !insertmacro RefuseIfHolds $0
  ${EndIf}
!macroend

!macro RefuseSystemDirectory function
  System::Call 'kernel32::${function}(w .r0, i ${NSIS_MAX_STRLEN}) i .r1'
  ${If} $1 > 0
    !insertmacro RefuseIfHolds $0
  ${EndIf}
!macroend

!define /ifndef KF_FLAG_DONT_VERIFY 0x4000

!macro RefuseEnvironmentFolder name
  ReadEnvStr $0 ${name}
  !insertmacro RefuseIfHolds $0
!macroend

; Every folder the shell names (existing or not), the system's folders and
; the environment's names for them: the candidate must be none of them and
; hold none of them.
Function RefuseSystemFolders
  Push $0
  Push $1
  Push $2
  Push $3
  ; Every CSIDL, for this user and for all users.
  ${For} $3 0 127
    IntOp $2 $3 | ${CSIDL_FLAG_DONT_VERIFY}
    System::Call 'shell32::SHGetFolderPathW(p 0, i r2, p 0, i 0, w .r0) i .r1'
    ${If} $1 = 0
      !insertmacro RefuseIfHolds $0
    ${EndIf}
  ${Next}
  ; Known folders without a CSIDL.
  !insertmacro RefuseKnownFolder {374DE290-123F-4565-9164-39C4925E467B} ; Downloads
  !insertmacro RefuseKnownFolder {4C5C32FF-BB9D-43B0-B5B4-2D72E54EAAA4} ; Saved Games
  !insertmacro RefuseKnownFolder {BFB9D5E0-C6A9-404C-B2B2-AE6DB6AF4968} ; Links
  !insertmacro RefuseKnownFolder {56784854-C6CB-462B-8169-88E350ACB882} ; Contacts
  !insertmacro RefuseKnownFolder {DFDF76A2-C82A-4D63-906A-5644AC457385} ; Public
  !insertmacro RefuseKnownFolder {3D644C9B-1FB8-4F30-9B45-F670235F79C0} ; Public Downloads
  !insertmacro RefuseKnownFolder {0762D272-C50A-4BB0-A382-697DCD729B80} ; Users
  !insertmacro RefuseKnownFolder {A520A1A4-1780-4FF6-BD18-167343C5AF16} ; AppData\LocalLow
  !insertmacro RefuseKnownFolder {6D809377-6AF0-444B-8957-A3773F02200E} ; Program Files (x64)
  !insertmacro RefuseKnownFolder {7C5A40EF-A0FB-4BFC-874A-C0F2E0B9FA8E} ; Program Files (x86)
  !insertmacro RefuseKnownFolder {6365D5A7-0F0D-45E5-87F6-0DA56B6A4F7D} ; Common Files (x64)
  !insertmacro RefuseKnownFolder {DE974D24-D9C6-4D3E-BF91-F4455120B917} ; Common Files (x86)
  !insertmacro RefuseKnownFolder {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB} ; AppData\Local\Programs
  !insertmacro RefuseKnownFolder {A52BBA46-E9E1-435F-B3D9-28DAA648C0F6} ; OneDrive
  !insertmacro RefuseKnownFolder {62AB5D82-FDC1-4DC3-A9DD-070D1D495D97} ; ProgramData
  !insertmacro RefuseKnownFolder {5E6C858F-0E22-4760-9AFE-EA3317B67173} ; the profile
  !insertmacro RefuseKnownFolder {F38BF404-1D43-42F2-9305-67DE0B28FC23} ; Windows
  !insertmacro RefuseSystemDirectory GetWindowsDirectoryW
  !insertmacro RefuseSystemDirectory GetSystemWindowsDirectoryW
  !insertmacro RefuseSystemDirectory GetSystemDirectoryW
  !insertmacro RefuseSystemDirectory GetSystemWow64DirectoryW
  !insertmacro RefuseIfHolds $TEMP
  ; What the environment calls them.
  !insertmacro RefuseEnvironmentFolder ProgramFiles
  !insertmacro RefuseEnvironmentFolder ProgramFiles(x86)
  !insertmacro RefuseEnvironmentFolder ProgramW6432
  !insertmacro RefuseEnvironmentFolder CommonProgramFiles
  !insertmacro RefuseEnvironmentFolder CommonProgramFiles(x86)
  !insertmacro RefuseEnvironmentFolder CommonProgramW6432
  !insertmacro RefuseEnvironmentFolder SystemRoot
  !insertmacro RefuseEnvironmentFolder windir
  !insertmacro RefuseEnvironmentFolder USERPROFILE
  !insertmacro RefuseEnvironmentFolder PUBLIC
  !insertmacro RefuseEnvironmentFolder ALLUSERSPROFILE
  !insertmacro RefuseEnvironmentFolder ProgramData
  !insertmacro RefuseEnvironmentFolder APPDATA
  !insertmacro RefuseEnvironmentFolder LOCALAPPDATA
  !insertmacro RefuseEnvironmentFolder OneDrive
  !insertmacro RefuseEnvironmentFolder TEMP
  !insertmacro RefuseEnvironmentFolder TMP
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; The attributes of the folder's own entry (FindFirstFile: Wine shows a
; Unix link as a reparse point only there), or 0 when it does not exist.
Function EntryAttributes
  Exch $0
  Push $1
  Push $2
  System::Alloc 600  ; WIN32_FIND_DATAW
  Pop $1
  System::Call 'kernel32::FindFirstFileW(w r0, p r1) p .r2'
  StrCpy $0 0
  ${If} $2 P<> -1
    System::Call '*$1(i .r0)'
    System::Call 'kernel32::FindClose(p r2)'
  ${EndIf}
  System::Free $1
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Where the folder really lies once every link on its way is followed, or
; "" when it does not exist.
Function FinalFolder
  Exch $0
  Push $1
  Push $2
  ; 0x02000000: FILE_FLAG_BACKUP_SEMANTICS, which opens folders.
  System::Call 'kernel32::CreateFileW(w r0, i 0, i 7, p 0, i 3, i 0x02000000, p 0) p .r1'
  StrCpy $0 ""
  ${If} $1 P<> -1
    System::Call 'kernel32::GetFinalPathNameByHandleW(p r1, w .r0, i ${NSIS_MAX_STRLEN}, i 0) i .r2'
    System::Call 'kernel32::CloseHandle(p r1)'
    ${If} $2 = 0
    ${OrIf} $2 >= ${NSIS_MAX_STRLEN}
      StrCpy $0 ""
    ${EndIf}
  ${EndIf}
  ${If} $0 != ""
    Push $0
    Call NormaliseFolder
    Pop $0
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Judges $FolderCandidate (normalised) by the root and list rules.
Function JudgeCandidate
  Push $0
  System::Call 'shlwapi::PathIsRootW(w "$FolderCandidate") i .r0'
  ${If} $0 <> 0
    StrCpy $FolderVerdict "$(FolderProtected)"
  ${EndIf}
  Call RefuseSystemFolders
  Pop $0
FunctionEnd

Function CheckInstallFolder
  Push $0
  Push $1
  StrCpy $FolderVerdict ""

  StrCpy $0 $INSTDIR 2 1
  StrCpy $1 $INSTDIR 2
  ${If} $0 != ":\"
  ${AndIf} $1 != "\\"
    StrCpy $FolderVerdict "$(FolderProtected)"
  ${EndIf}
  Push $INSTDIR
  Call NormaliseFolder
  Pop $FolderCandidate
  Call JudgeCandidate

  ; A link shows the contents of its target, which are not ours to remove.
  Push $FolderCandidate
  Call EntryAttributes
  Pop $0
  IntOp $0 $0 & ${FILE_ATTRIBUTE_REPARSE_POINT}
  ${If} $0 <> 0
  ${AndIf} $FolderVerdict == ""
    StrCpy $FolderVerdict "$(FolderIsLink)"
  ${EndIf}
  ${If} $FolderVerdict == ""
    Push $FolderCandidate
    Call FinalFolder
    Pop $0
    ${If} $0 != ""
    ${AndIf} $0 != $FolderCandidate
      StrCpy $1 $FolderCandidate
      StrCpy $FolderCandidate $0
      Call JudgeCandidate
      StrCpy $FolderCandidate $1
    ${EndIf}
  ${EndIf}

  ${If} $FolderVerdict == ""
    ${DirState} $FolderCandidate $0
    ${If} $0 = 1
    ${AndIfNot} ${FileExists} "$FolderCandidate\${kClientExeName}"
    ${AndIfNot} ${FileExists} "$FolderCandidate\${kConfigFileName}"
      StrCpy $FolderVerdict "$(FolderOccupied)"
    ${EndIf}
  ${EndIf}
  ${If} $FolderVerdict == ""
    StrCpy $INSTDIR $FolderCandidate
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd
