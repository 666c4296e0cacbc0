#include "ui/SanDC.h"

CSanDC::CSanDC(HDC target, const RECT& client, const RECT& update)
    : update_(update), target_(target) {
    if (!target) return;
    memoryDc_ = CreateCompatibleDC(target);
    if (!memoryDc_) return;
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width > 0 && height > 0) bitmap_ = CreateCompatibleBitmap(target, width, height);
    if (bitmap_) oldBitmap_ = SelectObject(memoryDc_, bitmap_);
}

CSanDC::~CSanDC() {
    if (!memoryDc_) return;
    if (bitmap_ && oldBitmap_) {
        const int width = update_.right - update_.left;
        const int height = update_.bottom - update_.top;
        if (width > 0 && height > 0) {
            BitBlt(target_, update_.left, update_.top, width, height, memoryDc_, update_.left,
                   update_.top, SRCCOPY);
        }
        SelectObject(memoryDc_, oldBitmap_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    DeleteDC(memoryDc_);
}
