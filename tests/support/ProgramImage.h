// What a program file's PE header says: machine, optional-header magic
// (PE32 or PE32+), subsystem and the DLLs it imports. Read from the bytes,
// so tests can look at a program of the other architecture (the 32-bit
// uninstaller).
#pragma once

#include <windows.h>

#include <string>

struct ProgramImage {
    WORD machine = 0;
    WORD magic = 0;
    WORD subsystem = 0;
    std::string imports;  // DLL names, lower case, each followed by ";"
};

ProgramImage ReadProgramImage(const std::string& bytes);
