#include "tests/support/WindowActions.h"

#include <utility>

namespace {

constexpr UINT kRunPosted = WM_APP + 0x31;

}  // namespace

ActionWindow::~ActionWindow() {
    if (HWND window = Hwnd()) DestroyWindow(window);
}

bool ActionWindow::Open() {
    return Create(0, L"TestActionWindow", L"", WS_POPUP, 0, 0, 1, 1, nullptr) != nullptr;
}

void ActionWindow::Post(std::function<void()> action) {
    posted_.push_back(std::move(action));
    PostMessageW(Hwnd(), kRunPosted, 0, 0);
}

void ActionWindow::After(UINT ms, std::function<void()> action) {
    const UINT_PTR id = nextTimer_++;
    timers_[id] = std::move(action);
    SetTimer(Hwnd(), id, ms, nullptr);
}

LRESULT ActionWindow::OnMessage(UINT msg, WPARAM, LPARAM) {
    if (msg != kRunPosted || posted_.empty()) return 0;
    std::function<void()> action = std::move(posted_.front());
    posted_.pop_front();
    action();
    return 1;
}

void ActionWindow::OnTimer(UINT_PTR id) {
    KillTimer(Hwnd(), id);
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    std::function<void()> action = std::move(it->second);
    timers_.erase(it);
    action();
}

DWORD ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}
