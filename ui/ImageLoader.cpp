#include "ui/ImageLoader.h"

#include "base/Scoped.h"
#include "ui/PngPrefetch.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// The art of each scale, as tools/make-art.sh stores it: one resource type
// per scale under the image's own integer id, smallest first. The 100 % art
// is the plain "PNG" type and gives every image its size.
struct ArtScale {
    UINT dpi;
    const wchar_t* type;
};
constexpr ArtScale kArtScales[] = {
    {kBaseDpi, L"PNG"}, {120, L"PNG125"}, {144, L"PNG150"}, {168, L"PNG175"}, {192, L"PNG200"},
};
constexpr size_t kArtScaleCount = sizeof(kArtScales) / sizeof(kArtScales[0]);

// Wider or taller than this is no window's image at any scale; the limit
// keeps a hostile header or DPI from asking for gigabytes.
constexpr LONG kMaxImageSide = 1 << 14;

struct ResourceBytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

ResourceBytes FindPng(int id, const wchar_t* type) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(static_cast<WORD>(id)), type);
    if (!info) return ResourceBytes();
    const DWORD size = SizeofResource(module, info);
    HGLOBAL loaded = LoadResource(module, info);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0) return ResourceBytes();
    return ResourceBytes{static_cast<const BYTE*>(bytes), size};
}

DWORD BigEndian32(const BYTE* bytes) {
    return (DWORD{bytes[0]} << 24) | (DWORD{bytes[1]} << 16) | (DWORD{bytes[2]} << 8) | DWORD{bytes[3]};
}

// The size a PNG's header announces, read without decoding it.
bool PngSize(const ResourceBytes& png, LONG& width, LONG& height) {
    static constexpr BYTE kHead[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    constexpr DWORD kHeaderEnd = sizeof(kHead) + 8;
    if (!png.data || png.size < kHeaderEnd || std::memcmp(png.data, kHead, sizeof(kHead)) != 0) return false;
    const DWORD w = BigEndian32(png.data + sizeof(kHead));
    const DWORD h = BigEndian32(png.data + sizeof(kHead) + 4);
    if (w == 0 || h == 0 || w > kMaxImageSide || h > kMaxImageSide) return false;
    width = static_cast<LONG>(w);
    height = static_cast<LONG>(h);
    return true;
}

// A 100 % length at dpi, rounded half up as tools/make-art.sh rounds.
LONG ScaledLength(LONG length, UINT dpi) {
    const long long scaled = (static_cast<long long>(length) * dpi + kBaseDpi / 2) / kBaseDpi;
    return scaled < 1 ? 1 : static_cast<LONG>(std::min<long long>(scaled, kMaxImageSide + 1));
}

OwnedImage DecodePng(const ResourceBytes& png) {
    if (!png.data) return OwnedImage();
    ScopedGlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, png.size));
    void* target = block ? GlobalLock(block.Get()) : nullptr;
    if (!target) return OwnedImage();
    std::memcpy(target, png.data, png.size);
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

// source resampled to width by height in premultiplied pixels. The edges
// are mirrored for the filter, so that an opaque image stays opaque to its
// border instead of fading into the transparent outside.
OwnedImage Resample(const OwnedImage& source, LONG width, LONG height) {
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppPARGB);
    if (bitmap->GetLastStatus() != Gdiplus::Ok) return OwnedImage();
    {
        Gdiplus::Graphics graphics(bitmap.get());
        graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHighQuality);
        Gdiplus::ImageAttributes edges;
        edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
        const Gdiplus::Rect target(0, 0, width, height);
        if (graphics.DrawImage(source.Get(), target, 0, 0, static_cast<INT>(source->GetWidth()),
                               static_cast<INT>(source->GetHeight()), Gdiplus::UnitPixel, &edges) != Gdiplus::Ok) {
            return OwnedImage();
        }
    }
    return OwnedImage(std::move(bitmap));
}

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

OwnedImage LoadPngResource(int id, UINT dpi) {
    OwnedImage ahead;
    if (PngPrefetch::Take(id, dpi, ahead)) return ahead;
    return DecodePngResource(id, dpi);
}

OwnedImage DecodePngResource(int id, UINT dpi) {
    if (id == 0) return OwnedImage();
    const ResourceBytes base = FindPng(id, kArtScales[0].type);
    if (dpi == 0 || dpi == kBaseDpi) return DecodePng(base);
    LONG baseWidth = 0;
    LONG baseHeight = 0;
    if (!PngSize(base, baseWidth, baseHeight)) return OwnedImage();
    const LONG width = ScaledLength(baseWidth, dpi);
    const LONG height = ScaledLength(baseHeight, dpi);
    if (width > kMaxImageSide || height > kMaxImageSide) return OwnedImage();

    // The first scale at or above dpi (the largest when dpi is above all),
    // then the larger ones; the smaller ones last, largest first.
    size_t first = 0;
    while (first + 1 < kArtScaleCount && kArtScales[first].dpi < dpi) ++first;
    for (size_t step = 0; step < kArtScaleCount; ++step) {
        const size_t scale = first + step < kArtScaleCount ? first + step : kArtScaleCount - 1 - step;
        OwnedImage art = DecodePng(scale == 0 ? base : FindPng(id, kArtScales[scale].type));
        if (!art) continue;
        if (art->GetWidth() == static_cast<UINT>(width) && art->GetHeight() == static_cast<UINT>(height)) {
            return art;
        }
        return Resample(art, width, height);
    }
    return OwnedImage();
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
