// The uninstall wizard: a fixed-size 435 x 330 skinned window
// with an orange title strip, a close button, the crying mascot with its
// speech bubble, the keep-user-data check box, and continue and cancel.
// Continue asks to close a running client, swaps the buttons for a progress
// bar and starts the uninstall worker on a thread of its own; when the
// worker reports UNINSTALL_FINISHED the wizard closes and starts the
// self-removal script.
//
// The worker writes the bar from its thread, so from the moment it starts
// the wizard does not go: the close button, WM_CLOSE (Alt+F4) and a second
// continue do nothing until the worker has finished, and the bar is handed
// out only under a lock that the window's destruction takes too. The
// application waits for the worker before it lets the wizard object go.
//
// The wizard works on the installation the application found (the worker
// removes it, the self-removal script its folder).
#pragma once

#include "uninstall/Installation.h"
#include "ui/ImageCtrl.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>

class CFrame : public CImageCtrl {
public:
    static constexpr int kWidth = 435;
    static constexpr int kHeight = 330;

    static constexpr int kTitleId = 2279;
    static constexpr int kMascotId = 2280;
    static constexpr int kBubbleId = 2281;
    static constexpr int kCheckBoxId = 2282;   // the box and its label
    static constexpr int kContinueId = 2283;
    static constexpr int kCancelId = 2284;

    static constexpr RECT kCloseRect{kWidth - 26, 0, kWidth - 1, 25};
    static constexpr RECT kCheckBoxRect{25, 293, 37, 305};
    static constexpr RECT kContinueRect{250, 287, 324, 308};
    static constexpr RECT kCancelRect{335, 287, 409, 308};
    static constexpr RECT kProgressRect{32, 280, 403, 284};

    explicit CFrame(Installation installation = Installation{});
    ~CFrame() override;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnCreate(CREATESTRUCTW* cs) override;
    void OnDestroy() override;
    void OnDpiChanged(UINT dpi, const RECT& suggested) override;
    bool OnItemClick(CImageButton* button) override;

    // From any thread: the bar's position, as long as the bar exists.
    void SetProgress(int percent);
    // True from the worker's start until its finished message arrived.
    bool Working() const { return working_.load(); }
    // Returns once a started worker thread has ended. It handles this
    // thread's messages meanwhile: the worker's window search sends
    // WM_GETTEXT to the wizard's windows and waits for the answer.
    void WaitForWorker();
    const Installation& GetInstallation() const { return installation_; }
    // The check box as it was when the uninstallation started.
    bool KeepsPlayerData() const { return keepPlayerData_; }

private:
    void StartUninstall();
    void Finish();
    void SetElementsVisible(bool asking);

    const Installation installation_;
    std::shared_ptr<Gdiplus::Font> titleFont_;
    std::mutex barLock_;
    CImageProgressbar* progressBar_ = nullptr;  // owned by the painter
    ScopedKernelHandle worker_;
    std::atomic<bool> working_{false};
    bool asking_ = false;                       // the close-client question is open
    bool keepPlayerData_ = true;
};
