// The test server itself: what it records and how it answers, seen through
// a plain WinINet client.
#include "tests/support/LoopbackHttpServer.h"

#include "net/ScopedInternet.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Sends one request and returns the reply body ("" when there is none).
std::string Exchange(uint16_t port, const char* verb, const char* path, const std::string& body,
                     bool* sent = nullptr) {
    ScopedInternet root(InternetOpenA("test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    ScopedInternet connection(
        InternetConnectA(root.Get(), "127.0.0.1", port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    ScopedInternet request(HttpOpenRequestA(connection.Get(), verb, path, nullptr, nullptr, nullptr,
                                            INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
    BOOL ok = HttpSendRequestA(request.Get(), nullptr, 0, const_cast<char*>(body.data()),
                               static_cast<DWORD>(body.size()));
    if (sent) *sent = ok != FALSE;
    std::string reply;
    char chunk[1024];
    DWORD got = 0;
    while (ok && InternetReadFile(request.Get(), chunk, sizeof(chunk), &got) && got > 0) reply.append(chunk, got);
    return reply;
}

TEST(LoopbackHttpServer, RecordsRequestsAndAnswersAsTold) {
    LoopbackHttpServer server;
    ASSERT_TRUE(server.Listening());
    server.SetReplyBody("hello");
    EXPECT_EQ("hello", Exchange(server.Port(), "POST", "/form?x=1", "a=1&b=2"));
    ASSERT_TRUE(server.WaitForRequests(1, 5000));
    LoopbackHttpServer::Request request = server.Requests()[0];
    EXPECT_EQ("POST /form?x=1 HTTP/1.1", request.requestLine);
    EXPECT_EQ("POST", request.method);
    EXPECT_EQ("/form?x=1", request.target);
    EXPECT_EQ("a=1&b=2", request.body);
    EXPECT_EQ("7", request.Header("content-length"));
    EXPECT_EQ("127.0.0.1:" + std::to_string(server.Port()), request.Header("Host"));
    EXPECT_EQ(request.raw.size(), request.raw.find("\r\n\r\n") + 4 + request.body.size());

    server.SetMode(LoopbackHttpServer::Mode::Big);
    EXPECT_EQ(4096u, Exchange(server.Port(), "GET", "/big", "").size());
}

TEST(LoopbackHttpServer, ClosingAndClosedPortsGiveNoReply) {
    LoopbackHttpServer server(LoopbackHttpServer::Mode::Close);
    EXPECT_EQ("", Exchange(server.Port(), "POST", "/", "x=1"));
    EXPECT_TRUE(server.WaitForRequests(1, 5000));

    bool sent = true;
    EXPECT_EQ("", Exchange(ClosedLoopbackPort(), "POST", "/", "x=1", &sent));
    EXPECT_FALSE(sent);
}

TEST(LoopbackHttpServer, FixedPortCanBeReusedAtOnce) {
    uint16_t port = 0;
    {
        LoopbackHttpServer first;
        port = first.Port();
        Exchange(port, "GET", "/", "");
    }
    LoopbackHttpServer second(LoopbackHttpServer::Mode::Normal, port);
    EXPECT_TRUE(second.Listening());
    EXPECT_EQ("ok", Exchange(port, "GET", "/", ""));
}

}  // namespace
