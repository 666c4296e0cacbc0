// The uninstaller's entry: runs the application object and exits with 0.
// The command line is not read. The run is traced (base/CrashTrace.h).
#include "base/CrashTrace.h"
#include "uninstall/Uninstall.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    StartTrace(L"uninstall");
    {
        CUninstall app;
        app.Run();
    }
    StopTrace();
    return 0;
}
