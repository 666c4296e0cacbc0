#include "ui/SanDC.h"

namespace {

HBITMAP MakeBitmap(HDC target, HDC memoryDc, const RECT& client) {
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (!memoryDc || width <= 0 || height <= 0) return nullptr;
    return CreateCompatibleBitmap(target, width, height);
}

}  // namespace

CSanDC::CSanDC(HDC target, const RECT& client, const RECT& update)
    : update_(update),
      target_(target),
      memoryDc_(target ? CreateCompatibleDC(target) : nullptr),
      bitmap_(MakeBitmap(target, memoryDc_.Get(), client)),
      selected_(memoryDc_.Get(), bitmap_.Get()) {}

CSanDC::~CSanDC() {
    if (!selected_) return;
    const int width = update_.right - update_.left;
    const int height = update_.bottom - update_.top;
    if (width > 0 && height > 0) {
        BitBlt(target_, update_.left, update_.top, width, height, memoryDc_.Get(), update_.left, update_.top,
               SRCCOPY);
    }
}
