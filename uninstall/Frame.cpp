#include "uninstall/Frame.h"

#include "base/Product.h"
#include "res/UninstallResources.h"
#include "uninstall/CompatibilityMark.h"
#include "uninstall/SelfRemovalScript.h"
#include "uninstall/UninstallWorker.h"
#include "uninstall/WindowSearch.h"
#include "ui/Fonts.h"
#include "base/TextBuf.h"

#include <utility>

namespace {

constexpr size_t kTitleUnits = 64;
constexpr size_t kQuestionUnits = 256;
constexpr wchar_t kTitleFormat[] = L"%s卸载向导";
constexpr wchar_t kQuestionFormat[] = L"<%s>正在运行,是否关闭<%s>？";
constexpr wchar_t kCheckBoxLabel[] = L"保留用户信息和相关数据";
constexpr size_t kLeftBehindUnits = 640;
constexpr wchar_t kLeftBehindFormat[] = L"卸载程序未能删除文件夹“%s”。请在卸载程序关闭后手动删除它。";
constexpr wchar_t kTitleFontFamily[] = L"微软雅黑";
constexpr Gdiplus::REAL kTitleFontPoints = 11;
constexpr Gdiplus::ARGB kTitleBackground = 0xFFFEBD3C;
constexpr Gdiplus::ARGB kTitleText = 0xFFFFFFFF;
constexpr int kTitleTextOffset = 7;
constexpr int kModalDone = 1;

}  // namespace

CFrame::CFrame(Installation installation) : installation_(std::move(installation)) {}

CFrame::~CFrame() { WaitForWorker(); }

// A quit request met here is handed on once the worker has ended.
void CFrame::WaitForWorker() {
    const HANDLE worker = worker_.Get();
    bool quit = false;
    WPARAM quitCode = 0;
    while (worker && MsgWaitForMultipleObjects(1, &worker, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = msg.wParam;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    worker_.Reset();
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

LRESULT CFrame::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CLOSE:
        // Alt+F4 and the system menu: the wizard stays while the worker runs.
        if (working_) return 1;
        break;
    case WM_DESTROY: {
        // The painter frees the bar now; the worker must not find it any more.
        std::lock_guard<std::mutex> hold(barLock_);
        progressBar_ = nullptr;
        break;
    }
    case WM_UNINSTALL_STATUS:
        if (wParam == UNINSTALL_FINISHED) {
            Finish();
            return 0;
        }
        break;
    default:
        break;
    }
    return CImageCtrl::OnMessage(msg, wParam, lParam);
}

void CFrame::OnCreate(CREATESTRUCTW*) {
    MarkCompatibilityHandled();
    titleFont_ = MakeFont(kTitleFontFamily, kTitleFontPoints, Gdiplus::FontStyleRegular, Dpi());
    LoadIconFromResource(true, 48);
    LoadIconFromResource(false, 32);
    wchar_t title[kTitleUnits];
    Format(title, kTitleFormat, kProductName);
    SetWindowTextW(Hwnd(), title);

    const int width = LayoutClient().right;
    if (CImageStatic* strip = painter.AddStatic(RECT{0, 0, width, 25}, 0, kTitleId, false)) {
        strip->rightAnchor = 0;
        strip->fixedLeft = 0;
        strip->SetBackgroundColor(kTitleBackground);
        strip->SetTextColor(kTitleText);
        strip->SetText(title);
        strip->textOffset = kTitleTextOffset;
        strip->textAlignment = Gdiplus::StringAlignmentNear;
        strip->customFont = titleFont_;
    }
    if (CImageButton* close = painter.AddButton(CImagePaint::kCloseId, RECT{width - 26, 0, width - 1, 25},
                                                IDB_WIZARD_CLOSE, IDB_WIZARD_CLOSE_HOVER,
                                                IDB_WIZARD_CLOSE_PRESSED, IDB_WIZARD_CLOSE)) {
        close->rightAnchor = 1;
    }
    painter.AddStatic(RECT{73, 72, 202, 222}, IDB_WIZARD_MASCOT, kMascotId, false);
    painter.AddStatic(RECT{225, 92, 412, 149}, IDB_WIZARD_BUBBLE, kBubbleId, false);
    if (CImageButton* box = painter.AddButton(kCheckBoxId, kCheckBoxRect, IDB_WIZARD_CHECKBOX,
                                              IDB_WIZARD_CHECKBOX_HOVER, IDB_WIZARD_CHECKBOX_PRESSED,
                                              IDB_WIZARD_CHECKBOX_CHECKED)) {
        box->SetChecked(true);
    }
    if (CImageStatic* label = painter.AddStatic(RECT{40, 290, 240, 310}, 0, kCheckBoxId, false)) {
        label->SetText(kCheckBoxLabel);
        label->textAlignment = Gdiplus::StringAlignmentNear;
    }
    painter.AddButton(kContinueId, kContinueRect, IDB_WIZARD_CONTINUE, IDB_WIZARD_CONTINUE_HOVER,
                      IDB_WIZARD_CONTINUE_PRESSED, IDB_WIZARD_CONTINUE);
    painter.AddButton(kCancelId, kCancelRect, IDB_WIZARD_CANCEL, IDB_WIZARD_CANCEL_HOVER,
                      IDB_WIZARD_CANCEL_PRESSED, IDB_WIZARD_CANCEL);
    CImageProgressbar* bar = painter.AddProgressBar(kProgressRect, IDB_PROGRESS_TRACK, IDB_PROGRESS_FILL);
    bar->visible = false;
    std::lock_guard<std::mutex> hold(barLock_);
    progressBar_ = bar;
}

void CFrame::OnDestroy() { titleFont_.reset(); }

void CFrame::OnDpiChanged(UINT dpi, const RECT& suggested) {
    CImageCtrl::OnDpiChanged(dpi, suggested);
    titleFont_ = MakeFont(kTitleFontFamily, kTitleFontPoints, Gdiplus::FontStyleRegular, Dpi());
    if (CImageStatic* strip = painter.FindStatic(kTitleId)) strip->customFont = titleFont_;
    painter.Invalidate();
    painter.Redraw();
}

bool CFrame::OnItemClick(CImageButton* button) {
    if (!button) return true;
    switch (button->id) {
    case kCheckBoxId:
        button->SetChecked(!button->Checked());
        InvalidateRect(Hwnd(), &button->rect, TRUE);
        return true;
    case kContinueId:
        // A click that arrives while the question is open or the worker
        // runs (the question's own loop dispatches it) starts nothing more.
        if (asking_ || working_ || worker_) return false;
        if (FindClientWindow()) {
            wchar_t question[kQuestionUnits];
            Format(question, kQuestionFormat, kProductName, kProductName);
            asking_ = true;
            const int answer = MessageBoxW(nullptr, question, kProductName, MB_YESNO | MB_ICONINFORMATION);
            asking_ = false;
            if (answer == IDNO) return false;
        }
        StartUninstall();
        return true;
    case kCancelId:
        if (asking_) return false;
        modalResult = kModalDone;
        modalRunning = false;
        DestroyWindow(Hwnd());
        return false;
    case CImagePaint::kCloseId:
        // Closing under a running worker would free the bar it writes.
        return !(asking_ || working_);
    default:
        return true;
    }
}

void CFrame::SetElementsVisible(bool asking) {
    for (int id : {kContinueId, kCancelId, kCheckBoxId}) {
        if (CImageButton* button = painter.FindButton(id)) button->visible = asking;
    }
    if (CImageStatic* label = painter.FindStatic(kCheckBoxId)) label->visible = asking;
    std::lock_guard<std::mutex> hold(barLock_);
    if (progressBar_) progressBar_->visible = !asking;
}

void CFrame::StartUninstall() {
    HWND window = Hwnd();
    if (!window) return;
    const CImageButton* box = painter.FindButton(kCheckBoxId);
    keepPlayerData_ = !box || box->Checked();
    SetElementsVisible(false);
    InvalidateRect(window, nullptr, TRUE);
    working_ = true;
    worker_.Reset(CreateThread(nullptr, 0, UninstallWorker, this, 0, nullptr));
    if (!worker_) working_ = false;
}

void CFrame::SetProgress(int percent) {
    std::lock_guard<std::mutex> hold(barLock_);
    if (progressBar_) progressBar_->SetPos(percent);
}

// The wizard goes first, then the script is written and started; where it
// cannot be, the player learns what is left to delete.
void CFrame::Finish() {
    working_ = false;
    modalResult = kModalDone;
    modalRunning = false;
    if (HWND window = Hwnd()) DestroyWindow(window);
    if (!StartSelfRemoval(installation_)) {
        wchar_t notice[kLeftBehindUnits];
        Format(notice, kLeftBehindFormat, installation_.folder.c_str());
        MessageBoxW(nullptr, notice, kProductName, MB_OK | MB_ICONEXCLAMATION);
    }
}
