// Finding a window by title, class and process: how the
// uninstaller finds a running client, whose main window has the class
// "orvanestormvale" and the title "Orvane Stormvale".
#pragma once

#include <windows.h>

struct WindowSearch {
    static constexpr size_t kTextUnits = 256;

    DWORD processId;             // 0: any process
    HWND found;                  // out: the first match, null if none
    wchar_t title[kTextUnits];   // empty: any title; else equal (case-sensitive)
    wchar_t className[kTextUnits];  // empty: any class; else equal (case-sensitive)
};

// The EnumWindows callback; lParam is the WindowSearch. FALSE (stop) on a
// match, stored in found.
BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM search);

// Clears search and fills it for the client's main window.
void PrepareClientSearch(WindowSearch& search);

// The client's main window among the top-level windows, or null.
HWND FindClientWindow();
