#include "uninstall/Uninstall.h"

#include "uninstall/Frame.h"

#include <windows.h>

bool CUninstall::InitInstance() {
    CFrame frame;
    if (GetSystemMetrics(SM_CXSCREEN) >= CFrame::kWidth && GetSystemMetrics(SM_CYSCREEN) >= CFrame::kHeight) {
        frame.minSize = SIZE{CFrame::kWidth, CFrame::kHeight};
    }
    frame.ShowModal();
    // The program never ends under a running worker: a loop ended by
    // WM_QUIT leaves the wizard for the worker until it has finished.
    frame.WaitForWorker();
    return true;
}
