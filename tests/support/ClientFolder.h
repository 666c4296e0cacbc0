// A scratch installation folder with a copy of the built client in it, for
// tests that run vstorm.exe as a whole process and read its Config.ini.
#pragma once

#include "app/Config.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestProcess.h"

#include <gtest/gtest.h>

#include <string>

class ClientFolderTest : public ::testing::Test {
protected:
    ScratchDir dir;
    std::wstring exe = dir.File(L"vstorm.exe");
    std::wstring config = dir.File(L"Config.ini");

    void SetUp() override {
        ASSERT_TRUE(CopyFileW((ExeDir() + L"\\vstorm.exe").c_str(), exe.c_str(), FALSE));
    }
    DWORD Start() { return RunProgram(exe, dir.Path(), 60000); }
    std::wstring Value(const wchar_t* section, const wchar_t* key) {
        wchar_t value[kConfigValueUnits];
        ReadConfigText(config.c_str(), section, key, value);
        return value;
    }
};
