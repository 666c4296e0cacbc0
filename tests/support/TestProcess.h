// Starting built programs from tests.
#pragma once

#include "base/Scoped.h"

#include <windows.h>

#include <string>
#include <vector>

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
// The same with a command line of the caller's, in the current folder.
DWORD RunCommandLine(const std::wstring& program, const std::wstring& commandLine, DWORD timeoutMs);

// Starts program with the command line in the current folder without
// waiting, its standard handles on NUL; null on failure. The caller owns
// the process handle.
HANDLE StartCommandLine(const std::wstring& program, const std::wstring& commandLine,
                        DWORD* processId = nullptr);

// Ids of the live processes started by parent whose executable file name is
// exeName (case-insensitive, as "cmd.exe"); with parent 0, of any parent.
// Wine forgets the parent of a process whose parent has ended.
std::vector<DWORD> ChildProcesses(DWORD parent, const wchar_t* exeName);
// Ends a process and waits for it; false when it could not be opened.
bool EndProcess(DWORD processId);
// Waits up to waitMs for such children to appear, ends them all and
// returns their ids (none when none appeared). Processes listed in
// earlier are left alone.
std::vector<DWORD> EndChildProcesses(DWORD parent, const wchar_t* exeName, DWORD waitMs,
                                     const std::vector<DWORD>& earlier = {});
