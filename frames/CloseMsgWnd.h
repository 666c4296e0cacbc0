// The question asked before the client exits: a 295 x 190 layered window
// with a picture that asks whether to close the game and two image buttons,
// OK and Cancel. It is a skinned window (CImageCtrl) run in a nested modal
// loop on the caller's thread; its owner is disabled while it asks, as for
// any modal question. The caller exits only when the answer is IDOK.
//
// A caller makes a new CloseMsgWnd for each question:
//     CloseMsgWnd question;
//     if (question.ShowCloseConfirm(frame) == IDOK) DestroyWindow(frame);
#pragma once

#include "ui/ImageCtrl.h"

#include <windows.h>

class CloseMsgWnd : public CImageCtrl {
public:
    static constexpr int kWidth = 295;
    static constexpr int kHeight = 190;
    static constexpr int kOkId = 1001;
    static constexpr int kCancelId = 1002;
    static constexpr int kBackgroundId = 1011;
    static constexpr RECT kOkRect{50, 100, 118, 135};
    static constexpr RECT kCancelRect{178, 100, 246, 135};

    // The class name is the product identifier.
    CloseMsgWnd();

    // Shows the question modally over parent (a null or vanished parent
    // leaves it without owner) and returns IDOK (1) or IDCANCEL (2); any
    // way of closing it other than OK answers IDCANCEL.
    int ShowCloseConfirm(HWND parent);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnCreate(CREATESTRUCTW* cs) override;
    bool OnItemClick(CImageButton* button) override;

private:
    void EnableOwner();

    HWND disabledOwner_ = nullptr;   // the owner this question disabled
};
