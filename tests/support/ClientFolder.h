// A scratch installation folder with a copy of the built client in it, for
// tests that run vstorm.exe as a whole process and read its Config.ini.
#pragma once

#include "app/Config.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestProcess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class ClientFolderTest : public ::testing::Test {
protected:
    // How long one client may take from its start to its end.
    static constexpr DWORD kClientRunMs = 60000;

    ScratchDir dir;
    std::wstring exe = dir.File(L"vstorm.exe");
    std::wstring config = dir.File(L"Config.ini");

    void SetUp() override {
        ASSERT_TRUE(CopyFileW((ExeDir() + L"\\vstorm.exe").c_str(), exe.c_str(), FALSE));
    }
    // Starts the client and sees it to its end; returns its exit code.
    DWORD Start() { return StartTogether(1).front(); }
    // Starts count clients at once and sees each to its end; returns their
    // exit codes in start order.
    std::vector<DWORD> StartTogether(size_t count) {
        std::vector<ScopedKernelHandle> clients;
        for (size_t i = 0; i < count; ++i) clients.push_back(StartProgram(exe, dir.Path()));
        std::vector<DWORD> codes;
        for (const ScopedKernelHandle& client : clients) codes.push_back(SeeToEnd(client));
        return codes;
    }
    std::wstring Value(const wchar_t* section, const wchar_t* key) {
        wchar_t value[kConfigValueUnits];
        ReadConfigText(config.c_str(), section, key, value);
        return value;
    }

private:
    // The one place that waits for a started client.
    static DWORD SeeToEnd(const ScopedKernelHandle& client) { return WaitProgram(client, kClientRunMs); }
};
