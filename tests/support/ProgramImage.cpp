#include "tests/support/ProgramImage.h"

#include <cctype>
#include <cstring>

namespace {

template <typename NtHeaders>
void ReadHeaders(const std::string& bytes, size_t at, ProgramImage& image) {
    if (at + sizeof(NtHeaders) > bytes.size()) return;
    auto nt = reinterpret_cast<const NtHeaders*>(bytes.data() + at);
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
}

}  // namespace

ProgramImage ReadProgramImage(const std::string& bytes) {
    ProgramImage image;
    if (bytes.size() < sizeof(IMAGE_DOS_HEADER)) return image;
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0) return image;
    const size_t at = static_cast<size_t>(dos->e_lfanew);
    // The magic lies at the same place in both layouts.
    const size_t magicAt = at + offsetof(IMAGE_NT_HEADERS32, OptionalHeader.Magic);
    if (magicAt + sizeof(WORD) > bytes.size()) return image;
    WORD magic = 0;
    memcpy(&magic, bytes.data() + magicAt, sizeof(magic));
    if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
        ReadHeaders<IMAGE_NT_HEADERS32>(bytes, at, image);
    } else {
        ReadHeaders<IMAGE_NT_HEADERS64>(bytes, at, image);
    }
    return image;
}
