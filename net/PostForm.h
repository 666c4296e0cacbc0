// The HTTP form poster shared by both programs: one form-encoded POST to the
// statistics endpoint through WinINet, synchronous, without state. The
// caller's 512-byte buffer carries the body in and the first bytes of the
// reply back out.
//
// The whole exchange ends within a deadline, whatever the endpoint does.
// WinINet's own time-outs start again with every byte that arrives, so an
// endpoint that trickles its answer would hold the caller, and with it the
// client's first window or its exit, for as long as it likes. The exchange
// therefore runs on a worker thread whose WinINet handles are closed when
// the deadline passes, which makes its blocked calls return.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

constexpr size_t kFormBufferBytes = 512;
// The common default export time-out of telemetry exporters: ample for one
// small form on a working network.
constexpr DWORD kPostDeadlineMs = 10000;

// Fills body, cleared first, with a report whose format takes the game id,
// a time, the device identity, the agent, the site and a user name, in that
// order. Identity and name are percent-encoded (net/PercentEncode.h); a name
// that does not fit whole is sent empty: cut, it would name someone else.
void FormatNamedReport(char (&body)[kFormBufferBytes], const char* format, uint64_t time, const char* uuid,
                       int agentId, int siteId, const char* userName);

// Posts body (zero-terminated narrow text; all 512 bytes count when there is
// no terminator) to the statistics endpoint. Returns the number of reply
// bytes now at the start of body, whose remaining bytes are zero; 0 when
// nothing could be sent or read. Either way the request is gone from body.
// A reply cut off by the deadline is kept as far as it had arrived.
DWORD PostForm(char (&body)[kFormBufferBytes]);

// The same to another endpoint, "http://host[:port]/path" or
// "https://host[:port]/path" with a host of at most 63 characters, within
// the given deadline. Over https a certificate that does not check out
// means nothing is sent.
DWORD PostFormTo(const char* endpoint, char (&body)[kFormBufferBytes],
                 DWORD deadlineMs = kPostDeadlineMs);
