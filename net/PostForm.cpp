#include "net/PostForm.h"

#include "net/Endpoints.h"
#include "net/PercentEncode.h"
#include "base/CrashTrace.h"
#include "base/Product.h"
#include "base/TextBuf.h"
#include "base/Scoped.h"
#include "net/ScopedInternet.h"

#include <wininet.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

namespace {

constexpr char kAgent[] = "PostData";
constexpr char kVerb[] = "POST";
constexpr char kContentType[] = "Content-Type: application/x-www-form-urlencoded";
constexpr char kAccept[] = "Accept: */*";
constexpr DWORD kAddOrReplace = HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE;
constexpr DWORD_PTR kContext = 1;
constexpr DWORD kHostBytes = 64;
constexpr DWORD kPathChars = 256;
// The last part of the deadline: the caller closes the handles this long
// before the deadline and waits the rest for the worker to come back. Not
// every WinINet returns from a blocked call when its handle is closed (Wine
// does not); a worker still blocked at the deadline is left to end on its
// own, and the process may end without it.
constexpr DWORD kCancelGraceMs = 500;

// Members close in reverse order: request, connection, root.
struct PostHandles {
    ScopedInternet root;
    ScopedInternet connection;
    ScopedInternet request;
};

// What the caller and the worker share. The worker can outlive the call, so
// it has its own copy of the request and its own reply buffer: it never
// touches the caller's memory.
struct Exchange {
    std::string endpoint;
    std::string body;
    DWORD deadlineMs = 0;
    ScopedKernelHandle finished{CreateEventW(nullptr, TRUE, FALSE, nullptr)};

    std::mutex lock;
    // Set by the caller at the deadline: the handles are closed, and the
    // worker opens no more and adds nothing to the reply.
    bool cancelled = false;
    PostHandles handles;
    char reply[kFormBufferBytes] = {};
    DWORD replyBytes = 0;
    bool sent = false;
};

// Stores a handle the worker has just opened into its slot; false (the
// handle is closed again) once the caller has cancelled.
bool Keep(Exchange& exchange, ScopedInternet PostHandles::*slot, HINTERNET handle) {
    ScopedInternet opened(handle);
    if (!opened) return false;
    std::lock_guard<std::mutex> hold(exchange.lock);
    if (exchange.cancelled) return false;
    exchange.handles.*slot = std::move(opened);
    return true;
}

// The handle in a slot, or null once the caller has cancelled. A handle the
// caller closes right after this is only a stale value to WinINet, which
// looks every handle up and fails the call.
HINTERNET Current(Exchange& exchange, ScopedInternet PostHandles::*slot) {
    std::lock_guard<std::mutex> hold(exchange.lock);
    return exchange.cancelled ? nullptr : (exchange.handles.*slot).Get();
}

// Closes whatever handles are still open, request first.
void CloseHandles(Exchange& exchange) {
    PostHandles closing;
    {
        std::lock_guard<std::mutex> hold(exchange.lock);
        closing.root = std::move(exchange.handles.root);
        closing.connection = std::move(exchange.handles.connection);
        closing.request = std::move(exchange.handles.request);
    }
}

// Some WinINet implementations take the send and receive time-outs only
// from the request handle, others inherit them from the root: set both.
void SetTimeOuts(HINTERNET handle, DWORD timeoutMs) {
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        InternetSetOptionA(handle, option, &timeoutMs, sizeof(timeoutMs));
    }
}

// Opens the handles one after the other and sends; false at the first step
// that fails or once the caller has cancelled.
bool Send(Exchange& exchange) {
    if (!Keep(exchange, &PostHandles::root,
              InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0))) {
        return false;
    }
    HINTERNET root = Current(exchange, &PostHandles::root);
    SetTimeOuts(root, exchange.deadlineMs);

    char host[kHostBytes] = {};
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host;
    parts.dwHostNameLength = kHostBytes;
    // A length without a buffer asks for a pointer into the address.
    parts.dwUrlPathLength = kPathChars;
    if (!InternetCrackUrlA(exchange.endpoint.c_str(), 0, 0, &parts)) return false;
    host[parts.dwHostNameLength < kHostBytes ? parts.dwHostNameLength : kHostBytes - 1] = '\0';

    if (!Keep(exchange, &PostHandles::connection,
              InternetConnectA(root, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, kContext))) {
        return false;
    }
    const char* path = parts.lpszUrlPath ? parts.lpszUrlPath : "";
    // Over TLS WinINet checks the certificate and fails the send on any
    // fault in it; no flag that would ignore one is ever set, so a report
    // goes to the endpoint the address names or nowhere.
    const DWORD flags = parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0;
    if (!Keep(exchange, &PostHandles::request,
              HttpOpenRequestA(Current(exchange, &PostHandles::connection), kVerb, path, nullptr, nullptr,
                               nullptr, flags, kContext))) {
        return false;
    }
    HINTERNET request = Current(exchange, &PostHandles::request);
    SetTimeOuts(request, exchange.deadlineMs);

    HttpAddRequestHeadersA(request, kContentType, static_cast<DWORD>(-1), kAddOrReplace);
    HttpAddRequestHeadersA(request, kAccept, static_cast<DWORD>(-1), kAddOrReplace);
    return HttpSendRequestA(request, kContentType, sizeof(kContentType) - 1, exchange.body.data(),
                            static_cast<DWORD>(exchange.body.size())) != FALSE;
}

// Reads the reply as it arrives, up to the buffer's size, so that what came
// before the deadline is there when the caller stops waiting.
void Receive(Exchange& exchange) {
    DWORD total = 0;
    while (total < kFormBufferBytes) {
        HINTERNET request = Current(exchange, &PostHandles::request);
        DWORD available = 0;
        if (!request || !InternetQueryDataAvailable(request, &available, 0, 0) || available == 0) return;
        char chunk[kFormBufferBytes];
        DWORD got = 0;
        if (!InternetReadFile(request, chunk, std::min<DWORD>(available, kFormBufferBytes - total), &got) ||
            got == 0) {
            return;
        }
        std::lock_guard<std::mutex> hold(exchange.lock);
        if (exchange.cancelled) return;
        memcpy(exchange.reply + total, chunk, got);
        exchange.replyBytes = total += got;
    }
}

void RunExchange(const std::shared_ptr<Exchange>& exchange) {
    if (Send(*exchange)) {
        {
            std::lock_guard<std::mutex> hold(exchange->lock);
            exchange->sent = true;
        }
        Receive(*exchange);
    }
    CloseHandles(*exchange);
    SetEvent(exchange->finished.Get());
}

// "report <action> sent|failed|timed out" in the trace: the body's action
// (the form's own word, letters only) and nothing else of it.
void TraceOutcome(const std::string& body, bool sent, bool timedOut) {
    constexpr char kActionKey[] = "action=";
    constexpr size_t kActionBytes = 16;
    const size_t at = body.find(kActionKey);
    std::string action = at == std::string::npos ? std::string() : body.substr(at + sizeof(kActionKey) - 1);
    action = action.substr(0, action.find('&'));
    if (action.empty() || action.size() >= kActionBytes ||
        action.find_first_not_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos) {
        action = "?";
    }
    char event[64];
    Format(event, "report %s %s", action.c_str(), timedOut ? "timed out" : sent ? "sent" : "failed");
    TraceEvent(event);
}

}  // namespace

DWORD PostFormTo(const char* endpoint, char (&body)[kFormBufferBytes], DWORD deadlineMs) {
    auto exchange = std::make_shared<Exchange>();
    exchange->body.assign(body, strnlen(body, kFormBufferBytes));
    exchange->deadlineMs = deadlineMs;
    // The buffer gives the request up whatever happens, so no caller can
    // mistake its own body for an answer.
    memset(body, 0, kFormBufferBytes);
    if (!endpoint || !exchange->finished) return 0;
    exchange->endpoint = endpoint;

    std::thread worker;
    try {
        worker = std::thread(RunExchange, exchange);
    } catch (const std::system_error&) {
        TraceOutcome(exchange->body, false, false);
        return 0;
    }
    const DWORD grace = std::min(kCancelGraceMs, deadlineMs / 2);
    if (WaitForSingleObject(exchange->finished.Get(), deadlineMs - grace) != WAIT_OBJECT_0) {
        {
            std::lock_guard<std::mutex> hold(exchange->lock);
            exchange->cancelled = true;
        }
        CloseHandles(*exchange);
        WaitForSingleObject(exchange->finished.Get(), grace);
    }
    // Finished means the worker is on its way out; otherwise it keeps the
    // exchange alive for as long as it runs.
    if (WaitForSingleObject(exchange->finished.Get(), 0) == WAIT_OBJECT_0) {
        worker.join();
    } else {
        worker.detach();
    }

    std::lock_guard<std::mutex> hold(exchange->lock);
    TraceOutcome(exchange->body, exchange->sent, exchange->cancelled);
    memcpy(body, exchange->reply, exchange->replyBytes);
    return exchange->replyBytes;
}

DWORD PostForm(char (&body)[kFormBufferBytes]) { return PostFormTo(kStatsEndpoint, body); }

void FormatNamedReport(char (&body)[kFormBufferBytes], const char* format, uint64_t time, const char* uuid,
                       int agentId, int siteId, const char* userName) {
    const std::string encodedUuid = PercentEncode(uuid, kFormValueKeeps);
    memset(body, 0, kFormBufferBytes);
    if (!Format(body, format, kGameId, time, encodedUuid.c_str(), agentId, siteId,
                PercentEncode(userName, kFormValueKeeps).c_str())) {
        memset(body, 0, kFormBufferBytes);
        Format(body, format, kGameId, time, encodedUuid.c_str(), agentId, siteId, "");
    }
}
