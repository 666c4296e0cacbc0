// The built client as a whole process: started from a scratch folder, it
// keeps its books in the Config.ini beside it and exits with 0.
#include "tests/programs/support/ClientFolder.h"
#include "tests/support/ProgramImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

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
