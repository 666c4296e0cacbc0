// Starting built programs from tests.
#pragma once

#include "ui/Scoped.h"

#include <windows.h>

#include <string>

constexpr DWORD kProgramDidNotEnd = 0xFFFFFFFF;

// Starts program in workDir; false when it cannot be started.
bool StartProgram(const std::wstring& program, const std::wstring& workDir, ScopedKernelHandle& process,
                  DWORD* processId);
// Waits up to timeoutMs for the process to end. Returns its exit code, or
// kProgramDidNotEnd (the program is then killed).
DWORD WaitProgram(HANDLE process, DWORD timeoutMs);
// Starts program in workDir and waits up to timeoutMs for it to end.
DWORD RunProgram(const std::wstring& program, const std::wstring& workDir, DWORD timeoutMs);
