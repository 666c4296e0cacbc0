#include "tests/support/OpenedUrls.h"

#include "tests/support/TestFiles.h"
#include "tests/support/TestWindows.h"
#include "base/TextBuf.h"

#include <sstream>

namespace {

constexpr wchar_t kBrowserKey[] = L"Software\\Wine\\WineBrowser";
constexpr wchar_t kBrowsersValue[] = L"Browsers";

}  // namespace

OpenedUrls::OpenedUrls() : log_(ExeDir() + L"\\opened-urls.log") {
    DeleteFileW(log_.c_str());
    const std::string script = UnixPath(ExeDir() + L"\\log-url.sh");
    if (script.empty()) return;
    browsers_.emplace(kBrowserKey, kBrowsersValue, AnsiToWide(script.c_str(), CP_UTF8), REG_SZ);
    ready_ = true;
}

// The browser list comes back first, then the log goes.
OpenedUrls::~OpenedUrls() {
    browsers_.reset();
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
