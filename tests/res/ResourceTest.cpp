// The artwork as the windows will find it: every PNG image by id decodes
// with GDI+ at the size its window lays out, with an alpha channel or
// without one as the drawing code expects, state images really differ,
// and icon group 128 holds every icon size. The client's resources are
// read from vstorm.exe; the uninstaller's from uninstall_resources.dll,
// which is built from the uninstaller's own resource script.
#include "res/UninstallResources.h"
#include "res/VstormResources.h"
#include "tests/support/TestFiles.h"
#include "ui/ScopedGdi.h"
#include "ui/ScopedCom.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

struct ModuleCloser {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ScopedModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleCloser>;

ScopedModule LoadResourceModule(const wchar_t* name) {
    const std::wstring path = ExeDir() + L"\\" + name;
    return ScopedModule(
        LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

std::string ResourceBytes(HMODULE module, int id, const wchar_t* type) {
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!info) return std::string();
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return std::string();
    return std::string(static_cast<const char*>(data), SizeofResource(module, info));
}

// A decoded image with the stream it was decoded from: GDI+ reads the
// stream for as long as the image lives, so the stream goes last.
struct DecodedImage {
    ComPtr<IStream> stream;
    std::unique_ptr<Gdiplus::Bitmap> bitmap;
};

DecodedImage DecodePng(HMODULE module, int id, const wchar_t* type = L"PNG") {
    DecodedImage image;
    const std::string bytes = ResourceBytes(module, id, type);
    if (bytes.empty()) return image;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size());
    if (!memory) return image;
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, image.stream.Receive()))) {
        GlobalFree(memory);
        return image;
    }
    image.bitmap = std::make_unique<Gdiplus::Bitmap>(image.stream.Get(), TRUE);
    if (image.bitmap->GetLastStatus() != Gdiplus::Ok) image.bitmap.reset();
    return image;
}

// All pixels as 32-bit ARGB, row by row.
std::vector<uint32_t> Pixels(Gdiplus::Bitmap& bitmap, int x, int y, int width, int height) {
    std::vector<uint32_t> pixels;
    Gdiplus::Rect rect(x, y, width, height);
    Gdiplus::BitmapData data;
    if (bitmap.LockBits(&rect, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
        return pixels;
    for (int row = 0; row < height; ++row) {
        auto* line = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(data.Scan0) + row * data.Stride);
        pixels.insert(pixels.end(), line, line + width);
    }
    bitmap.UnlockBits(&data);
    return pixels;
}

std::vector<uint32_t> Pixels(Gdiplus::Bitmap& bitmap) {
    return Pixels(bitmap, 0, 0, static_cast<int>(bitmap.GetWidth()), static_cast<int>(bitmap.GetHeight()));
}

unsigned Alpha(uint32_t argb) { return argb >> 24; }
unsigned Brightness(uint32_t argb) { return ((argb >> 16) & 0xFF) + ((argb >> 8) & 0xFF) + (argb & 0xFF); }

struct ExpectedImage {
    int id;
    int width;
    int height;
    bool alpha;
};

const ExpectedImage kClientImages[] = {
    {IDB_BACK_CLOSE, 62, 31, true},
    {IDB_BACK_OFFICIAL_SITE, 306, 49, true},
    {IDB_BACK_FORUM, 306, 49, true},
    {IDB_BACK_SERVICE, 306, 49, true},
    {IDB_BACK_TOPUP, 306, 49, true},
    {IDB_BACK_MINIMIZE, 56, 28, true},
    {IDB_CAPTION_ICON, 20, 20, true},
    {IDB_CAPTION_SERVICE, 82, 22, true},
    {IDB_CAPTION_FORUM, 82, 22, true},
    {IDB_CAPTION_OFFICIAL_SITE, 82, 22, true},
    {IDB_CAPTION_TOPUP, 82, 22, true},
    {IDB_CLOSE_PANEL, 295, 190, true},
    {IDB_CLOSE_OK, 68, 35, true},
    {IDB_BACK_PICTURE, 1450, 641, true},
    {IDB_CLOSE_OK_HOVER, 68, 35, true},
    {IDB_CLOSE_CANCEL, 68, 35, true},
    {IDB_CLOSE_CANCEL_HOVER, 68, 35, true},
    {IDB_CAPTION_TOOLS_PRESSED, 25, 25, true},
    {IDB_CAPTION_CLOSE_PRESSED, 25, 25, true},
    {IDB_CAPTION_FULLSCREEN, 25, 25, true},
    {IDB_CAPTION_FULLSCREEN_HOVER, 25, 25, true},
    {IDB_CAPTION_FULLSCREEN_PRESSED, 25, 25, true},
    {IDB_CAPTION_MAXIMIZE_PRESSED, 25, 25, true},
    {IDB_CAPTION_MINIMIZE_PRESSED, 25, 25, true},
    {IDB_CAPTION_RESTORE_PRESSED, 25, 25, true},
    {IDB_CAPTION_TOOLS, 25, 25, true},
    {IDB_CAPTION_TOOLS_HOVER, 25, 25, true},
    {IDB_CAPTION_CLOSE, 25, 25, true},
    {IDB_CAPTION_CLOSE_HOVER, 25, 25, true},
    {IDB_CAPTION_MAXIMIZE, 25, 25, true},
    {IDB_CAPTION_MAXIMIZE_HOVER, 25, 25, true},
    {IDB_CAPTION_MINIMIZE, 25, 25, true},
    {IDB_CAPTION_MINIMIZE_HOVER, 25, 25, true},
    {IDB_CAPTION_RESTORE, 25, 25, true},
    {IDB_CAPTION_RESTORE_HOVER, 25, 25, true},
    {IDB_CAPTION_BAR, 25, 25, true},
};

const ExpectedImage kUninstallerImages[] = {
    {IDB_WIZARD_CLOSE_HOVER, 25, 25, true},
    {IDB_WIZARD_CLOSE, 25, 25, true},
    {IDB_WIZARD_CLOSE_PRESSED, 25, 25, true},
    {IDB_WIZARD_CANCEL, 74, 21, true},
    {IDB_WIZARD_CANCEL_HOVER, 74, 21, true},
    {IDB_WIZARD_CANCEL_PRESSED, 74, 21, true},
    {IDB_WIZARD_CHECKBOX, 12, 12, false},
    {IDB_WIZARD_CHECKBOX_HOVER, 12, 12, false},
    {IDB_WIZARD_CHECKBOX_PRESSED, 12, 12, false},
    {IDB_WIZARD_CONTINUE, 74, 21, true},
    {IDB_WIZARD_CONTINUE_HOVER, 74, 21, true},
    {IDB_WIZARD_CONTINUE_PRESSED, 74, 21, true},
    {IDB_WIZARD_MASCOT, 129, 150, true},
    {IDB_WIZARD_BUBBLE, 161, 50, true},
    {IDB_WIZARD_CHECKBOX_CHECKED, 12, 12, false},
    {IDB_PROGRESS_TRACK, 500, 4, false},
    {IDB_PROGRESS_FILL, 371, 3, true},
};

// Each scale of the art is its own resource type, sized rounded half up.
const std::pair<const wchar_t*, int> kScales[] = {
    {L"PNG", 100}, {L"PNG125", 125}, {L"PNG150", 150}, {L"PNG175", 175}, {L"PNG200", 200}};
int Scaled(int length, int percent) { return (length * percent + 50) / 100; }

template <size_t N>
void ExpectImages(HMODULE module, const ExpectedImage (&images)[N], const wchar_t* type, int percent) {
    for (const ExpectedImage& expected : images) {
        SCOPED_TRACE("PNG resource " + std::to_string(expected.id) + " at " + std::to_string(percent));
        DecodedImage image = DecodePng(module, expected.id, type);
        ASSERT_TRUE(image.bitmap);
        EXPECT_EQ(static_cast<UINT>(Scaled(expected.width, percent)), image.bitmap->GetWidth());
        EXPECT_EQ(static_cast<UINT>(Scaled(expected.height, percent)), image.bitmap->GetHeight());
        if (percent != 100) continue;
        EXPECT_EQ(expected.alpha, Gdiplus::IsAlphaPixelFormat(image.bitmap->GetPixelFormat()) != FALSE);
    }
}

// Each group holds the looks of one control; a look that equals another
// would make a state invisible.
void ExpectDistinctImages(HMODULE module, std::initializer_list<int> ids) {
    std::set<std::vector<uint32_t>> seen;
    for (int id : ids) {
        SCOPED_TRACE("PNG resource " + std::to_string(id));
        DecodedImage image = DecodePng(module, id);
        ASSERT_TRUE(image.bitmap);
        EXPECT_TRUE(seen.insert(Pixels(*image.bitmap)).second);
    }
}

// Two-state strips: the hover half must not repeat the normal half.
void ExpectStripHalvesDiffer(HMODULE module, int id) {
    SCOPED_TRACE("PNG strip " + std::to_string(id));
    DecodedImage image = DecodePng(module, id);
    ASSERT_TRUE(image.bitmap);
    const int half = static_cast<int>(image.bitmap->GetWidth()) / 2;
    const int height = static_cast<int>(image.bitmap->GetHeight());
    EXPECT_NE(Pixels(*image.bitmap, 0, 0, half, height), Pixels(*image.bitmap, half, 0, half, height));
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colorCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

// Icon group 128 lists 16 to 64 and 256 pixel images, and each size is
// chosen and created the way the windows load their icons.
void ExpectIconGroup(HMODULE module) {
    const std::string group = ResourceBytes(module, 128, RT_GROUP_ICON);
    ASSERT_GE(group.size(), sizeof(GroupIconHeader));
    const auto* header = reinterpret_cast<const GroupIconHeader*>(group.data());
    ASSERT_EQ(group.size(), sizeof(GroupIconHeader) + header->count * sizeof(GroupIconEntry));
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 1);
    std::set<int> sizes;
    for (WORD i = 0; i < header->count; ++i) {
        EXPECT_EQ(entries[i].width, entries[i].height);
        sizes.insert(entries[i].width == 0 ? 256 : entries[i].width);  // 0 stands for 256
    }
    EXPECT_EQ((std::set<int>{16, 20, 24, 32, 40, 48, 64, 256}), sizes);

    for (int size : sizes) {
        SCOPED_TRACE("icon size " + std::to_string(size));
        const int id = LookupIconIdFromDirectoryEx(reinterpret_cast<BYTE*>(const_cast<char*>(group.data())),
                                                   TRUE, size, size, LR_DEFAULTCOLOR);
        std::string bits = ResourceBytes(module, id, RT_ICON);
        ASSERT_FALSE(bits.empty());
        ScopedIcon icon(CreateIconFromResourceEx(reinterpret_cast<BYTE*>(bits.data()),
                                                 static_cast<DWORD>(bits.size()), TRUE, 0x00030000, size,
                                                 size, LR_DEFAULTCOLOR));
        ASSERT_TRUE(icon);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon.Get(), &info));
        ScopedBitmap color(info.hbmColor);
        ScopedBitmap mask(info.hbmMask);
        BITMAP bitmap = {};
        ASSERT_TRUE(GetObjectW(color.Get(), sizeof(bitmap), &bitmap));
        EXPECT_EQ(size, bitmap.bmWidth);
        EXPECT_EQ(size, bitmap.bmHeight);
    }
}

class ClientResources : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(module_) << "vstorm.exe not loadable"; }
    ScopedModule module_ = LoadResourceModule(L"vstorm.exe");
};

class UninstallerResources : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(module_) << "uninstall_resources.dll not loadable"; }
    ScopedModule module_ = LoadResourceModule(L"uninstall_resources.dll");
};

TEST_F(ClientResources, EveryImageDecodesAtItsSize) {
    for (const auto& [type, percent] : kScales) ExpectImages(module_.get(), kClientImages, type, percent);
}

TEST_F(ClientResources, IconGroupHoldsEverySize) { ExpectIconGroup(module_.get()); }

TEST_F(ClientResources, ButtonStatesLookDifferent) {
    for (int id : {IDB_BACK_CLOSE, IDB_BACK_MINIMIZE, IDB_BACK_OFFICIAL_SITE, IDB_BACK_FORUM, IDB_BACK_SERVICE,
                   IDB_BACK_TOPUP, IDB_CAPTION_SERVICE, IDB_CAPTION_FORUM, IDB_CAPTION_OFFICIAL_SITE,
                   IDB_CAPTION_TOPUP})
        ExpectStripHalvesDiffer(module_.get(), id);
    ExpectDistinctImages(module_.get(), {IDB_CAPTION_CLOSE, IDB_CAPTION_CLOSE_HOVER, IDB_CAPTION_CLOSE_PRESSED});
    ExpectDistinctImages(module_.get(),
                         {IDB_CAPTION_MAXIMIZE, IDB_CAPTION_MAXIMIZE_HOVER, IDB_CAPTION_MAXIMIZE_PRESSED});
    ExpectDistinctImages(module_.get(), {IDB_CAPTION_RESTORE, IDB_CAPTION_RESTORE_HOVER, IDB_CAPTION_RESTORE_PRESSED});
    ExpectDistinctImages(module_.get(),
                         {IDB_CAPTION_MINIMIZE, IDB_CAPTION_MINIMIZE_HOVER, IDB_CAPTION_MINIMIZE_PRESSED});
    ExpectDistinctImages(module_.get(),
                         {IDB_CAPTION_FULLSCREEN, IDB_CAPTION_FULLSCREEN_HOVER, IDB_CAPTION_FULLSCREEN_PRESSED});
    ExpectDistinctImages(module_.get(), {IDB_CAPTION_TOOLS, IDB_CAPTION_TOOLS_HOVER, IDB_CAPTION_TOOLS_PRESSED});
    ExpectDistinctImages(module_.get(), {IDB_CAPTION_MAXIMIZE, IDB_CAPTION_RESTORE});
    ExpectDistinctImages(module_.get(), {IDB_CLOSE_OK, IDB_CLOSE_OK_HOVER, IDB_CLOSE_CANCEL, IDB_CLOSE_CANCEL_HOVER});
}

// The back picture is a layered window: it must be opaque under the login
// window and behind every button, or the desktop would show through.
TEST_F(ClientResources, BackPictureIsOpaqueWhereWindowsAndButtonsSit) {
    const RECT areas[] = {
        {377, 138, 1165, 583},                                                              // login window
        {1089, 62, 1117, 90},   {1118, 62, 1149, 93},                                       // minimise, close
        {398, 95, 551, 144},    {554, 95, 707, 144}, {842, 95, 995, 144}, {995, 95, 1148, 144},  // links
    };
    for (const auto& [type, percent] : kScales) {
        DecodedImage image = DecodePng(module_.get(), IDB_BACK_PICTURE, type);
        ASSERT_TRUE(image.bitmap);
        const auto at = [percent = percent](LONG length) { return Scaled(length, percent); };
        for (const RECT& area : areas) {
            SCOPED_TRACE("area at " + std::to_string(at(area.left)) + "," + std::to_string(at(area.top)));
            const std::vector<uint32_t> pixels = Pixels(*image.bitmap, at(area.left), at(area.top),
                                                        at(area.right) - at(area.left), at(area.bottom) - at(area.top));
            ASSERT_FALSE(pixels.empty());
            size_t translucent = 0;
            for (uint32_t pixel : pixels) translucent += Alpha(pixel) != 0xFF;
            EXPECT_EQ(0u, translucent);
        }
    }
}

// The caption bar is stretched over the whole caption: every column must
// be the same, and opaque, or the stretch shows seams and holes.
TEST_F(ClientResources, CaptionBarStretchesWithoutSeams) {
    DecodedImage image = DecodePng(module_.get(), IDB_CAPTION_BAR);
    ASSERT_TRUE(image.bitmap);
    const std::vector<uint32_t> first = Pixels(*image.bitmap, 0, 0, 1, 25);
    for (uint32_t pixel : first) EXPECT_EQ(0xFFu, Alpha(pixel));
    for (int x = 1; x < 25; ++x) EXPECT_EQ(first, Pixels(*image.bitmap, x, 0, 1, 25)) << "column " << x;
}

TEST_F(UninstallerResources, EveryImageDecodesAtItsSize) {
    for (const auto& [type, percent] : kScales) ExpectImages(module_.get(), kUninstallerImages, type, percent);
}

TEST_F(UninstallerResources, IconGroupHoldsEverySize) { ExpectIconGroup(module_.get()); }

TEST_F(UninstallerResources, ButtonStatesLookDifferent) {
    ExpectDistinctImages(module_.get(), {IDB_WIZARD_CLOSE, IDB_WIZARD_CLOSE_HOVER, IDB_WIZARD_CLOSE_PRESSED});
    ExpectDistinctImages(module_.get(), {IDB_WIZARD_CANCEL, IDB_WIZARD_CANCEL_HOVER, IDB_WIZARD_CANCEL_PRESSED});
    ExpectDistinctImages(module_.get(),
                         {IDB_WIZARD_CONTINUE, IDB_WIZARD_CONTINUE_HOVER, IDB_WIZARD_CONTINUE_PRESSED});
    ExpectDistinctImages(module_.get(), {IDB_WIZARD_CHECKBOX, IDB_WIZARD_CHECKBOX_HOVER, IDB_WIZARD_CHECKBOX_PRESSED});
}

// The close button sits on the orange title strip: transparent when idle,
// a white square of alpha 26 under the cursor and of alpha 64 when pressed.
TEST_F(UninstallerResources, CloseButtonGroundsHaveTheirOpacity) {
    const std::pair<int, unsigned> grounds[] = {
        {IDB_WIZARD_CLOSE, 0}, {IDB_WIZARD_CLOSE_HOVER, 26}, {IDB_WIZARD_CLOSE_PRESSED, 64}};
    for (const auto& [id, alpha] : grounds) {
        SCOPED_TRACE("PNG resource " + std::to_string(id));
        DecodedImage image = DecodePng(module_.get(), id);
        ASSERT_TRUE(image.bitmap);
        for (const POINT corner : {POINT{0, 0}, POINT{24, 0}, POINT{0, 24}, POINT{24, 24}}) {
            const uint32_t pixel = Pixels(*image.bitmap, corner.x, corner.y, 1, 1).at(0);
            EXPECT_EQ(alpha, Alpha(pixel));
            if (alpha != 0) {
                EXPECT_EQ(0xFFFFFFu, pixel & 0xFFFFFF);
            }
        }
    }
}

// The bar reveals its fill from the left as it grows, so the fill must
// run from dark to light.
TEST_F(UninstallerResources, ProgressFillBrightensToTheRight) {
    DecodedImage image = DecodePng(module_.get(), IDB_PROGRESS_FILL);
    ASSERT_TRUE(image.bitmap);
    const std::vector<uint32_t> row = Pixels(*image.bitmap, 0, 1, 371, 1);
    ASSERT_EQ(371u, row.size());
    EXPECT_LT(Brightness(row.front()) + 150, Brightness(row.back()));
    EXPECT_LE(Brightness(row[0]), Brightness(row[185]));
    EXPECT_LE(Brightness(row[185]), Brightness(row[370]));
}

}  // namespace
