// Flicker-free painting: a memory DC with a bitmap of the whole client area
// that the owner draws everything into; at destruction the update rectangle
// is copied to the target DC in one BitBlt.
#pragma once

#include "ui/ScopedGdi.h"

#include <windows.h>

class CSanDC {
public:
    // target: the paint DC; client: the owner's client rectangle (the
    // bitmap's size); update: the part copied back at the end.
    CSanDC(HDC target, const RECT& client, const RECT& update);
    virtual ~CSanDC();

    CSanDC(const CSanDC&) = delete;
    CSanDC& operator=(const CSanDC&) = delete;

    // The memory DC to draw into; null when it could not be made.
    HDC Get() const { return memoryDc_.Get(); }

private:
    RECT update_{};
    HDC target_ = nullptr;
    // Declared in the order of making: the bitmap leaves the DC before
    // either goes.
    ScopedMemoryDc memoryDc_;
    ScopedBitmap bitmap_;
    ScopedSelectObject selected_;
};
