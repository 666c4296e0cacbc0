// Start-up of the client to its launcher on screen, against the floor of
// the same run: a bare program that shows one layered window of the same
// size and picture. Each program is started from a scratch folder, timed
// until its window is visible, then closed. Prints the medians and ratio.
#include "app/Product.h"
#include "frames/FrameBack.h"
#include "tests/support/ClientDriver.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestProcess.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRounds = 7;
constexpr DWORD kDeadlineMs = 30000;

double Now() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Median milliseconds from CreateProcess to a visible window of the class.
double MeasureStart(const wchar_t* program, const wchar_t* windowClass) {
    std::vector<double> times;
    for (int i = 0; i < kRounds; ++i) {
        ScratchDir dir;
        const std::wstring exe = dir.File(program);
        CopyFileW((ExeDir() + L"\\" + program).c_str(), exe.c_str(), FALSE);
        // Counted runs: the client sends no install report.
        WritePrivateProfileStringW(kSectionCommon, kKeyRunCount, L"5", dir.File(kConfigFileName).c_str());
        ScopedKernelHandle process;
        DWORD id = 0;
        const double start = Now();
        if (!StartProgram(exe, dir.Path(), process, &id)) return -1;
        HWND window = nullptr;
        WaitFor([&] { return (window = FindProcessWindow(id, windowClass, nullptr)) && IsWindowVisible(window); },
                kDeadlineMs);
        times.push_back(Now() - start);
        if (HWND frame = FindProcessWindow(id, kClientWindowClass, kProductName)) window = frame;
        PostMessageW(window, WM_CLOSE, 0, 0);
        WaitProgram(process.Get(), kDeadlineMs);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int wmain() {
    const double floor = MeasureStart(L"bare_back.exe", L"bare_back");
    const double client = MeasureStart(L"vstorm.exe", CFrameBack::kClassName);
    std::printf("Start to the launcher on screen (median of %d)\n", kRounds);
    std::printf("  vstorm.exe:                     %8.1f ms\n", client);
    std::printf("  floor (bare layered window):    %8.1f ms\n", floor);
    std::printf("  ratio:                          %8.2f x\n", floor > 0 ? client / floor : 0.0);
    return 0;
}
