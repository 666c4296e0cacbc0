// Resource ids of the client, vstorm: the icon group and the PNG images
// its windows draw (type "PNG"). Plain macros, so that both the resource
// script and the code read them.
#pragma once

#define IDI_VSTORM 128

// Back frame (login mode). The link buttons and the window buttons are
// two-state strips: left half normal, right half hover.
#define IDB_BACK_CLOSE 130
#define IDB_BACK_OFFICIAL_SITE 131
#define IDB_BACK_FORUM 132
#define IDB_BACK_SERVICE 133
#define IDB_BACK_TOPUP 134
#define IDB_BACK_MINIMIZE 135
#define IDB_BACK_PICTURE 145

// Game frame caption (game mode).
#define IDB_CAPTION_ICON 137
#define IDB_CAPTION_SERVICE 138
#define IDB_CAPTION_FORUM 139
#define IDB_CAPTION_OFFICIAL_SITE 140
#define IDB_CAPTION_TOPUP 141
#define IDB_CAPTION_TOOLS_PRESSED 151
#define IDB_CAPTION_CLOSE_PRESSED 152
#define IDB_CAPTION_FULLSCREEN 153
#define IDB_CAPTION_FULLSCREEN_HOVER 154
#define IDB_CAPTION_FULLSCREEN_PRESSED 155
#define IDB_CAPTION_MAXIMIZE_PRESSED 156
#define IDB_CAPTION_MINIMIZE_PRESSED 157
#define IDB_CAPTION_RESTORE_PRESSED 158
#define IDB_CAPTION_TOOLS 196
#define IDB_CAPTION_TOOLS_HOVER 208
#define IDB_CAPTION_CLOSE 209
#define IDB_CAPTION_CLOSE_HOVER 210
#define IDB_CAPTION_MAXIMIZE 211
#define IDB_CAPTION_MAXIMIZE_HOVER 212
#define IDB_CAPTION_MINIMIZE 213
#define IDB_CAPTION_MINIMIZE_HOVER 214
#define IDB_CAPTION_RESTORE 215
#define IDB_CAPTION_RESTORE_HOVER 216
#define IDB_CAPTION_BAR 217

// Close confirmation.
#define IDB_CLOSE_PANEL 142
#define IDB_CLOSE_OK 143
#define IDB_CLOSE_OK_HOVER 146
#define IDB_CLOSE_CANCEL 147
#define IDB_CLOSE_CANCEL_HOVER 148
