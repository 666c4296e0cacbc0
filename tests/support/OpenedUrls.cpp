#include "tests/support/OpenedUrls.h"

#include "tests/support/ClientDriver.h"
#include "tests/support/TestFiles.h"
#include "ui/Scoped.h"
#include "ui/TextBuf.h"

#include <sstream>

namespace {

constexpr wchar_t kBrowserKey[] = L"Software\\Wine\\WineBrowser";
constexpr wchar_t kBrowsersValue[] = L"Browsers";

}  // namespace

OpenedUrls::OpenedUrls() : log_(ExeDir() + L"\\opened-urls.log") {
    DeleteFileW(log_.c_str());
    const std::string script = UnixPath(ExeDir() + L"\\log-url.sh");
    ScopedRegKey key;
    HKEY raw = nullptr;
    if (script.empty() || RegCreateKeyExW(HKEY_CURRENT_USER, kBrowserKey, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                          nullptr, &raw, nullptr) != ERROR_SUCCESS) {
        return;
    }
    key.Reset(raw);
    wchar_t previous[1024] = {};
    DWORD size = sizeof(previous) - sizeof(wchar_t);
    hadPrevious_ = RegQueryValueExW(key.Get(), kBrowsersValue, nullptr, nullptr, reinterpret_cast<BYTE*>(previous),
                                    &size) == ERROR_SUCCESS;
    previous_ = previous;
    const std::wstring value = AnsiToWide(script.c_str(), CP_UTF8);
    ready_ = RegSetValueExW(key.Get(), kBrowsersValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

OpenedUrls::~OpenedUrls() {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kBrowserKey, 0, KEY_WRITE, &raw) != ERROR_SUCCESS) return;
    ScopedRegKey key(raw);
    if (hadPrevious_) {
        RegSetValueExW(key.Get(), kBrowsersValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_.c_str()),
                       static_cast<DWORD>((previous_.size() + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteValueW(key.Get(), kBrowsersValue);
    }
    DeleteFileW(log_.c_str());
}

void OpenedUrls::Clear() const { DeleteFileW(log_.c_str()); }

std::vector<std::string> OpenedUrls::Urls() const {
    std::vector<std::string> urls;
    std::istringstream lines(ReadFileBytes(log_));
    std::string line;
    while (std::getline(lines, line)) urls.push_back(line);
    return urls;
}

bool OpenedUrls::WaitForCount(size_t count, DWORD ms) const {
    return WaitFor([&] { return Urls().size() >= count; }, ms);
}
