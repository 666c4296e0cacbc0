// The built client as a whole process: started from a scratch folder, it
// keeps its books in the Config.ini beside it and exits with 0.
#include "tests/support/ClientFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using VstormProcess = ClientFolderTest;

TEST_F(VstormProcess, TwoStartsFromAnEmptyFolderCountTwoRuns) {
    ASSERT_EQ(0u, Start());
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

// The image header fields that tell a 64-bit GUI program, and the DLLs it
// imports.
struct ProgramImage {
    WORD machine = 0;
    WORD magic = 0;
    WORD subsystem = 0;
    std::string imports;  // DLL names, lower case, each followed by ";"
};

ProgramImage ReadProgramImage(const std::string& bytes) {
    ProgramImage image;
    if (bytes.size() < sizeof(IMAGE_DOS_HEADER)) return image;
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    if (dos->e_magic != IMAGE_DOS_SIGNATURE ||
        static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS64) > bytes.size()) {
        return image;
    }
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(bytes.data() + dos->e_lfanew);
    image.machine = nt->FileHeader.Machine;
    image.magic = nt->OptionalHeader.Magic;
    image.subsystem = nt->OptionalHeader.Subsystem;

    auto sections = IMAGE_FIRST_SECTION(nt);
    auto toOffset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.Misc.VirtualSize) {
                return rva - s.VirtualAddress + s.PointerToRawData;
            }
        }
        return 0;
    };
    DWORD importRva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    size_t offset = toOffset(importRva);
    while (offset && offset + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= bytes.size()) {
        auto desc = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(bytes.data() + offset);
        if (desc->Name == 0) break;
        size_t nameOffset = toOffset(desc->Name);
        if (!nameOffset || nameOffset >= bytes.size()) break;
        std::string name(bytes.data() + nameOffset, strnlen(bytes.data() + nameOffset, bytes.size() - nameOffset));
        for (char& c : name) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        image.imports += name + ";";
        offset += sizeof(IMAGE_IMPORT_DESCRIPTOR);
    }
    return image;
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
