#include "uninstall/WindowSearch.h"

#include "base/Product.h"
#include "base/TextBuf.h"

#include <cwchar>

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    if (!search) return FALSE;
    wchar_t text[WindowSearch::kTextUnits] = {};
    wchar_t className[WindowSearch::kTextUnits] = {};
    GetWindowTextW(hwnd, text, WindowSearch::kTextUnits);
    GetClassNameW(hwnd, className, WindowSearch::kTextUnits);
    if (search->title[0] && wcscmp(search->title, text) != 0) return TRUE;
    if (search->className[0] && wcscmp(search->className, className) != 0) return TRUE;
    if (search->processId != 0) {
        DWORD processId = 0;
        GetWindowThreadProcessId(hwnd, &processId);
        if (processId != search->processId) return TRUE;
    }
    search->found = hwnd;
    return FALSE;
}

void PrepareClientSearch(WindowSearch& search) {
    search = WindowSearch{};
    CopyText(search.title, kProductName);
    CopyText(search.className, kClientWindowClass);
}

HWND FindClientWindow() {
    WindowSearch search;
    PrepareClientSearch(search);
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
