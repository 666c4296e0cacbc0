#include "tests/support/LoopbackHttpServer.h"

#include "net/Endpoints.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

struct WinsockSession {
    WinsockSession() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockSession() { WSACleanup(); }
};

WinsockSession& Winsock() {
    static WinsockSession session;
    return session;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

SOCKET Listen(uint16_t port, uint16_t* boundPort) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return s;
    // A fixed port must be reusable right after the previous test's
    // connections closed.
    BOOL reuse = TRUE;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof(reuse));
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || listen(s, 16) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    int length = sizeof(addr);
    getsockname(s, reinterpret_cast<sockaddr*>(&addr), &length);
    *boundPort = ntohs(addr.sin_port);
    return s;
}

void SendAll(SOCKET s, const std::string& data) {
    size_t sent = 0;
    while (sent < data.size()) {
        int n = send(s, data.data() + sent, static_cast<int>(data.size() - sent), 0);
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
}

// Reads one request: the header block, then Content-Length bytes of body.
LoopbackHttpServer::Request ReadRequest(SOCKET s) {
    LoopbackHttpServer::Request request;
    std::string& raw = request.raw;
    size_t headerEnd = std::string::npos;
    size_t wanted = 0;
    char chunk[4096];
    for (;;) {
        if (headerEnd != std::string::npos && raw.size() >= headerEnd + 4 + wanted) break;
        int n = recv(s, chunk, sizeof(chunk), 0);
        if (n <= 0) break;
        raw.append(chunk, static_cast<size_t>(n));
        if (headerEnd == std::string::npos) {
            headerEnd = raw.find("\r\n\r\n");
            if (headerEnd != std::string::npos) {
                std::string lower = Lower(raw.substr(0, headerEnd + 2));
                size_t at = lower.find("\r\ncontent-length:");
                if (at != std::string::npos) wanted = strtoul(lower.c_str() + at + 17, nullptr, 10);
            }
        }
    }
    if (headerEnd == std::string::npos) return request;
    size_t lineEnd = raw.find("\r\n");
    request.requestLine = raw.substr(0, lineEnd);
    size_t space1 = request.requestLine.find(' ');
    size_t space2 = request.requestLine.rfind(' ');
    if (space1 != std::string::npos && space2 > space1) {
        request.method = request.requestLine.substr(0, space1);
        request.target = request.requestLine.substr(space1 + 1, space2 - space1 - 1);
    }
    request.headers = raw.substr(lineEnd + 2, headerEnd + 2 - (lineEnd + 2));
    request.body = raw.substr(headerEnd + 4);
    return request;
}

}  // namespace

std::string LoopbackHttpServer::Request::Header(const std::string& name) const {
    std::string wanted = Lower(name) + ":";
    size_t start = 0;
    while (start < headers.size()) {
        size_t end = headers.find("\r\n", start);
        if (end == std::string::npos) end = headers.size();
        std::string line = headers.substr(start, end - start);
        if (Lower(line.substr(0, wanted.size())) == wanted) {
            std::string value = line.substr(wanted.size());
            value.erase(0, value.find_first_not_of(' '));
            return value;
        }
        start = end + 2;
    }
    return std::string();
}

bool LoopbackHttpServer::Request::HasHeader(const std::string& name) const {
    std::string wanted = "\r\n" + Lower(name) + ":";
    return Lower("\r\n" + headers).find(wanted) != std::string::npos;
}

LoopbackHttpServer::LoopbackHttpServer(Mode mode, uint16_t port) : mode_(mode) {
    Winsock();
    SOCKET s = Listen(port, &port_);
    if (s == INVALID_SOCKET) return;
    listener_ = static_cast<uintptr_t>(s);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (acceptor_.joinable()) acceptor_.join();
    if (Listening()) closesocket(static_cast<SOCKET>(listener_));
    for (std::thread& worker : workers_) worker.join();
}

std::string LoopbackHttpServer::Origin() const { return "http://127.0.0.1:" + std::to_string(port_); }

void LoopbackHttpServer::SetMode(Mode mode) {
    std::lock_guard<std::mutex> guard(lock_);
    mode_ = mode;
}

void LoopbackHttpServer::SetReplyBody(const std::string& body) {
    std::lock_guard<std::mutex> guard(lock_);
    replyBody_ = body;
}

void LoopbackHttpServer::SetDelay(DWORD ms) {
    std::lock_guard<std::mutex> guard(lock_);
    delayMs_ = ms;
}

std::vector<LoopbackHttpServer::Request> LoopbackHttpServer::Requests() const {
    std::lock_guard<std::mutex> guard(lock_);
    return requests_;
}

bool LoopbackHttpServer::WaitForRequests(size_t count, DWORD timeoutMs) const {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                             [&] { return requests_.size() >= count; });
}

bool LoopbackHttpServer::WaitStopped(DWORD ms) {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, std::chrono::milliseconds(ms), [&] { return stopping_; });
}

void LoopbackHttpServer::AcceptLoop() {
    SOCKET listener = static_cast<SOCKET>(listener_);
    for (;;) {
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (stopping_) return;
        }
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(listener, &ready);
        timeval wait{0, 50 * 1000};
        if (select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
        SOCKET connection = accept(listener, nullptr, nullptr);
        if (connection == INVALID_SOCKET) continue;
        std::lock_guard<std::mutex> guard(lock_);
        workers_.emplace_back([this, connection] { Serve(static_cast<uintptr_t>(connection)); });
    }
}

void LoopbackHttpServer::Serve(uintptr_t handle) {
    SOCKET connection = static_cast<SOCKET>(handle);
    Request request = ReadRequest(connection);
    Mode mode;
    std::string body;
    DWORD delay;
    {
        std::lock_guard<std::mutex> guard(lock_);
        request.answersBefore = answers_;
        requests_.push_back(request);
        mode = mode_;
        body = mode == Mode::Big || mode == Mode::Trickle ? std::string(4096, 'B') : replyBody_;
        delay = delayMs_;
    }
    changed_.notify_all();

    if (mode == Mode::Silent) {
        WaitStopped(INFINITE);
    } else if (mode != Mode::Close) {
        if (mode == Mode::Slow) WaitStopped(delay);
        const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                                  std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
        if (mode == Mode::Trickle) {
            for (size_t at = 0; at < reply.size() && !WaitStopped(delay); ++at) {
                if (send(connection, reply.data() + at, 1, 0) != 1) break;
            }
        } else {
            SendAll(connection, reply);
        }
        shutdown(connection, SD_SEND);
        std::lock_guard<std::mutex> guard(lock_);
        ++answers_;
    }
    closesocket(connection);
}

uint16_t ClosedLoopbackPort() {
    Winsock();
    uint16_t port = 0;
    SOCKET s = Listen(0, &port);
    if (s != INVALID_SOCKET) closesocket(s);
    return port;
}

uint16_t StatsPort() {
    const char prefix[] = "http://127.0.0.1:";
    if (strncmp(kStatsEndpoint, prefix, strlen(prefix)) != 0) return 0;
    return static_cast<uint16_t>(atoi(kStatsEndpoint + strlen(prefix)));
}
