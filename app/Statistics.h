// What the client tells the game operator: the landing URL, which tells the
// landing page who opens the game, and the install and exit reports posted
// to the statistics endpoint. All carry the marketing identifiers from
// Config.ini and the device's MAC list.
//
// The Format functions are pure: every input is a parameter, so tests can
// feed any adapters, clocks and names. The others add this machine's
// adapters, the clock and the synchronous post. The text values (install
// time, MAC list, device identity, user name) are percent-encoded from
// their code-page bytes (net/PercentEncode.h): a name or an install time
// cannot add or override a field, and a value of letters, digits and
// ": - . _" (and "#" in a body) goes out as it is.
#pragma once

#include "base/Product.h"
#include "net/PostForm.h"

#include <cstddef>
#include <cstdint>

constexpr size_t kLandingUrlUnits = 512;
// The MAC list's room inside the landing URL: three whole addresses.
constexpr size_t kLandingMacUnits = 64;

// page?installtime=..&agent_id=..&cplaceid=..&runcount=..&mac=.. with the
// MAC list cut to whole addresses within kLandingMacUnits - 1 characters.
// An install time that does not fit whole is left empty.
void FormatLandingUrl(wchar_t (&url)[kLandingUrlUnits], const wchar_t* page, const wchar_t* installTime,
                      int agentId, int siteId, int runCount, const char* macList);

// The report bodies, cleared first and cut to fit; a user name that does
// not fit whole is sent empty.
void FormatInstallReport(char (&body)[kFormBufferBytes], uint64_t installTime, const char* deviceId,
                         int agentId, int siteId);
void FormatExitReport(char (&body)[kFormBufferBytes], uint64_t logoutTime, const char* deviceId, int agentId,
                      int siteId, const char* userName);

// The landing URL on the configured landing page with this machine's MAC
// list; runCount is the count as read, before this start is counted.
void BuildLandingUrl(wchar_t (&url)[kLandingUrlUnits], const wchar_t* installTime, int agentId, int siteId,
                     int runCount);

// Build a report with the time and device identity of now and post it;
// they return when the exchange is over, at the latest at the poster's
// deadline, and a failure is ignored.
void SendInstallReport(int agentId, int siteId);
void SendExitReport(int agentId, int siteId, const char* userName);
