// A loopback HTTP server for tests. It records every request byte for byte
// (request line, headers, body) and answers as told: normally, with a reply
// larger than a client's buffer, slowly, one byte at a time, by closing the
// connection at once, or not at all. Each connection carries one request and is closed after
// the answer.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LoopbackHttpServer {
public:
    enum class Mode {
        Normal,  // 200 with the reply body
        Big,     // 200 with a 4096-byte body
        Slow,    // Normal, after the delay
        Trickle, // Big, every byte of it (headers too) after the delay
        Close,   // read the request, then close without a word
        Silent,  // read the request, then hold the connection until stopped
    };

    struct Request {
        std::string raw;          // everything received, as received
        std::string requestLine;  // without the line end
        std::string method;
        std::string target;
        std::string headers;      // the header lines, each ending in \r\n
        std::string body;
        // How many answers the server had given when this request arrived.
        size_t answersBefore = 0;
        // The value of the first header with this name (case-insensitive),
        // or "" when absent.
        std::string Header(const std::string& name) const;
        bool HasHeader(const std::string& name) const;
    };

    // Listens on 127.0.0.1:port; port 0 picks a free one.
    explicit LoopbackHttpServer(Mode mode = Mode::Normal, uint16_t port = 0);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    bool Listening() const { return listener_ != ~uintptr_t(0); }
    uint16_t Port() const { return port_; }
    // "http://127.0.0.1:<port>"
    std::string Origin() const;

    void SetMode(Mode mode);
    void SetReplyBody(const std::string& body);
    void SetDelay(DWORD ms);

    std::vector<Request> Requests() const;
    // Waits until at least count requests have arrived; false on time-out.
    bool WaitForRequests(size_t count, DWORD timeoutMs) const;

private:
    void AcceptLoop();
    void Serve(uintptr_t connection);
    bool WaitStopped(DWORD ms);

    Mode mode_;
    std::string replyBody_ = "ok";
    DWORD delayMs_ = 1500;
    uintptr_t listener_ = ~uintptr_t(0);
    uint16_t port_ = 0;

    mutable std::mutex lock_;
    mutable std::condition_variable changed_;
    bool stopping_ = false;
    std::vector<Request> requests_;
    size_t answers_ = 0;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

// A loopback port on which nothing listens (refused connections).
uint16_t ClosedLoopbackPort();
// The port of the statistics endpoint the programs were built with, or 0
// when that is not on 127.0.0.1 with a port.
uint16_t StatsPort();
