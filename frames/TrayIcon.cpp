#include "frames/TrayIcon.h"

#include "base/Product.h"
#include "frames/FrameIds.h"
#include "ui/ImageCtrl.h"
#include "base/TextBuf.h"

#include <utility>

namespace {

// The small icon of the tray at 96 DPI.
constexpr int kTraySize = 16;

}  // namespace

CTrayIcon::CTrayIcon() { data_.cbSize = sizeof(data_); }

CTrayIcon::~CTrayIcon() { Remove(); }

void CTrayIcon::Attach(HWND window) {
    data_.hWnd = window;
    data_.uID = kTrayIconId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kTrayCallbackMessage;
    ScopedIcon icon = LoadGroupIcon(ScaleBy(kTraySize, ScaleOf(window)));
    data_.hIcon = icon.Get();
    // The shell keeps a copy of the icon it is given: one already shown is
    // replaced, and ours serves the next Add.
    if (shown_) Shell_NotifyIconW(NIM_MODIFY, &data_);
    icon_ = std::move(icon);
}

bool CTrayIcon::AddToShell() {
    if (!Shell_NotifyIconW(NIM_ADD, &data_)) return false;
    data_.uVersion = NOTIFYICON_VERSION;
    Shell_NotifyIconW(NIM_SETVERSION, &data_);
    return true;
}

bool CTrayIcon::Add() {
    if (shown_ && forBalloon_) {
        forBalloon_ = false;
        return true;
    }
    CopyText(data_.szTip, kProductName);
    shown_ = true;
    return AddToShell();
}

bool CTrayIcon::ShowBalloon(const wchar_t* title, const wchar_t* text, bool failure) {
    if (!shown_) {
        CopyText(data_.szTip, kProductName);
        shown_ = true;
        forBalloon_ = true;
        if (!AddToShell()) return false;
    }
    NOTIFYICONDATAW balloon = data_;
    balloon.uFlags = NIF_INFO;
    CopyText(balloon.szInfoTitle, title);
    CopyText(balloon.szInfo, text);
    balloon.dwInfoFlags = failure ? NIIF_ERROR : NIIF_INFO;
    return Shell_NotifyIconW(NIM_MODIFY, &balloon) != FALSE;
}

void CTrayIcon::OnBalloonEnd() {
    if (forBalloon_) Remove();
}

bool CTrayIcon::Remove() {
    if (!shown_) return false;
    shown_ = false;
    forBalloon_ = false;
    return Shell_NotifyIconW(NIM_DELETE, &data_) != FALSE;
}

UINT CTrayIcon::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

bool CTrayIcon::OnTaskbarCreated() { return shown_ && AddToShell(); }
