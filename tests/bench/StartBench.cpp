// Start-up of the client to its launcher on screen (the back frame and the
// painted login window), against the floor of the same run: a bare program
// that shows one layered window of the same size and picture. Each program
// is started from a scratch folder and timed until its window is visible,
// then ended; floor and client alternate, in a counted run and in a first
// run whose statistics endpoint never answers. Then the resident memory of
// both once the client has settled in login mode. Prints medians and ratios.
#include "base/Product.h"
#include "frames/FrameBack.h"
#include "tests/programs/support/ClientDriver.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestProcess.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kRounds = 15;
constexpr int kMemoryRounds = 3;
constexpr DWORD kDeadlineMs = 30000;
// Long enough for the login window's browser to be made and to navigate.
constexpr DWORD kSettleMs = 4000;

double Now() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds from CreateProcess until the program's first picture is on
// screen (the client without a run count in its books runs for the first
// time); with settleMs, *megabytes is its resident memory that much later.
double MeasureStart(const wchar_t* program, const wchar_t* runCount, DWORD settleMs = 0,
                    double* megabytes = nullptr) {
    ScratchDir dir;
    const std::wstring exe = dir.File(program);
    CopyFileW((ExeDir() + L"\\" + program).c_str(), exe.c_str(), FALSE);
    if (runCount) WritePrivateProfileStringW(kSectionCommon, kKeyRunCount, runCount, dir.File(kConfigFileName).c_str());
    const bool client = wcscmp(program, kClientExeName) == 0;
    ScopedKernelHandle process;
    DWORD id = 0;
    const double start = Now();
    if (!StartProgram(exe, dir.Path(), process, &id)) return -1;
    HWND first = nullptr;
    HWND login = nullptr;
    auto shown = [&] {
        if (!first) first = FindProcessWindow(id, client ? CFrameBack::kClassName : L"bare_back", nullptr);
        if (!first || !IsWindowVisible(first)) return false;
        if (client && !login) login = FindProcessWindow(id, kClientWindowClass, kProductName);
        return !client || (login && IsWindowVisible(login) && !GetUpdateRect(login, nullptr, FALSE));
    };
    // Polled every millisecond: a poll of 20 would blur the figures.
    while (!shown() && Now() - start < kDeadlineMs) Sleep(1);
    const double elapsed = Now() - start;
    if (megabytes) {
        Sleep(settleMs);
        PROCESS_MEMORY_COUNTERS counters{};
        *megabytes = GetProcessMemoryInfo(process.Get(), &counters, sizeof(counters))
                         ? static_cast<double>(counters.WorkingSetSize) / (1024 * 1024)
                         : -1;
    }
    TerminateProcess(process.Get(), 0);
    WaitForSingleObject(process.Get(), kDeadlineMs);
    // The next start must not share the processor with this one's teardown.
    Sleep(kSettleMs / 8);
    return elapsed;
}

void Print(const char* title, int rounds, const char* unit, double client, double floor) {
    std::printf("%s (median of %d)\n", title, rounds);
    std::printf("  vstorm.exe:                     %8.1f %s\n", client, unit);
    std::printf("  floor (bare layered window):    %8.1f %s\n", floor, unit);
    std::printf("  ratio:                          %8.2f x\n", floor > 0 ? client / floor : 0.0);
}

}  // namespace

int wmain() {
    LoopbackHttpServer silent(LoopbackHttpServer::Mode::Silent, StatsPort());
    if (!silent.Listening()) {
        std::fprintf(stderr, "the statistics port is taken\n");
        return 1;
    }
    std::vector<double> floor, counted, firstRun, floorMemory(kMemoryRounds), clientMemory(kMemoryRounds);
    for (int i = 0; i < kRounds; ++i) {
        floor.push_back(MeasureStart(L"bare_back.exe", nullptr));
        counted.push_back(MeasureStart(kClientExeName, L"5"));
        firstRun.push_back(MeasureStart(kClientExeName, nullptr));
    }
    for (int i = 0; i < kMemoryRounds; ++i) {
        MeasureStart(L"bare_back.exe", nullptr, kSettleMs, &floorMemory[i]);
        MeasureStart(kClientExeName, L"5", kSettleMs, &clientMemory[i]);
    }
    Print("Start to the launcher on screen", kRounds, "ms", Median(counted), Median(floor));
    Print("The same, first run, statistics endpoint silent", kRounds, "ms", Median(firstRun), Median(floor));
    Print("Resident memory in login mode", kMemoryRounds, "MB", Median(clientMemory), Median(floorMemory));
    return 0;
}
