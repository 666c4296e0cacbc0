// Starting built programs from tests.
#pragma once

#include <windows.h>

#include <string>

constexpr DWORD kProgramDidNotEnd = 0xFFFFFFFF;

// Starts program in workDir and waits up to timeoutMs for it to end.
// Returns its exit code, or kProgramDidNotEnd (the program is then killed).
// arguments follow the quoted program name on the command line as given.
DWORD RunProgram(const std::wstring& program, const std::wstring& workDir, DWORD timeoutMs,
                 const std::wstring& arguments = std::wstring());
