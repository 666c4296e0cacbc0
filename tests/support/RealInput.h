// A player's mouse and keyboard for tests. Every move, press and key goes
// through SendInput, so the system does with it what it does with a
// player's input: it hit-tests the point, sets the cursor, tracks the mouse
// (hover and leave) and hands the input to whatever window really lies
// under the cursor, in whichever process. A posted mouse message skips all
// of that and can pass where a player's click does nothing.
//
// Input is asynchronous: the window's thread takes it when it next reads
// its queue, so a test waits for the effect it expects, with a deadline.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace RealInput {

// The screen point of a point in a window's client area.
POINT OnScreen(HWND window, POINT client);
// Moves the cursor to the screen point in a few steps, as a hand does, and
// lets the move settle.
void MoveTo(POINT screen);
// Keeps the cursor on the screen point until done() is true or ms have
// passed, as a resting hand does: it trembles by a pixel now and then.
// Under Wine a cursor that has not moved for 100 ms is read back from the
// X server, which never saw the moves when another program holds the
// pointer (as Wine does for a window the size of the screen): the window
// under the cursor would then get a leave it never had.
bool RestOn(POINT screen, const std::function<bool()>& done, DWORD ms);
// A left click at a point of a window's client area: move there, press,
// release.
void Click(HWND window, POINT client);
// A left click in the middle of a rectangle of a window's client area, or
// of a whole window such as a dialog's button.
void Click(HWND window, const RECT& element);
void ClickCentre(HWND window);
// A left press and release at a screen point, where the cursor rests.
void PressAt(POINT screen);
// Press at from, move with the button held, release at to (client points
// of one window).
void Drag(HWND window, POINT from, POINT to);
// A key pressed and released, with the modifiers (VK_MENU, VK_CONTROL,
// VK_SHIFT; 0 for none) held around it.
void Key(WORD virtualKey, WORD modifier = 0);
// The wheel turned by notches (> 0 away from the player) at a screen point.
void Wheel(POINT screen, int notches, WORD modifier = 0);
// Types the text as characters.
void Type(const std::wstring& text);

}  // namespace RealInput
