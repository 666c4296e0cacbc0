#include "ui/Fonts.h"

#include "ui/ScopedGdi.h"

namespace {

constexpr wchar_t kElementFontFamily[] = L"宋体";
constexpr Gdiplus::REAL kElementFontPoints = 9.0f;
constexpr Gdiplus::REAL kPointsPerInch = 72.0f;

std::unique_ptr<Gdiplus::Font> FontOf(const Gdiplus::FontFamily& family, Gdiplus::REAL pixels,
                                      INT style) {
    if (!family.IsAvailable()) return nullptr;
    auto font = std::make_unique<Gdiplus::Font>(&family, pixels, style, Gdiplus::UnitPixel);
    if (font->GetLastStatus() != Gdiplus::Ok || !font->IsAvailable()) return nullptr;
    return font;
}

// The flat call, not FontFamily::GenericSansSerif: the wrapper caches a GDI+
// object in a global that would outlive the GDI+ session.
std::unique_ptr<Gdiplus::Font> GenericSansSerifFont(Gdiplus::REAL pixels, INT style) {
    Gdiplus::GpFontFamily* received = nullptr;
    const Gdiplus::Status found = Gdiplus::DllExports::GdipGetGenericFontFamilySansSerif(&received);
    ScopedGdipFontFamily generic(received);
    WCHAR name[LF_FACESIZE] = {};
    if (found != Gdiplus::Ok || !generic ||
        Gdiplus::DllExports::GdipGetFamilyName(generic.Get(), name, LANG_NEUTRAL) != Gdiplus::Ok) {
        return nullptr;
    }
    Gdiplus::FontFamily family(name);
    return FontOf(family, pixels, style);
}

// Systems without any of the generic sans-serif faces (Microsoft Sans Serif,
// Arial, Tahoma) still substitute some face for the GUI font; GDI+ resolves
// that substitute when it makes a font from the GDI font.
std::unique_ptr<Gdiplus::Font> GuiSubstituteFont(Gdiplus::REAL pixels, INT style) {
    ScopedWindowDc screen(nullptr);
    if (!screen) return nullptr;
    Gdiplus::Font gui(screen.Get(), static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    if (gui.GetLastStatus() != Gdiplus::Ok) return nullptr;
    Gdiplus::FontFamily family;
    if (gui.GetFamily(&family) != Gdiplus::Ok) return nullptr;
    return FontOf(family, pixels, style);
}

}  // namespace

std::unique_ptr<Gdiplus::Font> MakeFont(const wchar_t* family, Gdiplus::REAL points, INT style,
                                        UINT dpi) {
    const Gdiplus::REAL pixels = points * static_cast<Gdiplus::REAL>(dpi) / kPointsPerInch;
    if (family && *family) {
        Gdiplus::FontFamily wanted(family);
        if (auto font = FontOf(wanted, pixels, style)) return font;
    }
    if (auto font = GenericSansSerifFont(pixels, style)) return font;
    return GuiSubstituteFont(pixels, style);
}

std::unique_ptr<Gdiplus::Font> MakeDefaultElementFont(UINT dpi) {
    return MakeFont(kElementFontFamily, kElementFontPoints, Gdiplus::FontStyleRegular, dpi);
}
