; The installer's own texts, in each language of its pages. NSIS shows the
; one that matches the system's language, English otherwise.

LangString ProductName ${LANG_ENGLISH} "${kProductName}"
LangString ProductName ${LANG_SIMPCHINESE} "${VSTORM_PRODUCT_NAME_ZH_A}"
LangString MakerName ${LANG_ENGLISH} "${kMakerName}"
LangString MakerName ${LANG_SIMPCHINESE} "${VSTORM_MAKER_NAME_ZH_A}"

LangString StartGameNow ${LANG_ENGLISH} "Start ${kProductName} now"
LangString StartGameNow ${LANG_SIMPCHINESE} "立即运行 ${kProductName}"

LangString UninstallShortcut ${LANG_ENGLISH} "Uninstall ${kProductName}"
LangString UninstallShortcut ${LANG_SIMPCHINESE} "卸载 ${kProductName}"

LangString FolderProtected ${LANG_ENGLISH} "$INSTDIR is a folder of Windows or of a user account, or holds one. Removing the game later would delete it with everything in it.$\r$\n$\r$\nPlease choose a folder of the game's own, for example ${DEFAULT_FOLDER}."
LangString FolderProtected ${LANG_SIMPCHINESE} "“$INSTDIR”是 Windows 或用户帐户的文件夹，或包含这样的文件夹。以后卸载游戏时，它会连同其中的全部内容一起被删除。$\r$\n$\r$\n请为游戏选择一个单独的文件夹，例如“${DEFAULT_FOLDER}”。"

LangString FolderOccupied ${LANG_ENGLISH} "$INSTDIR already holds other files. Removing the game later would delete them too.$\r$\n$\r$\nPlease choose a new or empty folder, for example $INSTDIR\${kProductName}."
LangString FolderOccupied ${LANG_SIMPCHINESE} "“$INSTDIR”中已有其他文件。以后卸载游戏时，这些文件也会被删除。$\r$\n$\r$\n请选择一个新的或空的文件夹，例如“$INSTDIR\${kProductName}”。"

LangString FolderIsLink ${LANG_ENGLISH} "$INSTDIR is a link to another folder. Removing the game later would delete what is there.$\r$\n$\r$\nPlease choose a folder of the game's own, for example ${DEFAULT_FOLDER}."
LangString FolderIsLink ${LANG_SIMPCHINESE} "“$INSTDIR”是指向另一个文件夹的链接。以后卸载游戏时，那里的内容会被删除。$\r$\n$\r$\n请为游戏选择一个单独的文件夹，例如“${DEFAULT_FOLDER}”。"

LangString FolderForeign ${LANG_ENGLISH} "$INSTDIR belongs to another user account, which could change the game's files there.$\r$\n$\r$\nPlease choose a new folder, for example ${DEFAULT_FOLDER}."
LangString FolderForeign ${LANG_SIMPCHINESE} "“$INSTDIR”属于另一个用户帐户，该帐户可以更改其中的游戏文件。$\r$\n$\r$\n请选择一个新文件夹，例如“${DEFAULT_FOLDER}”。"

LangString FolderNotProtected ${LANG_ENGLISH} "Setup could not restrict access to $INSTDIR to your account, so other users could change the game's files there."
LangString FolderNotProtected ${LANG_SIMPCHINESE} "安装程序无法将“$INSTDIR”的访问权限限制为您的帐户，其他用户可能会更改其中的游戏文件。"

LangString BadOption ${LANG_ENGLISH} "/UID= and /ADV= take a whole number, for example /UID=1001."
LangString BadOption ${LANG_SIMPCHINESE} "/UID= 和 /ADV= 的值必须是整数，例如 /UID=1001。"

LangString GameRunning ${LANG_ENGLISH} "${kProductName} is running. Please close it, then choose Retry."
LangString GameRunning ${LANG_SIMPCHINESE} "${kProductName} 正在运行。请先关闭它，然后点击“重试”。"

LangString ConfigNotWritten ${LANG_ENGLISH} "Setup could not write $INSTDIR\${kConfigFileName}."
LangString ConfigNotWritten ${LANG_SIMPCHINESE} "安装程序无法写入“$INSTDIR\${kConfigFileName}”。"
