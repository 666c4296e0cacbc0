// Time stamps of the reports and of Config.ini: whole seconds since
// 1970-01-01 00:00:00, from the platform's clock.
#pragma once

#include <windows.h>

#include <cstdint>

// Seconds from 1970-01-01 00:00:00 to time, read in the time's own clock
// (UTC for GetSystemTime, local for GetLocalTime); 0 for earlier times and
// for dates the platform cannot convert.
uint64_t SystemTimeToUnixSeconds(const SYSTEMTIME& time);

// The current UTC time in seconds since 1970.
uint64_t UnixTimeNow();
