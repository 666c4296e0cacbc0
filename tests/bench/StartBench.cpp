// Start-up of the client against the floor of the same run: a bare program
// that shows one layered window of the launcher's size and picture. Each
// program starts from a scratch folder and is timed from CreateProcess
// until what it shows first is on screen: for the client the launcher, its
// back frame and the login window, both visible and the login window
// painted. Runs of the floor and the client alternate, so that load from
// elsewhere weighs on both alike. Prints the medians and ratios of:
// - a counted run (no install report);
// - a first run whose statistics endpoint takes the install report and
//   never answers (the client is ended once its launcher is measured);
// and the resident memory of both programs once the client has settled in
// login mode.
#include "app/Product.h"
#include "frames/FrameBack.h"
#include "tests/support/ClientDriver.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestProcess.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRounds = 15;
constexpr int kMemoryRounds = 3;
constexpr DWORD kDeadlineMs = 30000;
// Long enough for the login window's browser to be made and to navigate.
constexpr DWORD kSettleMs = 4000;
constexpr wchar_t kBareProgram[] = L"bare_back.exe";
constexpr wchar_t kBareClass[] = L"bare_back";
constexpr wchar_t kClientProgram[] = L"vstorm.exe";

double Now() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

enum class Run { Bare, Counted, FirstRun };

// One program started from a scratch folder of its own.
class Started {
public:
    explicit Started(Run run) : run_(run) {
        const wchar_t* program = run == Run::Bare ? kBareProgram : kClientProgram;
        const std::wstring exe = dir_.File(program);
        CopyFileW((ExeDir() + L"\\" + program).c_str(), exe.c_str(), FALSE);
        if (run == Run::Counted) {
            WritePrivateProfileStringW(kSectionCommon, kKeyRunCount, L"5", dir_.File(kConfigFileName).c_str());
        }
        start_ = Now();
        StartProgram(exe, dir_.Path(), process_, &id_);
    }

    // Milliseconds from the start until the first picture is on screen; -1
    // when it did not come within the deadline.
    double WaitUntilShown() {
        HWND first = nullptr;
        HWND login = nullptr;
        auto shown = [&] {
            if (run_ == Run::Bare) return Visible(first, kBareClass, nullptr);
            return Visible(first, CFrameBack::kClassName, nullptr) &&
                   Visible(login, kClientWindowClass, kProductName) && !GetUpdateRect(login, nullptr, FALSE);
        };
        // Polled every millisecond: a poll of 20 would blur the figures.
        while (!shown()) {
            if (Now() - start_ > kDeadlineMs) return -1;
            Sleep(1);
        }
        return Now() - start_;
    }

    // The resident memory of the process now, in megabytes.
    double ResidentMegabytes() const {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        if (!GetProcessMemoryInfo(process_.Get(), &counters, sizeof(counters))) return -1;
        return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
    }

    // A counted client is closed as a player would close it; the others are
    // ended.
    ~Started() {
        HWND frame = run_ == Run::Counted ? FindProcessWindow(id_, kClientWindowClass, kProductName) : nullptr;
        if (frame) {
            PostMessageW(frame, WM_CLOSE, 0, 0);
            WaitProgram(process_.Get(), kDeadlineMs);
        } else {
            TerminateProcess(process_.Get(), 0);
            WaitForSingleObject(process_.Get(), kDeadlineMs);
        }
    }

private:
    bool Visible(HWND& window, const wchar_t* className, const wchar_t* title) const {
        if (!window) window = FindProcessWindow(id_, className, title);
        return window && IsWindowVisible(window);
    }

    Run run_;
    ScratchDir dir_;
    ScopedKernelHandle process_;
    DWORD id_ = 0;
    double start_ = 0;
};

void PrintRatio(const char* title, const char* unit, double client, double floor) {
    std::printf("%s\n", title);
    std::printf("  vstorm.exe:                     %8.1f %s\n", client, unit);
    std::printf("  floor (bare layered window):    %8.1f %s\n", floor, unit);
    std::printf("  ratio:                          %8.2f x\n", floor > 0 ? client / floor : 0.0);
}

}  // namespace

int wmain() {
    LoopbackHttpServer silent(LoopbackHttpServer::Mode::Silent, StatsPort());
    if (!silent.Listening()) {
        std::fprintf(stderr, "cannot listen on the statistics port\n");
        return 1;
    }
    std::vector<double> bare, counted, firstRun;
    for (int i = 0; i < kRounds; ++i) {
        bare.push_back(Started(Run::Bare).WaitUntilShown());
        counted.push_back(Started(Run::Counted).WaitUntilShown());
        firstRun.push_back(Started(Run::FirstRun).WaitUntilShown());
    }
    std::vector<double> bareMemory, clientMemory;
    for (int i = 0; i < kMemoryRounds; ++i) {
        for (Run run : {Run::Bare, Run::Counted}) {
            Started program(run);
            program.WaitUntilShown();
            Sleep(kSettleMs);
            (run == Run::Bare ? bareMemory : clientMemory).push_back(program.ResidentMegabytes());
        }
    }

    const double floor = Median(bare);
    char title[128];
    std::snprintf(title, sizeof(title), "Start to the launcher on screen (median of %d)", kRounds);
    PrintRatio(title, "ms", Median(counted), floor);
    std::snprintf(title, sizeof(title), "The same, first run, statistics endpoint silent (median of %d)", kRounds);
    PrintRatio(title, "ms", Median(firstRun), floor);
    std::snprintf(title, sizeof(title), "Resident memory in login mode (median of %d)", kMemoryRounds);
    PrintRatio(title, "MB", Median(clientMemory), Median(bareMemory));
    return 0;
}
