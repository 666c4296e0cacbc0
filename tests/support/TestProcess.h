// Starting built programs from tests.
#pragma once

#include "ui/Scoped.h"

#include <windows.h>

#include <string>

constexpr DWORD kProgramDidNotEnd = 0xFFFFFFFF;

// Starts program in workDir; false when it cannot be started. arguments
// follow the quoted program name on the command line as given.
bool StartProgram(const std::wstring& program, const std::wstring& workDir, ScopedKernelHandle& process,
                  DWORD* processId, const std::wstring& arguments = std::wstring());
// Waits up to timeoutMs for the process to end. Returns its exit code, or
// kProgramDidNotEnd (the program is then killed).
DWORD WaitProgram(HANDLE process, DWORD timeoutMs);
// StartProgram, then WaitProgram.
DWORD RunProgram(const std::wstring& program, const std::wstring& workDir, DWORD timeoutMs,
                 const std::wstring& arguments = std::wstring());
