// The uninstaller's entry: runs the application object and exits with 0.
// The command line is not read.
#include "uninstall/Uninstall.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    CUninstall app;
    app.Run();
    return 0;
}
