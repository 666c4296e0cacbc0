// The HTTP form poster shared by both programs: one form-encoded POST to the
// statistics endpoint through WinINet, synchronous, without state. The
// caller's 512-byte buffer carries the body in and the first bytes of the
// reply back out. A dead endpoint blocks the caller for at most the
// connect, send and receive time-outs below: WinINet's own defaults are
// endless on some systems, which would hold the client's exit for ever.
#pragma once

#include <windows.h>

#include <cstddef>

constexpr size_t kFormBufferBytes = 512;
constexpr DWORD kPostTimeoutMs = 30000;

// Posts body (zero-terminated narrow text; all 512 bytes count when there is
// no terminator) to the statistics endpoint. Returns the number of reply
// bytes now at the start of body, whose remaining bytes are zero; 0 when
// nothing could be sent or read. Either way the request is gone from body.
DWORD PostForm(char (&body)[kFormBufferBytes]);

// The same to another endpoint, "http://host[:port]/path" with a host of at
// most 63 characters, with the given time-out for each phase.
DWORD PostFormTo(const char* endpoint, char (&body)[kFormBufferBytes],
                 DWORD timeoutMs = kPostTimeoutMs);
