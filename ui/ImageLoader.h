// Images of the toolkit: PNG resources of the executable and state images
// cut out of strips.
//
// A GDI+ image decoded from a stream may read the stream again for as long
// as it lives, so an image made from a stream keeps it in the same owning
// object and releases it after the image. Resource images are decoded once
// into premultiplied bitmaps and need no stream. Elements hold their images
// as OwnedImage.
#pragma once

#include "ui/Dpi.h"
#include "ui/ScopedCom.h"

#include <windows.h>
#include <objidl.h>  // gdiplus.h needs it under WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <memory>

class OwnedImage {
public:
    OwnedImage() = default;
    explicit OwnedImage(std::unique_ptr<Gdiplus::Image> image,
                        ComPtr<IStream> stream = ComPtr<IStream>()) noexcept;
    ~OwnedImage() { Reset(); }
    OwnedImage(OwnedImage&& other) noexcept;
    OwnedImage& operator=(OwnedImage&& other) noexcept;
    OwnedImage(const OwnedImage&) = delete;
    OwnedImage& operator=(const OwnedImage&) = delete;

    Gdiplus::Image* Get() const noexcept { return image_.get(); }
    Gdiplus::Image* operator->() const noexcept { return image_.get(); }
    explicit operator bool() const noexcept { return image_ != nullptr; }

    // Releases the image, then its stream.
    void Reset() noexcept;

private:
    ComPtr<IStream> stream_;
    std::unique_ptr<Gdiplus::Image> image_;
};

// The PNG image of the executable with the low 16 bits of id as its integer
// name, for a screen of dpi dots per inch (0 counts as kBaseDpi),
// decoded with embedded colour management into a 32-bit premultiplied
// bitmap. It has the size of the image's 100 % art times dpi / 96, rounded
// half up (as MulDiv rounds). It comes from the art made for that scale
// where there is some; else from the next larger scale's art resampled
// down, above the largest scale from the largest. A smaller scale is
// stretched up only when no larger one decodes. Only the chosen scale is
// decoded. Empty for id 0, a missing 100 % resource, data that does not
// decode or a side longer than any window's image at any scale.
OwnedImage DecodePngResource(int id, UINT dpi = kBaseDpi);
// The same, or the image decoded ahead at that DPI (ui/PngPrefetch.h).
OwnedImage LoadPngResource(int id, UINT dpi = kBaseDpi);

// A new 32-bit ARGB bitmap of width by height holding the part of source
// that starts at (x, 0), cut with a tiling texture brush. Empty when there
// is no source, the size is not positive or the part lies outside source.
OwnedImage CropImage(Gdiplus::Image* source, int x, int width, int height);
