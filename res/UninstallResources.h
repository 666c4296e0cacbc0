// Resource ids of the uninstaller: the icon group and the PNG images of its
// wizard (type "PNG"). Plain macros, so that both the resource script and
// the code read them.
#pragma once

#define IDI_UNINSTALL 128

// Close button on the title strip.
#define IDB_WIZARD_CLOSE 129
#define IDB_WIZARD_CLOSE_HOVER 2
#define IDB_WIZARD_CLOSE_PRESSED 131

#define IDB_WIZARD_CANCEL 132
#define IDB_WIZARD_CANCEL_HOVER 133
#define IDB_WIZARD_CANCEL_PRESSED 134
#define IDB_WIZARD_CONTINUE 138
#define IDB_WIZARD_CONTINUE_HOVER 139
#define IDB_WIZARD_CONTINUE_PRESSED 140

// Check box, in the four image slots of a check-box button: unchecked
// normal, hover, pressed, and checked normal (stored without alpha).
#define IDB_WIZARD_CHECKBOX 135
#define IDB_WIZARD_CHECKBOX_HOVER 136
#define IDB_WIZARD_CHECKBOX_PRESSED 137
#define IDB_WIZARD_CHECKBOX_CHECKED 143

#define IDB_WIZARD_MASCOT 141
#define IDB_WIZARD_BUBBLE 142

// Progress bar: the toolkit's bar loads its track and fill by these ids.
#define IDB_PROGRESS_TRACK 144
#define IDB_PROGRESS_FILL 145
