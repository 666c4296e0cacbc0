// A look at the skinned windows for screenshots under Xvfb; not shipped and
// not a test. "skin_demo close" asks the close question over a dark frame,
// "skin_demo menu" pops up the tool menu with the cursor on its second row.
// Both end by themselves after the given number of seconds (default 5).
//
// To see them as a player would: run a compositing manager (xcompmgr) in the
// Xvfb, since without one the X server shows translucent pixels over black
// (the soft shadow turns into a dark frame); and give the prefix a
// replacement for the element font "宋体" (for example "Noto Sans CJK SC"
// under HKCU\Software\Wine\Fonts\Replacements), which a Chinese system
// has and Wine's GDI+ does not substitute by itself.
#include "frames/CloseMsgWnd.h"
#include "ui/AppManager.h"
#include "ui/ImageCtrl.h"
#include "ui/ImageMenu.h"

#include <windows.h>

#include <cwchar>
#include <cstdlib>

namespace {

constexpr UINT_PTR kEndTimer = 1;

// A plain dark window behind the demo, so that soft edges show.
class Backdrop : public CImageCtrl {
public:
    void OnCreate(CREATESTRUCTW*) override { painter.SetBackgroundColor(0xFF2E4A6B); }
    void OnTimer(UINT_PTR id) override {
        if (id == kEndTimer) DestroyWindow(Hwnd());
    }
};

class Demo : public CAppManager {
public:
    Demo(const wchar_t* what, int seconds) : what_(what), seconds_(seconds) {}

    bool InitInstance() override {
        Backdrop backdrop;
        HWND frame = backdrop.Create(0, nullptr, L"demo", WS_POPUP | WS_VISIBLE, 200, 150, 1200,
                                     600, nullptr);
        if (!frame) return false;
        SetTimer(frame, kEndTimer, static_cast<UINT>(seconds_) * 1000, nullptr);
        if (wcscmp(what_, L"menu") == 0) {
            CImageMenu menu;
            menu.painter.SetHoverColor(0xFF9CD0FE);
            const struct {
                int id;
                const wchar_t* label;
            } rows[] = {{10015, L"清除缓存"}, {10016, L"刷新"}, {10017, L"老板键(Alt+D)"}};
            for (const auto& row : rows) {
                CImageItem* item = menu.painter.AddItem(row.id);
                item->AddButton(row.id, RECT{1, 1, 94, 94}, row.label)
                    ->SetTextColors(0xFF0C0C0C, 0xFF0C0C0C, 0xFF0C0C0C);
            }
            menu.Popup(POINT{700, 300});
            POINT hover{40, 36};
            ClientToScreen(menu.Hwnd(), &hover);
            SetCursorPos(hover.x, hover.y);
            SendMessageW(menu.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(40, 36));
            backdrop.RunModalLoop();
        } else {
            CloseMsgWnd question;
            question.ShowCloseConfirm(frame);
        }
        if (IsWindow(frame)) DestroyWindow(frame);
        return false;
    }

private:
    const wchar_t* what_;
    int seconds_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Demo demo(argc > 1 ? argv[1] : L"close", argc > 2 ? _wtoi(argv[2]) : 5);
    demo.Run();
    return 0;
}
