// The built client as a whole process: started from a scratch folder, it
// keeps its books in the Config.ini beside it and exits with 0.
#include "base/CrashTrace.h"
#include "base/PlayerData.h"
#include "tests/programs/support/ClientFolder.h"
#include "tests/support/ProgramImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using VstormProcess = ClientFolderTest;

TEST_F(VstormProcess, TwoStartsFromAnEmptyFolderCountTwoRuns) {
    const std::wstring features = L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_";
    const std::wstring emulation = features + L"BROWSER_EMULATION", gpu = features + L"GPU_RENDERING";
    for (const std::wstring& key : {emulation, gpu}) RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), kClientExeName);
    ASSERT_EQ(0u, Start());
    DWORD mode = 0, onGpu = 0, size = sizeof(DWORD);
    RegGetValueW(HKEY_CURRENT_USER, emulation.c_str(), kClientExeName, RRF_RT_DWORD, nullptr, &mode, &size);
    RegGetValueW(HKEY_CURRENT_USER, gpu.c_str(), kClientExeName, RRF_RT_DWORD, nullptr, &onGpu, &size);
    EXPECT_TRUE(mode == 11001 && onGpu == 1) << "the newest document mode, on the GPU: " << mode << " " << onGpu;
    EXPECT_EQ(L"1.15", Value(kSectionGameInfo, kKeyVersion));
    EXPECT_EQ(L"1", Value(kSectionCommon, kKeyRunCount));
    ASSERT_EQ(0u, Start());
    EXPECT_EQ(L"2", Value(kSectionCommon, kKeyRunCount));

    std::string text = ReadFileBytes(config);
    EXPECT_NE(std::string::npos, text.find("user_name=\r\n")) << text;
    EXPECT_EQ(std::string::npos, text.find("[Extension]")) << "nobody reached the game";
}

TEST_F(VstormProcess, RunCountReadsAsStrtolDoes) {
    WriteConfigText(config.c_str(), kSectionCommon, kKeyRunCount, L"abc");
    ASSERT_EQ(0u, Start());
    EXPECT_EQ(L"1", Value(kSectionCommon, kKeyRunCount));

    WriteConfigText(config.c_str(), kSectionCommon, kKeyRunCount, L"-1");
    ASSERT_EQ(0u, Start());
    EXPECT_EQ(L"0", Value(kSectionCommon, kKeyRunCount));

    WriteConfigText(config.c_str(), kSectionCommon, kKeyRunCount, L" 12x");
    ASSERT_EQ(0u, Start());
    EXPECT_EQ(L"13", Value(kSectionCommon, kKeyRunCount));
}

TEST_F(VstormProcess, JunkOrReadOnlyConfigNeverStopsTheClient) {
    std::string junk(3000, '\xFF');
    junk += "\r\n[Common]\r\nRunCount=";
    junk += std::string(500, '9');
    junk += "\r\nUID=\x01\x02\r\n";
    ASSERT_TRUE(WriteFileBytes(config, junk));
    EXPECT_EQ(0u, Start());

    EXPECT_EQ(L"2147483647", Value(kSectionCommon, kKeyRunCount)) << "the count saturates";

    SetFileAttributesW(config.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(0u, Start());
}

std::vector<std::wstring> Dumps(const std::wstring& crashes) { return FileNames(crashes + L"\\vstorm-*.dmp"); }

// A run's log: start, its reports' outcomes, exit. A thread started at a
// bad address from outside: a dump, a last line, and the end, within seconds.
TEST_F(VstormProcess, TheTraceLogsTheRunAndACrashLeavesADumpAndEnds) {
    wchar_t logs[MAX_PATH], crashes[MAX_PATH];
    ASSERT_TRUE(PlayerDataPath(kLogsFolderName, logs) && PlayerDataPath(kCrashesFolderName, crashes));
    const std::wstring log = std::wstring(logs) + L"\\vstorm.log";
    DeleteFileW(log.c_str());
    ASSERT_EQ(0u, Start());
    const std::string run = ReadFileBytes(log);
    size_t at = 0;
    for (const char* line : {" start\r\n", " report install ", " report close ", " exit\r\n"}) {
        at = run.find(line, at);
        EXPECT_NE(std::string::npos, at) << line << " in order in " << run;
    }
    EXPECT_EQ(std::string::npos, run.find("127.0.0.1")) << "no address";

    for (const std::wstring& name : Dumps(crashes)) DeleteFileW((std::wstring(crashes) + L"\\" + name).c_str());
    for (int i = 0; i < kKeptDumps; ++i) {
        ASSERT_TRUE(WriteFileBytes(std::wstring(crashes) + L"\\vstorm-2000010" + std::to_wstring(i) + L"-000000-1.dmp",
                                   "old"));
    }
    ClientProcess client;
    ASSERT_TRUE(client.Start(exe, dir.Path()));
    ASSERT_NE(nullptr, client.WaitForFrame());
    ScopedKernelHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, client.Id()));
    ScopedKernelHandle thread(CreateRemoteThread(process.Get(), nullptr, 0,
                                                 reinterpret_cast<LPTHREAD_START_ROUTINE>(0x10), nullptr, 0, nullptr));
    ASSERT_TRUE(thread);
    EXPECT_EQ(static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION), client.WaitForExit(20000));
    const std::vector<std::wstring> dumps = Dumps(crashes);
    ASSERT_EQ(static_cast<size_t>(kKeptDumps), dumps.size()) << "the oldest went, the new one stays";
    EXPECT_GT(ReadFileBytes(std::wstring(crashes) + L"\\" + dumps.back()).size(), 1000u) << "the newest";
    EXPECT_NE(std::string::npos, ReadFileBytes(log).find(" crash code=0xC0000005 address=")) << ReadFileBytes(log);
}

TEST(VstormImage, IsA64BitGuiProgramWithoutMingwRuntimeDlls) {
    ProgramImage image = ReadProgramImage(ReadFileBytes(ExeDir() + L"\\vstorm.exe"));
    EXPECT_EQ(IMAGE_FILE_MACHINE_AMD64, image.machine);
    EXPECT_EQ(IMAGE_NT_OPTIONAL_HDR64_MAGIC, image.magic);
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, image.subsystem);
    EXPECT_NE(std::string::npos, image.imports.find("user32.dll;")) << image.imports;
    for (const char* runtime : {"libstdc++", "libgcc", "libwinpthread"}) {
        EXPECT_EQ(std::string::npos, image.imports.find(runtime)) << image.imports;
    }
}

}  // namespace
