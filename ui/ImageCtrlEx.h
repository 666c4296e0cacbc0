// A plain list window: a CWindowCtrl with class name "ImageList" that owns
// one CImagePaintEx and hands it every message; the painter's handled flag
// is the result. The popup menu (CImageMenu) is built on it.
#pragma once

#include "ui/ImagePaintEx.h"
#include "ui/WindowCtrl.h"

#include <windows.h>

class CImageCtrlEx : public CWindowCtrl {
public:
    static constexpr wchar_t kClassName[] = L"ImageList";

    CImageCtrlEx();
    ~CImageCtrlEx() override;

    using CWindowCtrl::Create;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    CImagePaintEx painter;
};
