#include "tests/support/RealInput.h"

#include <vector>

namespace RealInput {

namespace {

constexpr int kMoveSteps = 4;
// About the time a hand takes between reaching a button and pressing it.
constexpr DWORD kSettleMs = 60;
constexpr DWORD kStepMs = 10;
// Well within the 100 ms after which Wine stops trusting a still cursor.
constexpr DWORD kTrembleMs = 40;
constexpr DWORD kHoldMs = 200;
constexpr DWORD kAimMs = 5000;

INPUT KeyInput(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void Send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Normalised absolute coordinates: 65536 units over the primary screen,
// aimed at the middle of the pixel, which the system scales back down.
LONG Normalise(LONG value, int extent) {
    return extent > 0 ? static_cast<LONG>((value * 65536LL + 32768) / extent) : 0;
}

// A mouse event at a screen point. Buttons carry the point too, as a
// mouse's own reports do: under Wine a window mapped or shown under the
// cursor can hand its process a late enter event with the cursor's older
// position, and a press that went where the cursor was said to be would
// land there.
INPUT MouseAt(POINT screen, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = Normalise(screen.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = Normalise(screen.y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

}  // namespace

POINT OnScreen(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}

void MoveTo(POINT screen) {
    POINT from{};
    GetCursorPos(&from);
    for (int step = 1; step <= kMoveSteps; ++step) {
        Send({MouseAt(POINT{from.x + (screen.x - from.x) * step / kMoveSteps,
                            from.y + (screen.y - from.y) * step / kMoveSteps}, 0)});
        Sleep(kStepMs);
    }
    // A window shown under the cursor meanwhile may have put the cursor back
    // where it was; a hand would move it again.
    Sleep(kSettleMs);
    Send({MouseAt(screen, 0)});
}

bool RestOn(POINT screen, const std::function<bool()>& done, DWORD ms) {
    MoveTo(screen);
    const DWORD start = GetTickCount();
    for (LONG tremble = 1; !done(); tremble = -tremble) {
        if (GetTickCount() - start >= ms) return done();
        Send({MouseAt(POINT{screen.x + (tremble > 0 ? 1 : 0), screen.y}, 0)});
        Sleep(kTrembleMs);
    }
    Send({MouseAt(screen, 0)});
    return true;
}

void PressAt(POINT screen) {
    Send({MouseAt(screen, MOUSEEVENTF_LEFTDOWN), MouseAt(screen, MOUSEEVENTF_LEFTUP)});
}

void Click(HWND window, POINT client) {
    const POINT screen = OnScreen(window, client);
    MoveTo(screen);
    // A hand waits until what it aims at is there: a window that is being
    // shown, resized or reshaped may not take the point yet.
    const DWORD start = GetTickCount();
    for (HWND under = WindowFromPoint(screen); under != window && !IsChild(window, under);
         under = WindowFromPoint(screen)) {
        if (GetTickCount() - start >= kAimMs) break;
        Sleep(kStepMs);
    }
    PressAt(screen);
}

void Click(HWND window, const RECT& element) {
    Click(window, POINT{(element.left + element.right) / 2, (element.top + element.bottom) / 2});
}

void ClickCentre(HWND window) {
    RECT face{};
    GetClientRect(window, &face);
    Click(window, face);
}

void Drag(HWND window, POINT from, POINT to) {
    const POINT start = OnScreen(window, from);
    const POINT end = OnScreen(window, to);
    MoveTo(start);
    Send({MouseAt(start, MOUSEEVENTF_LEFTDOWN)});
    // A hand holds still a moment after it presses (the window starts its
    // move from where the cursor is then) and before it lets go.
    RestOn(start, [] { return false; }, kHoldMs);
    RestOn(end, [] { return false; }, kHoldMs);
    Send({MouseAt(end, MOUSEEVENTF_LEFTUP)});
}

void Key(WORD virtualKey, WORD modifier) {
    std::vector<INPUT> keys;
    if (modifier) keys.push_back(KeyInput(modifier, false));
    keys.push_back(KeyInput(virtualKey, false));
    keys.push_back(KeyInput(virtualKey, true));
    if (modifier) keys.push_back(KeyInput(modifier, true));
    Send(keys);
}

void Wheel(POINT screen, int notches, WORD modifier) {
    MoveTo(screen);
    std::vector<INPUT> input;
    if (modifier) input.push_back(KeyInput(modifier, false));
    INPUT wheel = MouseAt(screen, MOUSEEVENTF_WHEEL);
    wheel.mi.mouseData = static_cast<DWORD>(notches * WHEEL_DELTA);
    input.push_back(wheel);
    if (modifier) input.push_back(KeyInput(modifier, true));
    Send(input);
}

void Type(const std::wstring& text) {
    std::vector<INPUT> keys;
    for (wchar_t c : text) {
        for (bool up : {false, true}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = c;
            input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            keys.push_back(input);
        }
    }
    Send(keys);
}

}  // namespace RealInput
