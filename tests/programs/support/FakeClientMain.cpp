#include "app/GameApp.h"
#include "frames/FrameGame.h"
#include "tests/programs/support/FakeClient.h"
#include "tests/support/FakeWebBrowser.h"
#include "tests/support/TestFiles.h"
#include "ui/ScopedCom.h"
#include "base/TextBuf.h"

#include <windows.h>
#include <docobj.h>

#include <sstream>
#include <string>
#include <thread>

namespace {

class FakeBrowserGameApp : public gameApp {
protected:
    std::unique_ptr<CHtmlAppManager> MakeHtmlManager() override {
        return std::make_unique<FakeBrowserThreadManager<CHtmlAppManager>>();
    }
};

std::wstring ProgramFile(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\') + 1) + name;
}

void LoadPages() {
    std::wistringstream lines(AnsiToWide(ReadFileBytes(ProgramFile(kFakePagesFile)).c_str(), CP_UTF8));
    std::wstring line;
    std::wstring url;
    FakePage page;
    auto store = [&] {
        if (!url.empty()) FakeWeb::SetPage(url, page);
    };
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        const size_t space = line.find(L' ');
        const std::wstring word = line.substr(0, space);
        const std::wstring rest = space == std::wstring::npos ? L"" : line.substr(space + 1);
        if (word == L"page") {
            store();
            url = rest;
            page = FakePage();
        } else if (word == L"title") {
            page.title = rest;
        } else if (word == L"element") {
            const size_t gap = rest.find(L' ');
            page.elements[rest.substr(0, gap)].innerText = gap == std::wstring::npos ? L"" : rest.substr(gap + 1);
        } else if (word == L"popup") {
            page.popups.push_back(rest);
        } else if (word == L"unasked-popup") {
            page.unaskedPopups.push_back(rest);
        } else if (word == L"frame") {
            page.frames.push_back(rest);
        } else if (word == L"then") {
            page.then.push_back(rest);
        } else if (word == L"hang") {
            page.hangs = true;
        } else if (word == L"click") {
            page.clickGoesTo = rest;
        } else if (word == L"incomplete") {
            page.completes = false;
        }
    }
    store();
}

LRESULT CALLBACK AudioProbeProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != kFakeAudioQueryMessage) return DefWindowProcW(window, msg, wParam, lParam);
    CFrameGame* frame = g_app ? g_app->mainFrame : nullptr;
    return !frame ? -2 : wParam ? frame->view.Zoom() : frame->sound.Muted();
}

// On a thread of its own, so that it answers whatever the client does.
void ServeAudioProbe() {
    std::thread([] {
        const WNDCLASSW windowClass{0, AudioProbeProc, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr,
                                    nullptr, kFakeAudioProbeClass};
        RegisterClassW(&windowClass);
        CreateWindowExW(0, kFakeAudioProbeClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    }).detach();
}

void WriteLog() {
    std::wstring log;
    for (const std::wstring& url : FakeWeb::Navigations()) log += L"navigate " + url + L"\n";
    for (const std::wstring& url : FakeWeb::OpenedWindows()) log += L"opened " + url + L"\n";
    for (int i = 0; i < FakeWeb::Refreshes(); ++i) log += L"refresh\n";
    for (const auto& command : FakeWeb::Commands()) {
        if (command.first == OLECMDID_OPTICAL_ZOOM) log += L"zoom " + std::to_wstring(command.second) + L"\n";
    }
    char bytes[16384];
    WideToAnsi(log.c_str(), bytes, CP_UTF8);
    WriteFileBytes(ProgramFile(kFakeLogFile), bytes);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    OleSession ole;
    if (ole.Result() != S_OK) return 0;
    LoadPages();
    ServeAudioProbe();
    {
        FakeBrowserGameApp app;
        g_app = &app;
        app.Run();
        g_app = nullptr;
    }
    WriteLog();
    return 0;
}
