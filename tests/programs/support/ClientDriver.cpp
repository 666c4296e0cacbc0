#include "tests/programs/support/ClientDriver.h"

#include "base/Product.h"
#include "frames/FrameBack.h"
#include "tests/support/TestProcess.h"

#include <cwchar>

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId) return TRUE;
    wchar_t text[256] = {};
    GetClassNameW(window, text, 256);
    if (wcscmp(text, search->className) != 0) return TRUE;
    if (search->title) {
        text[0] = L'\0';
        GetWindowTextW(window, text, 256);
        if (wcscmp(text, search->title) != 0) return TRUE;
    }
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* title) {
    WindowSearch search{processId, className, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

ClientProcess::~ClientProcess() {
    if (Running()) {
        TerminateProcess(process_.Get(), kProgramDidNotEnd);
        WaitForSingleObject(process_.Get(), 5000);
    }
}

bool ClientProcess::Start(const std::wstring& exe, const std::wstring& workDir) {
    return StartProgram(exe, workDir, process_, &processId_);
}

bool ClientProcess::Running() const {
    return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

HWND ClientProcess::WaitForFrame(DWORD ms) {
    HWND frame = nullptr;
    WaitFor([&] {
        frame = FindProcessWindow(processId_, kClientWindowClass, kProductName);
        return frame != nullptr || !Running();
    }, ms);
    return frame;
}

HWND ClientProcess::BackFrame() const { return FindProcessWindow(processId_, CFrameBack::kClassName, nullptr); }

HWND ClientProcess::Question() const { return FindProcessWindow(processId_, kClientWindowClass, L""); }

void ClientProcess::RequestClose() {
    if (HWND frame = FindProcessWindow(processId_, kClientWindowClass, kProductName)) {
        PostMessageW(frame, WM_CLOSE, 0, 0);
    }
}

DWORD ClientProcess::Close(DWORD ms) {
    RequestClose();
    return WaitForExit(ms);
}

DWORD ClientProcess::WaitForExit(DWORD ms) { return WaitProgram(process_.Get(), ms); }
