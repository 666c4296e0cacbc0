// Decoding ahead the PNG resources a program shows first, at the DPI its
// first window will have, on a worker thread while the program starts:
// LoadPngResource then hands out the image decoded ahead instead of
// decoding it again.
//
// The worker takes the images in the given order. An image it has not begun
// is decoded by the thread that asks for it, so both threads decode at once;
// one it is decoding is waited for. Each image decoded ahead is handed out
// once: later loads of its id decode afresh. One object at a time decodes
// ahead, process-wide.
#pragma once

#include "ui/ImageLoader.h"

#include <thread>
#include <vector>

class PngPrefetch {
public:
    // Starts decoding ids at dpi on a worker thread. GDI+ must run from
    // before this object is made until after it is gone.
    explicit PngPrefetch(const std::vector<int>& ids, UINT dpi = kBaseDpi);
    // Lets the worker finish the image in hand, then drops the images that
    // nobody took.
    ~PngPrefetch();
    PngPrefetch(const PngPrefetch&) = delete;
    PngPrefetch& operator=(const PngPrefetch&) = delete;

    // True, with the image (empty if it did not decode), when id is decoded
    // ahead at dpi; false when it is not, and the caller decodes it.
    static bool Take(int id, UINT dpi, OwnedImage& image);

private:
    bool active_ = false;
    std::thread worker_;
};
