#include "net/MacList.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr char kByteSeparator = ':';
constexpr char kAdapterSeparator = '#';
constexpr size_t kDeviceIdBytes = 260;
// Two digits per byte and a separator between bytes.
constexpr size_t kAdapterTextChars = MAX_ADAPTER_ADDRESS_LENGTH * 3 - 1;

// One adapter's address as text into text; its length (0 without address).
size_t FormatAddress(const IP_ADAPTER_INFO& adapter, char (&text)[kAdapterTextChars + 1]) {
    // The length field comes from the driver; the array is all there is.
    const UINT bytes =
        adapter.AddressLength < MAX_ADAPTER_ADDRESS_LENGTH ? adapter.AddressLength : MAX_ADAPTER_ADDRESS_LENGTH;
    size_t length = 0;
    for (UINT j = 0; j < bytes; ++j) {
        if (j > 0) text[length++] = kByteSeparator;
        text[length++] = kHexDigits[adapter.Address[j] >> 4];
        text[length++] = kHexDigits[adapter.Address[j] & 0x0F];
    }
    text[length] = '\0';
    return length;
}

}  // namespace

int FormatMacList(const IP_ADAPTER_INFO* first, char* buf, size_t cap) {
    if (!buf || cap == 0) return -1;
    std::string list;
    for (const IP_ADAPTER_INFO* adapter = first; adapter; adapter = adapter->Next) {
        char text[kAdapterTextChars + 1];
        const size_t length = FormatAddress(*adapter, text);
        if (length == 0) continue;
        const size_t needed = list.size() + (list.empty() ? 0 : 1) + length;
        if (needed > cap - 1) break;
        if (!list.empty()) list += kAdapterSeparator;
        list.append(text, length);
    }
    if (list.empty()) return -1;
    memcpy(buf, list.c_str(), list.size() + 1);
    return static_cast<int>(list.size());
}

int GetMacList(char* buf, size_t cap) {
    ULONG size = 0;
    if (GetAdaptersInfo(nullptr, &size) != ERROR_BUFFER_OVERFLOW || size == 0) return -1;
    // An array of records, so the allocation is aligned for them.
    const size_t count = size / sizeof(IP_ADAPTER_INFO) + 1;
    std::unique_ptr<IP_ADAPTER_INFO[]> adapters(new (std::nothrow) IP_ADAPTER_INFO[count]);
    if (!adapters) return -1;
    size = static_cast<ULONG>(count * sizeof(IP_ADAPTER_INFO));
    if (GetAdaptersInfo(adapters.get(), &size) != NO_ERROR) return -1;
    return FormatMacList(adapters.get(), buf, cap);
}

size_t MacListPrefix(const char* list, size_t maxChars) {
    if (!list) return 0;
    const size_t length = strlen(list);
    if (length <= maxChars) return length;
    // The separator right after the cut (or before it) ends the last whole
    // address that fits.
    for (size_t end = maxChars; end > 0; --end) {
        if (list[end] == kAdapterSeparator) return end;
    }
    return 0;
}

std::string MakeDeviceId() {
    char list[kDeviceIdBytes] = {};
    GetMacList(list);
    return list;
}
