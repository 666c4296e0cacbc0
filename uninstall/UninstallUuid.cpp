#include "uninstall/UninstallUuid.h"

#include "net/MacList.h"
#include "base/TextBuf.h"

#include <cpuid.h>

#include <string>

namespace {

// "-" and four words of eight digits.
constexpr size_t kCpuidChars = 1 + 4 * 8;

}  // namespace

CpuidWords ReadCpuidWords() {
    CpuidWords words;
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    __cpuid(0, eax, ebx, ecx, edx);
    words.edx0 = edx;
    words.eax0 = eax;
    __cpuid(1, eax, ebx, ecx, edx);
    words.edx1 = edx;
    words.ecx1 = ecx;
    return words;
}

std::string FormatUninstallUuid(const char* macList, const CpuidWords& words) {
    const char* list = macList ? macList : "";
    const std::string kept(list, MacListPrefix(list, kUninstallUuidBytes - 1 - kCpuidChars));
    char uuid[kUninstallUuidBytes] = {};
    Format(uuid, "%s-%08X%08X%08X%08X", kept.c_str(), words.edx0, words.eax0, words.edx1, words.ecx1);
    return uuid;
}

std::string BuildUninstallUuid() {
    char list[kUninstallUuidBytes] = {};
    GetMacList(list);
    return FormatUninstallUuid(list, ReadCpuidWords());
}
