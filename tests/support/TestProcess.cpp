#include "tests/support/TestProcess.h"

#include "ui/Scoped.h"

#include <vector>

DWORD RunProgram(const std::wstring& program, const std::wstring& workDir, DWORD timeoutMs,
                 const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    std::vector<wchar_t> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(program.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.c_str(), &si, &pi)) {
        return kProgramDidNotEnd;
    }
    ScopedKernelHandle process(pi.hProcess);
    ScopedKernelHandle thread(pi.hThread);
    if (WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.Get(), kProgramDidNotEnd);
        WaitForSingleObject(process.Get(), 5000);
        return kProgramDidNotEnd;
    }
    DWORD code = kProgramDidNotEnd;
    GetExitCodeProcess(process.Get(), &code);
    return code;
}
