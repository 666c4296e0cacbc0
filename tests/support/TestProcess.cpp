#include "tests/support/TestProcess.h"

#include <vector>

ScopedKernelHandle StartProgram(const std::wstring& program, const std::wstring& workDir) {
    std::wstring commandLine = L"\"" + program + L"\"";
    std::vector<wchar_t> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(program.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.c_str(), &si, &pi)) {
        return ScopedKernelHandle();
    }
    ScopedKernelHandle thread(pi.hThread);
    return ScopedKernelHandle(pi.hProcess);
}

DWORD WaitProgram(const ScopedKernelHandle& process, DWORD timeoutMs) {
    if (!process) return kProgramDidNotEnd;
    if (WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.Get(), kProgramDidNotEnd);
        WaitForSingleObject(process.Get(), 5000);
        return kProgramDidNotEnd;
    }
    DWORD code = kProgramDidNotEnd;
    GetExitCodeProcess(process.Get(), &code);
    return code;
}

DWORD RunProgram(const std::wstring& program, const std::wstring& workDir, DWORD timeoutMs) {
    return WaitProgram(StartProgram(program, workDir), timeoutMs);
}
