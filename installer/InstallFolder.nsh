; Which folders the game may be installed into. The uninstaller deletes the
; whole folder it runs from, so a folder is refused when removing it would
; take anything but the game with it:
;  - a path that is not absolute, a drive root or a share root;
;  - a folder of the system or of the user's shell (the lists below, in the
;    current user's and in the all-users form), or a folder that holds one,
;    such as C:\Users, which holds every profile;
;  - an existing folder that holds files but no earlier installation
;    (neither the client nor its Config.ini).
; A folder inside a listed one is fine: "C:\Program Files\Orvane Stormvale".
; The uninstaller refuses the same listed folders.
;
; CheckInstallFolder sets FolderVerdict for $INSTDIR: "" (fine),
; "protected" or "occupied". A fine folder is put back into $INSTDIR in its
; full form, so that the uninstall entry names it plainly.

Var FolderVerdict
Var FolderCandidate

; The full, long form without a trailing backslash (a root keeps its own):
; "c:\progra~1\x\.." becomes "C:\Program Files". Works on the stack top.
Function NormaliseFolder
  Exch $0
  Push $1
  Push $2
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
      StrCpy $FolderVerdict protected
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

; The shell's folders in the current shell variable context.
Function RefuseShellFolders
  !insertmacro RefuseIfHolds $WINDIR
  !insertmacro RefuseIfHolds $SYSDIR
  !insertmacro RefuseIfHolds $PROGRAMFILES32
  !insertmacro RefuseIfHolds $PROGRAMFILES64
  !insertmacro RefuseIfHolds $COMMONFILES32
  !insertmacro RefuseIfHolds $COMMONFILES64
  !insertmacro RefuseIfHolds $PROFILE
  !insertmacro RefuseIfHolds $DESKTOP
  !insertmacro RefuseIfHolds $DOCUMENTS
  !insertmacro RefuseIfHolds $APPDATA
  !insertmacro RefuseIfHolds $LOCALAPPDATA
  !insertmacro RefuseIfHolds $TEMP
  !insertmacro RefuseIfHolds $STARTMENU
  !insertmacro RefuseIfHolds $SMPROGRAMS
  !insertmacro RefuseIfHolds $SMSTARTUP
  !insertmacro RefuseIfHolds $QUICKLAUNCH
  !insertmacro RefuseIfHolds $FAVORITES
  !insertmacro RefuseIfHolds $MUSIC
  !insertmacro RefuseIfHolds $PICTURES
  !insertmacro RefuseIfHolds $VIDEOS
  !insertmacro RefuseIfHolds $TEMPLATES
  !insertmacro RefuseIfHolds $SENDTO
  !insertmacro RefuseIfHolds $RECENT
  !insertmacro RefuseIfHolds $NETHOOD
  !insertmacro RefuseIfHolds $PRINTHOOD
  !insertmacro RefuseIfHolds $FONTS
  !insertmacro RefuseIfHolds $INTERNET_CACHE
  !insertmacro RefuseIfHolds $COOKIES
  !insertmacro RefuseIfHolds $HISTORY
  !insertmacro RefuseIfHolds $CDBURN_AREA
  !insertmacro RefuseIfHolds $ADMINTOOLS
  !insertmacro RefuseIfHolds $RESOURCES
FunctionEnd

; Known folders without a shell variable (empty where the system lacks one).
!macro RefuseKnownFolder id
  GetKnownFolderPath $0 ${id}
  !insertmacro RefuseIfHolds $0
!macroend

Function CheckInstallFolder
  Push $0
  Push $1
  StrCpy $FolderVerdict ""

  StrCpy $0 $INSTDIR 2 1
  StrCpy $1 $INSTDIR 2
  ${If} $0 != ":\"
  ${AndIf} $1 != "\\"
    StrCpy $FolderVerdict protected
  ${EndIf}
  Push $INSTDIR
  Call NormaliseFolder
  Pop $FolderCandidate
  System::Call 'shlwapi::PathIsRootW(w "$FolderCandidate") i .r0'
  ${If} $0 <> 0
    StrCpy $FolderVerdict protected
  ${EndIf}

  SetShellVarContext all
  Call RefuseShellFolders
  SetShellVarContext current
  Call RefuseShellFolders
  !insertmacro RefuseKnownFolder ${FOLDERID_Downloads}
  !insertmacro RefuseKnownFolder ${FOLDERID_PublicDownloads}
  !insertmacro RefuseKnownFolder ${FOLDERID_SavedGames}
  !insertmacro RefuseKnownFolder ${FOLDERID_Public}
  !insertmacro RefuseKnownFolder ${FOLDERID_UserProfiles}
  !insertmacro RefuseKnownFolder ${FOLDERID_Contacts}
  !insertmacro RefuseKnownFolder ${FOLDERID_SkyDrive}

  ${If} $FolderVerdict == ""
    ${DirState} $FolderCandidate $0
    ${If} $0 = 1
    ${AndIfNot} ${FileExists} "$FolderCandidate\${kClientExeName}"
    ${AndIfNot} ${FileExists} "$FolderCandidate\${kConfigFileName}"
      StrCpy $FolderVerdict occupied
    ${EndIf}
  ${EndIf}
  ${If} $FolderVerdict == ""
    StrCpy $INSTDIR $FolderCandidate
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd
