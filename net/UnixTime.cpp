#include "net/UnixTime.h"

namespace {

// 1970-01-01 in FILETIME units (100 ns since 1601-01-01).
constexpr uint64_t kUnixEpochFileTime = 116444736000000000ULL;
constexpr uint64_t kFileTimeUnitsPerSecond = 10000000ULL;

}  // namespace

uint64_t SystemTimeToUnixSeconds(const SYSTEMTIME& time) {
    FILETIME fileTime;
    if (!SystemTimeToFileTime(&time, &fileTime)) return 0;
    const uint64_t units = (static_cast<uint64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
    // A clock set before 1970 would otherwise wrap to a date far ahead.
    if (units < kUnixEpochFileTime) return 0;
    return (units - kUnixEpochFileTime) / kFileTimeUnitsPerSecond;
}

uint64_t UnixTimeNow() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return SystemTimeToUnixSeconds(now);
}
