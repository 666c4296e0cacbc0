// A stand-in for a running client in the uninstaller's tests: one hidden
// top-level window of the class and title given on the command line
//   client_stand_in.exe <class> <title>
// and a message loop. It ends with code 3 when its window is closed, and by
// itself with code 2 after a minute; the uninstaller ends it with code 0.
#include <windows.h>
#include <shellapi.h>

#include <memory>

namespace {

LRESULT CALLBACK FakeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) PostQuitMessage(3);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    struct LocalFreer {
        void operator()(LPWSTR* p) const { LocalFree(p); }
    };
    int count = 0;
    std::unique_ptr<LPWSTR, LocalFreer> argv(CommandLineToArgvW(GetCommandLineW(), &count));
    LPWSTR* args = argv.get();
    if (!args || count < 3) return 1;
    WNDCLASSW wc{};
    wc.lpfnWndProc = FakeProc;
    wc.hInstance = instance;
    wc.lpszClassName = args[1];
    RegisterClassW(&wc);
    if (!CreateWindowExW(0, args[1], args[2], WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr)) {
        return 1;
    }
    SetTimer(nullptr, 0, 60000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER) return 2;
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
