; The game's installer. It installs for the player who runs it, with that
; player's own rights (no elevation): it puts the client and the
; uninstaller into one folder of the player's (by default under
; %LOCALAPPDATA%\Programs), writes the installation's part of Config.ini
; beside them, and makes what the uninstaller later removes: the uninstall
; entry under HKCU, the desktop shortcut and the Start-menu folder. It
; grants nobody any rights: the folder is the player's own (outside the
; profile it gets an access list of the player, SYSTEM and Administrators
; only), so no other player can change the programs that this player runs.
;
; Command line: /S silent; /D=<folder> (last) the folder; /UID=<n> and
; /ADV=<n> the marketing ids instead of the build's.
; Exit codes: 0 installed, 1 cancelled, 2 refused (folder, option) or failed.
;
; installer/CMakeLists.txt runs makensis with SETTINGS naming the inputs;
; every name, key and folder comes from the generated Product.nsh.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; The installed files get the time they were installed; stored times would
; make two builds of the same sources differ.
SetDateSave off

!include "${SETTINGS}"
!include "${PRODUCT_NSH}"
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include StrFunc.nsh
${StrStr}
!addplugindir /amd64-unicode "${PLUGIN_DIR}"
!include "${__FILEDIR__}/InstallFolder.nsh"

!define UNINSTALL_KEY "${kUninstallParentKey}\${kProductName}"
!define DEFAULT_FOLDER "$LOCALAPPDATA\Programs\${kProductName}"

; The pages show the names in the language they speak (Strings.nsh).
Name "$(ProductName)"
OutFile "${OUTFILE}"
InstallDir "${DEFAULT_FOLDER}"
RequestExecutionLevel user
ManifestDPIAware true
ManifestDPIAwareness "PerMonitorV2,System"
ManifestSupportedOS all
BrandingText "$(MakerName)"
ShowInstDetails hide

Var AgentId
Var SiteId

!define MUI_ICON "${ART_DIR}/vstorm.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${ART_DIR}/installer/wizard.bmp"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_RIGHT
!define MUI_HEADERIMAGE_BITMAP "${ART_DIR}/installer/header.bmp"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE LeaveFolderPage
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(StartGameNow)"
!define MUI_FINISHPAGE_RUN_FUNCTION StartGame
!insertmacro MUI_PAGE_FINISH

; The first language is the one for systems that speak neither.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"
!include "${__FILEDIR__}/Strings.nsh"

!define FOUR_PART_VERSION "${VSTORM_VERSION_MAJOR}.${VSTORM_VERSION_MINOR}.${VSTORM_VERSION_PATCH}.${VSTORM_VERSION_BUILD}"
VIProductVersion "${FOUR_PART_VERSION}"
VIFileVersion "${FOUR_PART_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${kProductName}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${kMakerName}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${kProductName} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VSTORM_VERSION_TEXT_A}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VSTORM_VERSION_TEXT_A}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "© ${kMakerName}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "${VSTORM_PRODUCT_NAME_ZH_A}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "${VSTORM_MAKER_NAME_ZH_A}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "${VSTORM_PRODUCT_NAME_ZH_A} 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VSTORM_VERSION_TEXT_A}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VSTORM_VERSION_TEXT_A}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "© ${VSTORM_MAKER_NAME_ZH_A}"

; Shows a message (only when not silent) and ends the installer with 2.
!macro Refuse message
  MessageBox MB_ICONSTOP|MB_OK "${message}" /SD IDOK
  SetErrorLevel 2
  Quit
!macroend

; Takes the value of option (for example "/UID=") into var when the command
; line has it. Only a whole number written plainly passes: it must read
; back the same after a round trip through an integer.
!macro TakeIdOption option var
  ${GetOptions} $R0 "${option}" $R1
  ${IfNot} ${Errors}
    IntOp $R2 $R1 + 0
    ${If} "$R2" != "$R1"
      !insertmacro Refuse "$(BadOption)"
    ${EndIf}
    StrCpy ${var} $R1
  ${EndIf}
  ClearErrors
!macroend

Function .onInit
  StrCpy $AgentId "${AGENT_ID}"
  StrCpy $SiteId "${SITE_ID}"
  ${GetParameters} $R0
  ClearErrors
  !insertmacro TakeIdOption "/UID=" $AgentId
  !insertmacro TakeIdOption "/ADV=" $SiteId

  ; NSIS puts the default in place of a /D= folder it finds invalid (a
  ; root, a relative path) without a word: judge the folder asked for.
  System::Call 'kernel32::GetCommandLineW() w .R0'
  ${StrStr} $R1 $R0 " /D="
  ${If} $R1 != ""
    StrCpy $INSTDIR $R1 "" 4
  ${EndIf}

  ; Installing again goes where the player's last installation went, unless
  ; /D= chose a folder.
  ${If} $R1 == ""
  ${AndIf} $INSTDIR == "${DEFAULT_FOLDER}"
    ReadRegStr $R0 HKCU "${UNINSTALL_KEY}" "${kInstallLocationValue}"
    ${If} $R0 != ""
      StrCpy $INSTDIR $R0
    ${EndIf}
  ${EndIf}

  ; A silent installation has no folder page to refuse a folder on.
  ${If} ${Silent}
    Call CheckInstallFolder
    ${If} $FolderVerdict != ""
      !insertmacro Refuse $FolderVerdict
    ${EndIf}
  ${EndIf}
FunctionEnd

Function LeaveFolderPage
  Call CheckInstallFolder
  ${If} $FolderVerdict != ""
    MessageBox MB_ICONEXCLAMATION|MB_OK $FolderVerdict
    Abort
  ${EndIf}
FunctionEnd

; Seconds since 1970-01-01 UTC, the form of the client's own time stamps:
; digits only, so the client can put it into its landing address as it is.
Function UnixTimeNow
  Push $0
  System::Call 'kernel32::GetSystemTimeAsFileTime(*l .r0)'
  System::Int64Op $0 - 116444736000000000
  Pop $0
  System::Int64Op $0 / 10000000
  Pop $0
  Exch $0
FunctionEnd

Function StartGame
  SetOutPath $INSTDIR
  Exec '"$INSTDIR\${kClientExeName}"'
FunctionEnd

Section
  ; A running client holds its executable open.
  ${Do}
    FindWindow $0 "${kClientWindowClass}" "${kProductName}"
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    MessageBox MB_ICONEXCLAMATION|MB_RETRYCANCEL "$(GameRunning)" /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
    retry:
  ${Loop}

  Call ProtectInstallFolder
  SetOutPath $INSTDIR
  File "/oname=${kClientExeName}" "${CLIENT_EXE}"
  File "/oname=${kUninstallerExeName}" "${UNINSTALLER_EXE}"

  ; Only the installation's keys: the client's own (run count, user name,
  ; times) stay, so installing again does not count as a new player.
  !define CONFIG "$INSTDIR\${kConfigFileName}"
  Call UnixTimeNow
  Pop $1
  ClearErrors
  WriteINIStr "${CONFIG}" "${kSectionCommon}" "${kKeyAgentId}" $AgentId
  WriteINIStr "${CONFIG}" "${kSectionCommon}" "${kKeySiteId}" $SiteId
  WriteINIStr "${CONFIG}" "${kSectionInstall}" "${kKeyInstallTime}" $1
  ${If} ${Errors}
    MessageBox MB_ICONSTOP|MB_OK "$(ConfigNotWritten)" /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  ; Wine reports a failure for the flush even when the file is written.
  FlushINI "${CONFIG}"

  ; The player's own entry, which the 32-bit uninstaller reads as well: HKCU
  ; is the same in both registry views.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${kProductName}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${kMakerName}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VSTORM_VERSION_TEXT_A}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${kClientExeName},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${kUninstallerExeName}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "${kInstallLocationValue}" "$INSTDIR"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; The current user's desktop and Programs folders: the uninstaller looks
  ; there, and only there.
  SetShellVarContext current
  CreateShortcut "$DESKTOP\${kShortcutFileName}" "$INSTDIR\${kClientExeName}"
  !define MENU_FOLDER "$SMPROGRAMS\${kMakerName}\${kProductName}"
  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\${kShortcutFileName}" "$INSTDIR\${kClientExeName}"
  CreateShortcut "${MENU_FOLDER}\$(UninstallShortcut).lnk" "$INSTDIR\${kUninstallerExeName}"
SectionEnd
