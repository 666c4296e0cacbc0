// The form poster against a real loopback server: what goes on the wire,
// what the caller's buffer holds afterwards, and how it fails.
#include "net/PostForm.h"

#include "tests/support/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using Mode = LoopbackHttpServer::Mode;

struct Form {
    char body[kFormBufferBytes];
    explicit Form(const std::string& text) {
        memset(body, 0, sizeof(body));
        memcpy(body, text.data(), text.size() < sizeof(body) ? text.size() : sizeof(body));
    }
    std::string Bytes() const { return std::string(body, sizeof(body)); }
};

std::string Endpoint(const LoopbackHttpServer& server) { return server.Origin() + "/"; }

std::string Zeros(size_t count) { return std::string(count, '\0'); }

TEST(PostForm, PostsTheBodyAsAFormToTheRoot) {
    LoopbackHttpServer server;
    server.SetReplyBody("thanks");
    // Blanks, "&", "%" and high bytes go out exactly as given.
    const std::string text = "game_id=174&action=close&user_name=a b&c%20\xB0\xA1";
    Form form(text);

    EXPECT_EQ(6u, PostFormTo(Endpoint(server).c_str(), form.body));

    ASSERT_TRUE(server.WaitForRequests(1, 5000));
    ASSERT_EQ(1u, server.Requests().size());
    LoopbackHttpServer::Request request = server.Requests()[0];
    EXPECT_EQ("POST / HTTP/1.1", request.requestLine);
    EXPECT_EQ("127.0.0.1:" + std::to_string(server.Port()), request.Header("Host"));
    EXPECT_EQ("application/x-www-form-urlencoded", request.Header("Content-Type"));
    EXPECT_EQ("*/*", request.Header("Accept"));
    EXPECT_EQ("PostData", request.Header("User-Agent"));
    EXPECT_EQ(std::to_string(text.size()), request.Header("Content-Length"));
    EXPECT_EQ(text, request.body);

    EXPECT_EQ("thanks" + Zeros(kFormBufferBytes - 6), form.Bytes()) << "the reply replaces the request";
}

TEST(PostForm, EmptyBodyIsPostedWithLengthZero) {
    LoopbackHttpServer server;
    Form form("");
    EXPECT_EQ(2u, PostFormTo(Endpoint(server).c_str(), form.body));
    ASSERT_TRUE(server.WaitForRequests(1, 5000));
    LoopbackHttpServer::Request request = server.Requests()[0];
    EXPECT_EQ("POST", request.method);
    EXPECT_EQ("0", request.Header("Content-Length"));
    EXPECT_EQ("", request.body);
}

TEST(PostForm, ReadsNoMoreThanTheBufferAndNothingPastIt) {
    LoopbackHttpServer server(Mode::Big);
    // A body that fills all 512 bytes without a terminator.
    Form form(std::string(kFormBufferBytes, 'x'));
    EXPECT_EQ(kFormBufferBytes, PostFormTo(Endpoint(server).c_str(), form.body));
    EXPECT_EQ(std::string(kFormBufferBytes, 'B'), form.Bytes());

    ASSERT_TRUE(server.WaitForRequests(1, 5000));
    LoopbackHttpServer::Request request = server.Requests()[0];
    EXPECT_EQ("512", request.Header("Content-Length"));
    EXPECT_EQ(std::string(kFormBufferBytes, 'x'), request.body);
}

TEST(PostForm, SlowReplyIsWaitedFor) {
    LoopbackHttpServer server(Mode::Slow);
    server.SetDelay(700);
    Form form("a=1");
    const DWORD start = GetTickCount();
    EXPECT_EQ(2u, PostFormTo(Endpoint(server).c_str(), form.body));
    EXPECT_GE(GetTickCount() - start, 600u);
    EXPECT_EQ("ok" + Zeros(kFormBufferBytes - 2), form.Bytes());
}

// WinINet's own time-outs start again with every byte that arrives; the
// deadline holds however the endpoint stalls, give or take the scheduler.
constexpr DWORD kOverrunMs = 300;

TEST(PostForm, SilentOrTricklingEndpointsEndAtTheDeadline) {
    constexpr DWORD deadline = 1500;
    for (Mode mode : {Mode::Silent, Mode::Trickle}) {
        LoopbackHttpServer server(mode);
        server.SetDelay(300);
        Form form("a=1");
        const DWORD start = GetTickCount();
        EXPECT_EQ(0u, PostFormTo(Endpoint(server).c_str(), form.body, deadline));
        const DWORD elapsed = GetTickCount() - start;
        EXPECT_GE(elapsed, deadline / 2) << static_cast<int>(mode);
        EXPECT_LT(elapsed, deadline + kOverrunMs) << static_cast<int>(mode);
        EXPECT_EQ(Zeros(kFormBufferBytes), form.Bytes());
        EXPECT_EQ(1u, server.Requests().size());
    }
}

TEST(PostForm, ReplyIsKeptAsFarAsItArrivedByTheDeadline) {
    // Long enough for the headers to arrive while many tests start at once;
    // the 4096-byte body does not arrive by then.
    constexpr DWORD deadline = 3000;
    LoopbackHttpServer server(Mode::Trickle);
    server.SetDelay(5);
    Form form("a=1");
    const DWORD start = GetTickCount();
    const DWORD read = PostFormTo(Endpoint(server).c_str(), form.body, deadline);
    EXPECT_LT(GetTickCount() - start, deadline + kOverrunMs);
    EXPECT_GT(read, 0u);
    EXPECT_LT(read, kFormBufferBytes);
    EXPECT_EQ(std::string(read, 'B') + Zeros(kFormBufferBytes - read), form.Bytes());
    // Nothing is written into the buffer once the call has returned.
    Sleep(300);
    EXPECT_EQ(std::string(read, 'B') + Zeros(kFormBufferBytes - read), form.Bytes());
}

TEST(PostForm, FailuresLeaveZerosAndAreNotRetried) {
    const std::string request = "game_id=174&action=install";
    {
        Form form(request);
        std::string refused = "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort()) + "/";
        EXPECT_EQ(0u, PostFormTo(refused.c_str(), form.body));
        EXPECT_EQ(Zeros(kFormBufferBytes), form.Bytes());
    }
    {
        LoopbackHttpServer server(Mode::Close);
        Form form(request);
        EXPECT_EQ(0u, PostFormTo(Endpoint(server).c_str(), form.body));
        EXPECT_EQ(Zeros(kFormBufferBytes), form.Bytes());
        Sleep(200);
        EXPECT_EQ(1u, server.Requests().size()) << "nothing is retried";
    }
    {
        // A host name longer than the poster's 64-byte host buffer.
        Form form(request);
        std::string longHost = "http://" + std::string(80, 'h') + ".example/";
        EXPECT_EQ(0u, PostFormTo(longHost.c_str(), form.body));
        EXPECT_EQ(Zeros(kFormBufferBytes), form.Bytes());
        Form none(request);
        EXPECT_EQ(0u, PostFormTo(nullptr, none.body));
        EXPECT_EQ(Zeros(kFormBufferBytes), none.Bytes());
    }
}

}  // namespace
