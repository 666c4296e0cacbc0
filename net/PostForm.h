// The HTTP form poster shared by both programs: one form-encoded POST to the
// statistics endpoint through WinINet, synchronous, without state. The
// caller's 512-byte buffer carries the body in and the first bytes of the
// reply back out. No time-outs are set beyond the platform's own, so a dead
// endpoint blocks the caller for as long as WinINet waits.
#pragma once

#include <windows.h>

#include <cstddef>

constexpr size_t kFormBufferBytes = 512;

// Posts body (zero-terminated narrow text; all 512 bytes count when there is
// no terminator) to the statistics endpoint. Returns the number of reply
// bytes now at the start of body, whose remaining bytes are zero; 0 when
// nothing could be sent or read. Either way the request is gone from body.
DWORD PostForm(char (&body)[kFormBufferBytes]);

// The same to another endpoint, "http://host[:port]/path" with a host of at
// most 63 characters.
DWORD PostFormTo(const char* endpoint, char (&body)[kFormBufferBytes]);
