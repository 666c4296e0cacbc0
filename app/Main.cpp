// The client's entry: OLE for the main thread, the application object for
// the life of the process, exit code 0 in every case.
#include "app/GameApp.h"
#include "ui/Scoped.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    OleSession ole;
    if (ole.Result() != S_OK) return 0;
    gameApp app;
    g_app = &app;
    app.Run();
    g_app = nullptr;
    return 0;
}
