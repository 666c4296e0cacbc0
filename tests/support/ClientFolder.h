// A scratch installation folder with a copy of a built client in it, for
// tests that run the client as a whole process and read its Config.ini.
// The real vstorm.exe by default; vstorm_fake.exe (fake browser controls,
// scripted pages) for tests that drive pages.
#pragma once

#include "app/Config.h"
#include "net/Endpoints.h"
#include "tests/support/ClientDriver.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestProcess.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

// The port of the statistics endpoint the client was built with, or 0.
inline uint16_t StatsPort() {
    const char prefix[] = "http://127.0.0.1:";
    if (strncmp(kStatsEndpoint, prefix, strlen(prefix)) != 0) return 0;
    return static_cast<uint16_t>(atoi(kStatsEndpoint + strlen(prefix)));
}

class ClientFolderTest : public ::testing::Test {
protected:
    explicit ClientFolderTest(const wchar_t* program = L"vstorm.exe") : program_(program) {}

    ScratchDir dir;
    std::wstring exe = dir.File(L"vstorm.exe");
    std::wstring config = dir.File(L"Config.ini");

    void SetUp() override {
        ASSERT_TRUE(CopyFileW((ExeDir() + L"\\" + program_).c_str(), exe.c_str(), FALSE));
    }
    // Starts the client, waits for its window and closes it as a player
    // does; the exit code, or kProgramDidNotEnd.
    DWORD Start() {
        ClientProcess client;
        if (!client.Start(exe, dir.Path())) return kProgramDidNotEnd;
        // A client that shows no window has ended, or will, by itself.
        if (!client.WaitForFrame()) return client.WaitForExit();
        return client.Close();
    }
    std::wstring Value(const wchar_t* section, const wchar_t* key) {
        wchar_t value[kConfigValueUnits];
        ReadConfigText(config.c_str(), section, key, value);
        return value;
    }

private:
    std::wstring program_;
};
