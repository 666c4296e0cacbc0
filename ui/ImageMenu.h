// The toolkit's popup menu: a 96-pixel-wide list window (class name
// "ImageMenu") with a soft drop shadow, topmost, that hides itself as soon
// as it loses activation and reports the clicked row through the list
// painter's item-click callback.
//
// The menu window and its shadow are made by the first Popup and reused by
// later ones; the owner usually adds the rows once, before the first popup,
// and hides (or destroys) the menu after a command. The shadow window is the
// menu window's owner, so the menu always lies above it.
#pragma once

#include "ui/ImageCtrlEx.h"
#include "ui/ShadowCtrl.h"

#include <windows.h>

#include <memory>

class CImageMenu : public CImageCtrlEx {
public:
    static constexpr wchar_t kClassName[] = L"ImageMenu";
    static constexpr int kWidth = 96;
    static constexpr Gdiplus::ARGB kBackgroundColor = 0xFFEDF3FA;

    CImageMenu();
    // Destroys the shadow window (and with it the menu window) and object.
    ~CImageMenu() override;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnCreate(CREATESTRUCTW* cs) override;
    void OnDestroy() override;
    void OnMove(int x, int y) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnShowWindow(BOOL show, int status) override;

    // Shows the menu with its top-left at the screen point (kept on the
    // nearest monitor), as high as its visible rows, in the foreground.
    // A menu made by this call takes dpi as its scale (0: the system DPI).
    void Popup(POINT point, UINT dpi = 0);

    std::unique_ptr<CShadowCtrl> shadow;

private:
    static void MakeTopmost(HWND window);
    void PlaceShadow();
};
