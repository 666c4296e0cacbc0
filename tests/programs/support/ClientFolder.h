// A scratch installation folder with a copy of a built client in it, for
// tests that run the client as a whole process and read its Config.ini.
// The real vstorm.exe by default; vstorm_fake.exe (fake browser controls,
// scripted pages) for tests that drive pages.
#pragma once

#include "base/Config.h"
#include "app/Statistics.h"
#include "tests/programs/support/FakeClient.h"
#include "tests/programs/support/ClientDriver.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestProcess.h"
#include "base/TextBuf.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>


class ClientFolderTest : public ::testing::Test {
protected:
    // How long one client may take from its start to its end.
    static constexpr DWORD kClientRunMs = 60000;

    explicit ClientFolderTest(const wchar_t* program = L"vstorm.exe") : program_(program) {}

    ScratchDir dir;
    std::wstring exe = dir.File(L"vstorm.exe");
    std::wstring config = dir.File(L"Config.ini");

    void SetUp() override {
        ASSERT_TRUE(CopyFileW((ExeDir() + L"\\" + program_).c_str(), exe.c_str(), FALSE));
    }
    // The landing address of a first start in this folder.
    static std::wstring FirstLandingUrl() {
        wchar_t url[kLandingUrlUnits];
        BuildLandingUrl(url, L"", 0, 0, 0);
        return url;
    }
    // The pages the test build of the client shows (see FakeClient.h).
    bool WritePages(const std::wstring& pages) {
        char bytes[4096];
        WideToAnsi(pages.c_str(), bytes, CP_UTF8);
        return WriteFileBytes(dir.File(kFakePagesFile), bytes);
    }
    // Starts the client and sees it to its end; returns its exit code.
    DWORD Start() { return StartTogether(1).front(); }
    // Starts count clients at once and sees each to its end; returns their
    // exit codes in start order.
    std::vector<DWORD> StartTogether(size_t count) {
        std::vector<std::unique_ptr<ClientProcess>> clients;
        for (size_t i = 0; i < count; ++i) {
            clients.push_back(std::make_unique<ClientProcess>());
            clients.back()->Start(exe, dir.Path());
        }
        std::vector<DWORD> codes;
        for (const auto& client : clients) codes.push_back(SeeToEnd(*client));
        return codes;
    }
    std::wstring Value(const wchar_t* section, const wchar_t* key) {
        wchar_t value[kConfigValueUnits];
        ReadConfigText(config.c_str(), section, key, value);
        return value;
    }

private:
    // The one place that waits for a started client: once its window is
    // there, the player closes it. A client that shows no window has ended,
    // or will, by itself.
    static DWORD SeeToEnd(ClientProcess& client) {
        if (!client.WaitForFrame(kClientRunMs)) return client.WaitForExit(kClientRunMs);
        return client.Close(kClientRunMs);
    }

    std::wstring program_;
};
