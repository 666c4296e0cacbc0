#include "net/PostForm.h"

#include "net/Endpoints.h"
#include "ui/Scoped.h"

#include <wininet.h>

#include <cstring>

namespace {

constexpr char kAgent[] = "PostData";
constexpr char kVerb[] = "POST";
constexpr char kContentType[] = "Content-Type: application/x-www-form-urlencoded";
constexpr char kAccept[] = "Accept: */*";
constexpr DWORD kAddOrReplace = HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE;
constexpr DWORD_PTR kContext = 1;
constexpr DWORD kHostBytes = 64;
constexpr DWORD kPathChars = 256;

// Members close in reverse order: request, connection, root.
struct PostHandles {
    ScopedInternet root;
    ScopedInternet connection;
    ScopedInternet request;
};

// Some WinINet implementations take the send and receive time-outs only
// from the request handle, others inherit them from the root: set both.
void SetTimeOuts(HINTERNET handle, DWORD timeoutMs) {
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        InternetSetOptionA(handle, option, &timeoutMs, sizeof(timeoutMs));
    }
}

// Opens the handles one after the other and sends; false at the first step
// that fails, with what was opened so far left in handles.
bool Send(const char* endpoint, char* body, DWORD length, DWORD timeoutMs, PostHandles& handles) {
    handles.root.Reset(InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!handles.root) return false;
    SetTimeOuts(handles.root.Get(), timeoutMs);

    char host[kHostBytes] = {};
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host;
    parts.dwHostNameLength = kHostBytes;
    // A length without a buffer asks for a pointer into the address.
    parts.dwUrlPathLength = kPathChars;
    if (!InternetCrackUrlA(endpoint, 0, 0, &parts)) return false;
    host[parts.dwHostNameLength < kHostBytes ? parts.dwHostNameLength : kHostBytes - 1] = '\0';

    handles.connection.Reset(InternetConnectA(handles.root.Get(), host, parts.nPort, nullptr, nullptr,
                                              INTERNET_SERVICE_HTTP, 0, kContext));
    if (!handles.connection) return false;

    const char* path = parts.lpszUrlPath ? parts.lpszUrlPath : "";
    handles.request.Reset(
        HttpOpenRequestA(handles.connection.Get(), kVerb, path, nullptr, nullptr, nullptr, 0, kContext));
    if (!handles.request) return false;
    SetTimeOuts(handles.request.Get(), timeoutMs);

    HttpAddRequestHeadersA(handles.request.Get(), kContentType, static_cast<DWORD>(-1), kAddOrReplace);
    HttpAddRequestHeadersA(handles.request.Get(), kAccept, static_cast<DWORD>(-1), kAddOrReplace);
    return HttpSendRequestA(handles.request.Get(), kContentType, sizeof(kContentType) - 1, body, length) !=
           FALSE;
}

}  // namespace

DWORD PostFormTo(const char* endpoint, char (&body)[kFormBufferBytes], DWORD timeoutMs) {
    const DWORD length = static_cast<DWORD>(strnlen(body, kFormBufferBytes));
    PostHandles handles;
    const bool sent = endpoint && Send(endpoint, body, length, timeoutMs, handles);

    // The buffer gives the request up whatever happened, so no caller can
    // mistake its own body for an answer.
    memset(body, 0, kFormBufferBytes);
    DWORD read = 0;
    if (sent && !InternetReadFile(handles.request.Get(), body, kFormBufferBytes, &read)) {
        memset(body, 0, kFormBufferBytes);
        read = 0;
    }
    return read;
}

DWORD PostForm(char (&body)[kFormBufferBytes]) { return PostFormTo(kStatsEndpoint, body); }
