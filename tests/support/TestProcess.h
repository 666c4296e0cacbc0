// Starting built programs from tests.
#pragma once

#include "ui/Scoped.h"

#include <windows.h>

#include <string>

constexpr DWORD kProgramDidNotEnd = 0xFFFFFFFF;

// Starts program in workDir; an invalid handle when it could not start.
ScopedKernelHandle StartProgram(const std::wstring& program, const std::wstring& workDir);

// Waits up to timeoutMs for a started program to end. Returns its exit
// code, or kProgramDidNotEnd (the program is then killed, or never ran).
DWORD WaitProgram(const ScopedKernelHandle& process, DWORD timeoutMs);

// StartProgram, then WaitProgram.
DWORD RunProgram(const std::wstring& program, const std::wstring& workDir, DWORD timeoutMs);
