#include "uninstall/Uninstall.h"

#include "base/Product.h"
#include "uninstall/Frame.h"
#include "uninstall/Installation.h"
#include "uninstall/UninstallWorker.h"
#include "base/TextBuf.h"

#include <windows.h>

namespace {

constexpr size_t kNoticeUnits = 256;
constexpr wchar_t kNotInstalledFormat[] = L"这里不是 %s 的安装文件夹，卸载程序没有删除任何内容。";

}  // namespace

bool CUninstall::InitInstance() {
    wchar_t folder[MAX_PATH];
    Installation installation;
    if (!GetInstallFolder(folder) || !FindInstallation(folder, installation)) {
        wchar_t notice[kNoticeUnits];
        Format(notice, kNotInstalledFormat, kProductName);
        MessageBoxW(nullptr, notice, kProductName, MB_OK | MB_ICONEXCLAMATION);
        return true;
    }
    CFrame frame(installation);
    // Shown at the largest scale that fits the work area.
    frame.minSize = SIZE{CFrame::kWidth, CFrame::kHeight};
    frame.ShowModal();
    // The program never ends under a running worker: a loop ended by
    // WM_QUIT leaves the wizard for the worker until it has finished.
    frame.WaitForWorker();
    return true;
}
