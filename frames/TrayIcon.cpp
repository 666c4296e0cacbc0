#include "frames/TrayIcon.h"

#include "base/Product.h"
#include "frames/FrameIds.h"
#include "ui/ImageCtrl.h"
#include "base/TextBuf.h"

CTrayIcon::CTrayIcon() { data_.cbSize = sizeof(data_); }

CTrayIcon::~CTrayIcon() { Remove(); }

void CTrayIcon::Attach(HWND window) {
    data_.hWnd = window;
    data_.uID = kTrayIconId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kTrayCallbackMessage;
    // A shared resource icon: never destroyed.
    data_.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(CImageCtrl::kIconGroupId));
}

bool CTrayIcon::Add() {
    CopyText(data_.szTip, kProductName);
    shown_ = true;
    return Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
}

bool CTrayIcon::Remove() {
    if (!shown_) return false;
    shown_ = false;
    return Shell_NotifyIconW(NIM_DELETE, &data_) != FALSE;
}

UINT CTrayIcon::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

bool CTrayIcon::OnTaskbarCreated() { return shown_ && Shell_NotifyIconW(NIM_ADD, &data_) != FALSE; }
