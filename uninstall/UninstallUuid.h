// The device identity of the uninstall report: the MAC list, a
// "-", and four processor registers from CPUID as hexadecimal. It differs
// from the client's identity (MakeDeviceId), which is the MAC list alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr size_t kUninstallUuidBytes = 260;

// The registers that go into the identity, in the order they are written.
struct CpuidWords {
    uint32_t edx0 = 0;  // leaf 0
    uint32_t eax0 = 0;  // leaf 0
    uint32_t edx1 = 0;  // leaf 1
    uint32_t ecx1 = 0;  // leaf 1
};

CpuidWords ReadCpuidWords();

// "%s-%08X%08X%08X%08X" of the list and the words, at most 259 characters.
// A list too long for that keeps its leading whole addresses, so the
// processor part is never cut.
std::string FormatUninstallUuid(const char* macList, const CpuidWords& words);

// This machine's identity.
std::string BuildUninstallUuid();
