#include "base/CrashTrace.h"

#include "base/PlayerData.h"
#include "base/Scoped.h"
#include "base/TextBuf.h"

#include <windows.h>
#include <dbghelp.h>

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

namespace {

// An uncaught C++ exception ends in std::terminate, not in the filter; it
// is raised as this code so that it leaves the same trace.
constexpr DWORD kTerminateCode = 0xE0000001;
constexpr size_t kLineBytes = 256;
constexpr DWORD kLockTries = 20;
constexpr DWORD kLockPauseMs = 25;
// Another thread that faults while the first writes its dump waits for the
// end the first one brings, at most this long.
constexpr DWORD kSecondFaultWaitMs = 10000;
// How long a faulting thread waits for its dump before the process ends
// (Wine's dump writer takes seconds; Windows' a fraction of one).
constexpr DWORD kDumpWaitMs = 10000;

using MiniDumpWriteDumpFunction = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                                PMINIDUMP_EXCEPTION_INFORMATION,
                                                PMINIDUMP_USER_STREAM_INFORMATION, PMINIDUMP_CALLBACK_INFORMATION);

// Ready before any fault: the filter only formats into these.
struct TraceState {
    bool started = false;
    bool logging = false;
    wchar_t program[kTraceProgramUnits] = {};
    wchar_t crashes[MAX_PATH] = {};
    wchar_t logPaths[kTraceLogFiles][MAX_PATH] = {};
    wchar_t dumpPath[MAX_PATH] = {};
    char line[kLineBytes] = {};
    MiniDumpWriteDumpFunction writeDump = nullptr;
    SRWLOCK lock = SRWLOCK_INIT;
    volatile LONG crashingThread = 0;
    // The dump is written by a thread made at the start, not by the faulting
    // one, whose stack and state may be what failed.
    ScopedKernelHandle dumpRequested;
    ScopedKernelHandle dumpDone;
    EXCEPTION_POINTERS* faultInfo = nullptr;
    DWORD faultThread = 0;
    bool dumped = false;
};

TraceState g_trace;

// The line goes to the newest file; one that would pass the bound is moved
// down first and the oldest dropped.
void AppendLine(const char* text, size_t length) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(g_trace.logPaths[0], GetFileExInfoStandard, &data) &&
        (data.nFileSizeHigh != 0 || data.nFileSizeLow + length > kTraceLogBytes)) {
        for (int older = kTraceLogFiles - 1; older > 0; --older) {
            MoveFileExW(g_trace.logPaths[older - 1], g_trace.logPaths[older], MOVEFILE_REPLACE_EXISTING);
        }
    }
    ScopedKernelHandle file(CreateFileW(g_trace.logPaths[0], FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file) WriteFile(file.Get(), text, static_cast<DWORD>(length), &written, nullptr);
}

// Formats "<UTC time> <pid> <thread> <event>" into the shared line and
// appends it; the caller holds the lock (or gave up waiting for it).
void WriteLine(const char* event) {
    SYSTEMTIME now{};
    GetSystemTime(&now);
    Format(g_trace.line, "%04u-%02u-%02u %02u:%02u:%02u.%03uZ %lu %lu %s\r\n", now.wYear, now.wMonth, now.wDay,
           now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, GetCurrentProcessId(), GetCurrentThreadId(),
           event);
    AppendLine(g_trace.line, strlen(g_trace.line));
}

// Keeps room for one more dump: the oldest of this program's go.
void PruneDumps() {
    wchar_t pattern[MAX_PATH];
    if (!Format(pattern, L"%s\\%s-*.dmp", g_trace.crashes, g_trace.program)) return;
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    ScopedFindHandle find(FindFirstFileW(pattern, &entry));
    if (find) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(entry.cFileName);
        } while (FindNextFileW(find.Get(), &entry));
    }
    // The names carry their time, so their order is their age.
    std::sort(names.begin(), names.end());
    for (size_t i = 0; i + (kKeptDumps - 1) < names.size(); ++i) {
        DeleteFileW((std::wstring(g_trace.crashes) + L"\\" + names[i]).c_str());
    }
}

// Loaded from the system folder by its full path, never from the program's.
MiniDumpWriteDumpFunction LoadDumpWriter() {
    wchar_t system[MAX_PATH];
    wchar_t path[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !Format(path, L"%s\\dbghelp.dll", system)) return nullptr;
    // Kept for the life of the process: the filter may need it at any time.
    HMODULE dbghelp = LoadLibraryW(path);
    return dbghelp ? reinterpret_cast<MiniDumpWriteDumpFunction>(
                         reinterpret_cast<void*>(GetProcAddress(dbghelp, "MiniDumpWriteDump")))
                   : nullptr;
}

bool WriteDump(EXCEPTION_POINTERS* info, DWORD threadId) {
    SYSTEMTIME now{};
    GetSystemTime(&now);
    if (!g_trace.writeDump ||
        !Format(g_trace.dumpPath, L"%s\\%s-%04u%02u%02u-%02u%02u%02u-%lu.dmp", g_trace.crashes, g_trace.program,
                now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, GetCurrentProcessId())) {
        return false;
    }
    ScopedKernelHandle file(CreateFileW(g_trace.dumpPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    MINIDUMP_EXCEPTION_INFORMATION exception{};
    exception.ThreadId = threadId;
    exception.ExceptionPointers = info;
    exception.ClientPointers = FALSE;
    return g_trace.writeDump(GetCurrentProcess(), GetCurrentProcessId(), file.Get(), MiniDumpNormal,
                             info ? &exception : nullptr, nullptr, nullptr) != FALSE;
}

DWORD WINAPI DumpWriter(void*) {
    WaitForSingleObject(g_trace.dumpRequested.Get(), INFINITE);
    g_trace.dumped = WriteDump(g_trace.faultInfo, g_trace.faultThread);
    SetEvent(g_trace.dumpDone.Get());
    return 0;
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* info) {
    const LONG self = static_cast<LONG>(GetCurrentThreadId());
    const LONG first = InterlockedCompareExchange(&g_trace.crashingThread, self, 0);
    // A fault inside this filter ends the process at once; another
    // thread's waits for the first fault's end.
    if (first == self) TerminateProcess(GetCurrentProcess(), kTerminateCode);
    if (first != 0) {
        Sleep(kSecondFaultWaitMs);
        TerminateProcess(GetCurrentProcess(), kTerminateCode);
    }
    const DWORD code = info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionCode : kTerminateCode;
    const void* address = info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionAddress : nullptr;
    g_trace.faultInfo = info;
    g_trace.faultThread = GetCurrentThreadId();
    const bool dumped = g_trace.dumpRequested && SetEvent(g_trace.dumpRequested.Get()) &&
                        WaitForSingleObject(g_trace.dumpDone.Get(), kDumpWaitMs) == WAIT_OBJECT_0 && g_trace.dumped;
    // The log's lock may be held by a thread that will never let go.
    for (DWORD i = 0; i < kLockTries && !TryAcquireSRWLockExclusive(&g_trace.lock); ++i) Sleep(kLockPauseMs);
    char event[kLineBytes];
    const char* dump = dumped ? "written" : g_trace.dumpRequested ? "unfinished" : "none";
    Format(event, "crash code=0x%08lX address=%p dump=%s", code, address, dump);
    if (g_trace.logPaths[0][0]) WriteLine(event);
    TerminateProcess(GetCurrentProcess(), code);
    return EXCEPTION_EXECUTE_HANDLER;
}

[[noreturn]] void OnTerminate() {
    RaiseException(kTerminateCode, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    TerminateProcess(GetCurrentProcess(), kTerminateCode);
    for (;;) Sleep(INFINITE);
}

}  // namespace

void StartTrace(const wchar_t* program) {
    if (g_trace.started || !program) return;
    g_trace.started = true;
    CopyText(g_trace.program, program);
    wchar_t root[MAX_PATH];
    wchar_t logs[MAX_PATH];
    const bool folders = PlayerDataPath(nullptr, root) && MakeFolder(root) &&
                         Format(logs, L"%s\\%s", root, kLogsFolderName) && MakeFolder(logs) &&
                         Format(g_trace.crashes, L"%s\\%s", root, kCrashesFolderName) && MakeFolder(g_trace.crashes);
    bool named = folders && Format(g_trace.logPaths[0], L"%s\\%s.log", logs, program);
    for (int i = 1; named && i < kTraceLogFiles; ++i) {
        named = Format(g_trace.logPaths[i], L"%s\\%s.%d.log", logs, program, i);
    }
    if (!named) {
        g_trace.logPaths[0][0] = L'\0';
    } else {
        PruneDumps();
        g_trace.writeDump = LoadDumpWriter();
        g_trace.dumpRequested.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        g_trace.dumpDone.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        // The writer waits for the whole life of the process.
        const ScopedKernelHandle writer(g_trace.dumpRequested && g_trace.dumpDone
                                            ? CreateThread(nullptr, 0, DumpWriter, nullptr, 0, nullptr)
                                            : nullptr);
        if (!writer) g_trace.dumpRequested.Reset();
    }
    SetUnhandledExceptionFilter(CrashFilter);
    std::set_terminate(OnTerminate);
    g_trace.logging = named;
    TraceEvent("start");
}

void TraceEvent(const char* event) {
    if (!event) return;
    AcquireSRWLockExclusive(&g_trace.lock);
    if (g_trace.logging) WriteLine(event);
    ReleaseSRWLockExclusive(&g_trace.lock);
}

void StopTrace() {
    AcquireSRWLockExclusive(&g_trace.lock);
    if (g_trace.logging) WriteLine("exit");
    g_trace.logging = false;
    ReleaseSRWLockExclusive(&g_trace.lock);
}
