// The client's entry: OLE for the main thread, the application object for
// the life of the process, exit code 0 in every case, and the trace of it
// (base/CrashTrace.h) from the first step to the last. The launcher's
// pictures are decoded on a worker thread meanwhile, from the very start.
#include "app/GameApp.h"
#include "base/CrashTrace.h"
#include "frames/FrameBack.h"
#include "ui/PngPrefetch.h"
#include "ui/ScopedGdi.h"
#include "ui/ScopedCom.h"

#include <windows.h>

#include <vector>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    StartTrace(L"vstorm");
    GdiplusSession gdiplus;
    PngPrefetch launcherImages(gdiplus.Started() ? CFrameBack::FirstFrameImages() : std::vector<int>(),
                               CFrameBack::LauncherDpi());
    OleSession ole;
    if (ole.Result() != S_OK) return 0;
    gameApp app;
    g_app = &app;
    app.Run();
    g_app = nullptr;
    StopTrace();
    return 0;
}
