#include "ui/ImageCtrlEx.h"

CImageCtrlEx::CImageCtrlEx() { SetClassName(kClassName); }

CImageCtrlEx::~CImageCtrlEx() = default;

LRESULT CImageCtrlEx::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        painter.SetWindow(Hwnd());
        painter.SetDpi(Dpi());
    }
    return painter.HandleMessage(msg, wParam, lParam) ? 1 : 0;
}
