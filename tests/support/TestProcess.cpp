#include "tests/support/TestProcess.h"

#include "base/Scoped.h"

#include <tlhelp32.h>

#include <algorithm>
#include <vector>

namespace {

// With detached, the program and everything it starts write to NUL rather
// than into the test's output: under Wine a process that outlives the test
// and holds that pipe would keep the test runner waiting.
HANDLE Launch(const std::wstring& program, const std::wstring& commandLine, const wchar_t* workDir,
              DWORD* processId, bool detached = false) {
    std::vector<wchar_t> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    ScopedKernelHandle nul;
    if (detached) {
        nul.Reset(CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              &inheritable, OPEN_EXISTING, 0, nullptr));
        if (!nul) return nullptr;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = si.hStdOutput = si.hStdError = nul.Get();
    }
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(program.c_str(), mutableLine.data(), nullptr, nullptr, detached, 0, nullptr, workDir,
                        &si, &pi)) {
        return nullptr;
    }
    ScopedKernelHandle thread(pi.hThread);
    if (processId) *processId = pi.dwProcessId;
    return pi.hProcess;
}

}  // namespace

bool StartProgram(const std::wstring& program, const std::wstring& workDir, ScopedKernelHandle& process,
                  DWORD* processId, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    process.Reset(Launch(program, commandLine, workDir.c_str(), processId));
    return process.IsValid();
}

DWORD WaitProgram(HANDLE process, DWORD timeoutMs) {
    if (!process) return kProgramDidNotEnd;
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process, kProgramDidNotEnd);
        WaitForSingleObject(process, 5000);
        return kProgramDidNotEnd;
    }
    DWORD code = kProgramDidNotEnd;
    GetExitCodeProcess(process, &code);
    return code;
}

DWORD RunProgram(const std::wstring& program, const std::wstring& workDir, DWORD timeoutMs,
                 const std::wstring& arguments) {
    ScopedKernelHandle process;
    if (!StartProgram(program, workDir, process, nullptr, arguments)) return kProgramDidNotEnd;
    return WaitProgram(process.Get(), timeoutMs);
}

DWORD RunCommandLine(const std::wstring& program, const std::wstring& commandLine, DWORD timeoutMs) {
    ScopedKernelHandle process(Launch(program, commandLine, nullptr, nullptr));
    return WaitProgram(process.Get(), timeoutMs);
}

HANDLE StartCommandLine(const std::wstring& program, const std::wstring& commandLine, DWORD* processId) {
    return Launch(program, commandLine, nullptr, processId, true);
}

std::vector<DWORD> ChildProcesses(DWORD parent, const wchar_t* exeName) {
    std::vector<DWORD> children;
    ScopedKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return children;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        if ((parent == 0 || entry.th32ParentProcessID == parent) && _wcsicmp(entry.szExeFile, exeName) == 0) {
            children.push_back(entry.th32ProcessID);
        }
    }
    return children;
}

bool EndProcess(DWORD processId) {
    ScopedKernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    if (!process) return false;
    TerminateProcess(process.Get(), 1);
    return WaitForSingleObject(process.Get(), 5000) == WAIT_OBJECT_0;
}

std::vector<DWORD> EndChildProcesses(DWORD parent, const wchar_t* exeName, DWORD waitMs,
                                     const std::vector<DWORD>& earlier) {
    std::vector<DWORD> children;
    const DWORD start = GetTickCount();
    for (;;) {
        children = ChildProcesses(parent, exeName);
        children.erase(std::remove_if(children.begin(), children.end(),
                                      [&](DWORD id) {
                                          return std::find(earlier.begin(), earlier.end(), id) != earlier.end();
                                      }),
                       children.end());
        if (!children.empty() || GetTickCount() - start >= waitMs) break;
        Sleep(50);
    }
    for (DWORD id : children) EndProcess(id);
    return children;
}
