#include "tests/support/TestProcess.h"

#include <vector>

bool StartProgram(const std::wstring& program, const std::wstring& workDir, ScopedKernelHandle& process,
                  DWORD* processId, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    std::vector<wchar_t> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(program.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.c_str(), &si, &pi)) {
        return false;
    }
    process.Reset(pi.hProcess);
    ScopedKernelHandle thread(pi.hThread);
    if (processId) *processId = pi.dwProcessId;
    return true;
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
