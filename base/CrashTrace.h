// A trace of a program's life for the operator: a small log of what
// happened (start, mode changes, each report's outcome, exit; never a user
// name or an address) and, when any thread dies of an unhandled exception,
// a minidump and a last log line, after which the process ends at once.
//
// The log is %LOCALAPPDATA%\<product>\logs\<program>.log, rotated into
// <program>.1.log and <program>.2.log before it passes kTraceLogBytes; the
// dumps are ...\crashes\<program>-<time>-<pid>.dmp, the newest
// kKeptDumps kept. Everything the crash path needs (paths, dbghelp, the
// line buffer) is made ready at StartTrace, so the filter allocates nothing.
#pragma once

#include <cstddef>

inline constexpr size_t kTraceLogBytes = size_t{1024} * 1024;
inline constexpr int kTraceLogFiles = 3;
inline constexpr int kKeptDumps = 5;
inline constexpr size_t kTraceProgramUnits = 32;

// Starts the trace of this process under the program's name ("vstorm",
// "uninstall"): makes the folders, installs the crash filter for every
// thread and logs "start". Later calls do nothing.
void StartTrace(const wchar_t* program);

// One line in the log (event: plain ASCII of the program's own making).
// Nothing before StartTrace or after StopTrace.
void TraceEvent(const char* event);

// Logs "exit" and writes nothing more; the crash filter stays.
void StopTrace();
