// The machine's hardware addresses as text, the MAC list: each network
// adapter's address bytes as upper-case hexadecimal pairs with ":" between
// them, adapters in the platform's order with "#" between them, as in
// "00:1A:2B:3C:4D:5E#00:1A:2B:3C:4D:5F". Both programs build their device
// identity from it and the client also puts it in the landing URL.
//
// Whatever buffer it goes into, a list that does not fit keeps its leading
// adapters whole: it is only ever cut at a "#", never inside an address.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstddef>
#include <string>

// Writes the MAC list of the adapters linked from first (by Next) into buf
// (cap bytes), terminated, and returns its length. Adapters without an
// address contribute nothing. Returns -1 and leaves buf untouched when
// nothing fits or there is nothing to write.
int FormatMacList(const IP_ADAPTER_INFO* first, char* buf, size_t cap);

// The MAC list of this machine (GetAdaptersInfo) into buf, as above; -1 also
// when the adapter query fails. Callers pass a cleared buffer.
int GetMacList(char* buf, size_t cap);
template <size_t N>
int GetMacList(char (&buf)[N]) {
    return GetMacList(static_cast<char*>(buf), N);
}

// The length of the longest leading part of list that holds only whole
// addresses and at most maxChars characters.
size_t MacListPrefix(const char* list, size_t maxChars);

// The client's device identity: the MAC list of this machine, at most 259
// characters, computed afresh on every call; empty without adapters.
std::string MakeDeviceId();
