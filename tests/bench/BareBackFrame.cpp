// The floor of the start-up benchmark: a bare program that shows one
// 1450 x 641 (at 96 DPI) layered window with the client's back-frame picture (decoded
// from its resources, drawn once, handed to UpdateLayeredWindow) and waits
// for WM_CLOSE. Nothing else: no toolkit, no Config.ini, no reports.
#include "res/VstormResources.h"
#include "ui/Dpi.h"
#include "ui/ImageLoader.h"
#include "ui/LayeredSurface.h"
#include "ui/ScopedGdi.h"

#include <windows.h>

namespace {

constexpr wchar_t kClass[] = L"bare_back";
constexpr int kWidth = 1450;
constexpr int kHeight = 641;

LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    GdiplusSession gdiplus;
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    // The picture at the screen's scale, as the client shows it.
    const UINT dpi = SystemDpi();
    const int width = ScaleBy(kWidth, dpi);
    const int height = ScaleBy(kHeight, dpi);
    HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, kClass, L"", WS_POPUP, 0, 0, width, height,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    LayeredSurface surface;
    OwnedImage picture = LoadPngResource(IDB_BACK_PICTURE, dpi);
    if (surface.Prepare(width, height) && picture) {
        Gdiplus::Graphics graphics(surface.Dc());
        graphics.DrawImage(picture.Get(), 0, 0, width, height);
    }
    surface.Present(window, FindUpdateLayeredWindow(), 255);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
