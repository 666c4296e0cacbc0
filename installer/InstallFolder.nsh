; Which folders the game may be installed into. The uninstaller removes the
; folder the game was installed to, so a folder is refused when removing it
; could take anything but the game with it. The rule is the uninstaller's
; own code (uninstall/SafeInstallFolder), built as this installer's plug-in
; FolderRule (installer/FolderRule.cpp). It refuses:
;  - a path that is not absolute, a drive root or a share root;
;  - a folder of the system or of a user's shell, of this user or of all
;    users, or a folder that holds one, such as C:\Users, which holds every
;    profile; or a folder that lies behind a link in one of those places;
;  - a folder that is a link (junction or symbolic link);
;  - an existing folder that belongs to another account, which could
;    change what is in it;
;  - an existing folder that holds anything but no client: another
;    program's, even when it has a Config.ini.
; A folder inside a listed one is fine: "C:\Program Files\Orvane Stormvale".
;
; CheckInstallFolder sets FolderVerdict for $INSTDIR: "" when it is fine,
; otherwise the message that says why it is not. A fine folder is put back
; into $INSTDIR in its full form, so that the uninstall entry names it
; plainly.

Var FolderVerdict

Function CheckInstallFolder
  Push $0
  Push $1
  FolderRule::Judge $INSTDIR
  Pop $0
  Pop $1
  StrCpy $FolderVerdict ""
  ${If} $0 == "fine"
    StrCpy $INSTDIR $1
  ${ElseIf} $0 == "link"
    StrCpy $FolderVerdict "$(FolderIsLink)"
  ${ElseIf} $0 == "occupied"
    StrCpy $FolderVerdict "$(FolderOccupied)"
  ${ElseIf} $0 == "foreign"
    StrCpy $FolderVerdict "$(FolderForeign)"
  ${Else}
    StrCpy $FolderVerdict "$(FolderProtected)"
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

; Gives $INSTDIR, made if missing, its own access list when it lies outside
; the player's profile (FolderRule::Protect): otherwise other accounts
; could replace the programs there. Refuses the installation when that fails.
Function ProtectInstallFolder
  Push $0
  CreateDirectory $INSTDIR
  FolderRule::Protect $INSTDIR
  Pop $0
  ${If} $0 != "ok"
    MessageBox MB_ICONSTOP|MB_OK "$(FolderNotProtected)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  Pop $0
FunctionEnd
