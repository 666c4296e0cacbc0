#include "ui/ImageLoader.h"

#include "base/Scoped.h"
#include "ui/PngPrefetch.h"

#include <cstring>
#include <utility>

namespace {

constexpr wchar_t kPngResourceType[] = L"PNG";

}  // namespace

OwnedImage::OwnedImage(std::unique_ptr<Gdiplus::Image> image, ComPtr<IStream> stream) noexcept
    : stream_(std::move(stream)), image_(std::move(image)) {}

OwnedImage::OwnedImage(OwnedImage&& other) noexcept
    : stream_(std::move(other.stream_)), image_(std::move(other.image_)) {}

OwnedImage& OwnedImage::operator=(OwnedImage&& other) noexcept {
    if (this != &other) {
        Reset();
        stream_ = std::move(other.stream_);
        image_ = std::move(other.image_);
    }
    return *this;
}

void OwnedImage::Reset() noexcept {
    image_.reset();
    stream_.Reset();
}

OwnedImage LoadPngResource(int id) {
    OwnedImage ahead;
    if (PngPrefetch::Take(id, ahead)) return ahead;
    return DecodePngResource(id);
}

OwnedImage DecodePngResource(int id) {
    if (id == 0) return OwnedImage();
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(static_cast<WORD>(id)), kPngResourceType);
    if (!info) return OwnedImage();
    const DWORD size = SizeofResource(module, info);
    HGLOBAL loaded = LoadResource(module, info);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0) return OwnedImage();

    ScopedGlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    void* target = block ? GlobalLock(block.Get()) : nullptr;
    if (!target) return OwnedImage();
    std::memcpy(target, bytes, size);
    GlobalUnlock(block.Get());

    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block.Get(), TRUE, stream.Receive())) || !stream) return OwnedImage();
    // The stream owns the block now and frees it with its last release.
    block.Release();
    Gdiplus::Bitmap decoded(stream.Get(), TRUE);
    const INT width = static_cast<INT>(decoded.GetWidth());
    const INT height = static_cast<INT>(decoded.GetHeight());
    if (decoded.GetLastStatus() != Gdiplus::Ok || width == 0 || height == 0) return OwnedImage();
    // Decoded once into premultiplied pixels: drawing a PNG-backed image
    // converts every pixel on every paint, which costs a layered window
    // more than handing its frame to the system. The decoded pixels are
    // converted straight into the new bitmap's memory, without a drawing
    // pass.
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppPARGB);
    if (bitmap->GetLastStatus() != Gdiplus::Ok) return OwnedImage();
    Gdiplus::Rect whole(0, 0, width, height);
    Gdiplus::BitmapData pixels{};
    if (bitmap->LockBits(&whole, Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB, &pixels) != Gdiplus::Ok) {
        return OwnedImage();
    }
    Gdiplus::BitmapData source = pixels;
    const Gdiplus::Status read = decoded.LockBits(
        &whole, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppPARGB, &source);
    if (read == Gdiplus::Ok) decoded.UnlockBits(&source);
    bitmap->UnlockBits(&pixels);
    if (read != Gdiplus::Ok) return OwnedImage();
    return OwnedImage(std::move(bitmap));
}

OwnedImage CropImage(Gdiplus::Image* source, int x, int width, int height) {
    if (!source || width <= 0 || height <= 0 || x < 0) return OwnedImage();
    const INT sourceWidth = static_cast<INT>(source->GetWidth());
    const INT sourceHeight = static_cast<INT>(source->GetHeight());
    if (x >= sourceWidth || width > sourceWidth - x || height > sourceHeight) return OwnedImage();

    Gdiplus::TextureBrush texture(source, Gdiplus::WrapModeTile, x, 0, width, height);
    if (texture.GetLastStatus() != Gdiplus::Ok) return OwnedImage();
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    if (bitmap->GetLastStatus() != Gdiplus::Ok) return OwnedImage();
    {
        Gdiplus::Graphics graphics(bitmap.get());
        if (graphics.FillRectangle(&texture, 0, 0, width, height) != Gdiplus::Ok) {
            return OwnedImage();
        }
    }
    return OwnedImage(std::move(bitmap));
}
