#include "frames/Screenshot.h"

#include "base/PlayerData.h"
#include "base/Product.h"
#include "base/Scoped.h"
#include "base/TextBuf.h"
#include "ui/Drawing.h"
#include "ui/ScopedCom.h"
#include "ui/ScopedGdi.h"

#include <objidl.h>
#include <gdiplus.h>
#include <shlobj.h>

#include <cwchar>
#include <vector>

namespace Screenshot {

namespace {

constexpr wchar_t kPngType[] = L"image/png";
constexpr size_t kNameUnits = 64;
// The most files one second may have before a shot gives up.
constexpr int kMaxAttempts = 100;

// "2026-12-10 10-38-14.png" for the first attempt, then
// "2026-12-10 10-38-14 (2).png" and so on.
void FileName(const SYSTEMTIME& t, int attempt, wchar_t (&name)[kNameUnits]) {
    if (attempt <= 1) {
        Format(name, L"%04u-%02u-%02u %02u-%02u-%02u.png", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    } else {
        Format(name, L"%04u-%02u-%02u %02u-%02u-%02u (%d).png", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
               t.wSecond, attempt);
    }
}

bool PngEncoder(CLSID& encoder) {
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
    std::vector<BYTE> buffer(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && wcscmp(codecs[i].MimeType, kPngType) == 0) {
            encoder = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

// The PNG file's bytes of what the screen shows in rect; empty on failure.
std::vector<BYTE> EncodeScreen(const RECT& rect) {
    const int width = RectWidth(rect);
    const int height = RectHeight(rect);
    ScopedWindowDc screen(nullptr);
    if (!screen) return {};
    ScopedMemoryDc memory(CreateCompatibleDC(screen.Get()));
    ScopedBitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    if (!memory || !bitmap) return {};
    {
        ScopedSelectObject select(memory.Get(), bitmap.Get());
        // CAPTUREBLT: layered windows over the page are part of what the
        // player sees.
        if (!BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY | CAPTUREBLT)) {
            return {};
        }
    }
    CLSID encoder{};
    if (!PngEncoder(encoder)) return {};
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Receive()))) return {};
    Gdiplus::Bitmap picture(bitmap.Get(), nullptr);
    if (picture.GetLastStatus() != Gdiplus::Ok || picture.Save(stream.Get(), &encoder, nullptr) != Gdiplus::Ok) {
        return {};
    }
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart == 0 ||
        stat.cbSize.QuadPart > MAXDWORD) {
        return {};
    }
    std::vector<BYTE> png(static_cast<size_t>(stat.cbSize.QuadPart));
    ULONG read = 0;
    const LARGE_INTEGER start{};
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) ||
        FAILED(stream->Read(png.data(), static_cast<ULONG>(png.size()), &read)) || read != png.size()) {
        return {};
    }
    return png;
}

// The product's folder in the player's Pictures, made when missing.
Result ShotFolder(wchar_t (&folder)[MAX_PATH]) {
    wchar_t pictures[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, pictures) != S_OK || !pictures[0]) {
        return Result::NoFolder;
    }
    if (!Format(folder, L"%s\\%s", pictures, kProductName)) return Result::NoFolder;
    if (!MakeFolder(folder)) return Result::NotWritten;
    // A file of that name is not a folder to write into.
    const DWORD attributes = GetFileAttributesW(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return Result::NotWritten;
    return Result::Saved;
}

Result WriteNew(const wchar_t* path, const std::vector<BYTE>& png, bool& taken) {
    taken = false;
    // CREATE_NEW: a file that is there, whoever made it, is never opened.
    ScopedKernelHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
        return error == ERROR_DISK_FULL ? Result::DiskFull : Result::NotWritten;
    }
    DWORD written = 0;
    if (WriteFile(file.Get(), png.data(), static_cast<DWORD>(png.size()), &written, nullptr) &&
        written == png.size()) {
        return Result::Saved;
    }
    const DWORD error = GetLastError();
    // A cut picture is no shot; the file is ours, made just now.
    file.Reset();
    DeleteFileW(path);
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? Result::DiskFull : Result::NotWritten;
}

}  // namespace

Result Take(const RECT& screenRect, wchar_t (&path)[MAX_PATH]) {
    wmemset(path, L'\0', MAX_PATH);
    if (IsRectEmpty(&screenRect)) return Result::NoPicture;
    // The screen first: the folder's making must not let the picture change.
    const std::vector<BYTE> png = EncodeScreen(screenRect);
    if (png.empty()) return Result::NoPicture;
    wchar_t folder[MAX_PATH];
    const Result made = ShotFolder(folder);
    if (made != Result::Saved) return made;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        wchar_t name[kNameUnits];
        FileName(now, attempt, name);
        if (!Format(path, L"%s\\%s", folder, name)) break;
        bool taken = false;
        const Result written = WriteNew(path, png, taken);
        if (written == Result::Saved) return written;
        if (!taken) {
            wmemset(path, L'\0', MAX_PATH);
            return written;
        }
    }
    wmemset(path, L'\0', MAX_PATH);
    return Result::NameTaken;
}

void ShowInFolder(const wchar_t* path) {
    if (!path || !*path) return;
    ScopedItemIdList item(ILCreateFromPathW(path));
    if (item) SHOpenFolderAndSelectItems(item.Get(), 0, nullptr, 0);
}

}  // namespace Screenshot
