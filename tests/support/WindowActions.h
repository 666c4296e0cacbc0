// Driving windows from inside message loops that a test cannot leave: a
// nested modal loop blocks the test, so the steps that should happen while
// it runs are queued on a helper window and run when the loop dispatches
// their message. Also reading what the screen shows.
#pragma once

#include "ui/WindowCtrl.h"

#include <windows.h>

#include <deque>
#include <functional>
#include <map>

class ActionWindow : public CWindowCtrl {
public:
    ActionWindow() = default;
    ~ActionWindow() override;

    // A hidden popup on the calling thread (which needs a manager).
    bool Open();
    // Runs action when the posted message is dispatched.
    void Post(std::function<void()> action);
    // Runs action once, ms milliseconds from now.
    void After(UINT ms, std::function<void()> action);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;

private:
    std::deque<std::function<void()>> posted_;
    std::map<UINT_PTR, std::function<void()>> timers_;
    UINT_PTR nextTimer_ = 1;
};

// The colour (0xRRGGBB) the screen shows at the point, layered windows
// included.
DWORD ScreenPixel(int x, int y);
