// The built client's reports as a whole process: started from a scratch
// folder with the statistics endpoint on a loopback server at the build's
// fixed port, it posts the install report on the first run and the exit
// report on every run, and keeps its books whatever the endpoint does.
#include "net/Endpoints.h"
#include "net/MacList.h"
#include "net/PostForm.h"
#include "net/UnixTime.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/programs/support/ClientFolder.h"
#include "base/Scoped.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Mode = LoopbackHttpServer::Mode;
using Fields = std::vector<std::pair<std::string, std::string>>;

// A form body split at "&" and "=" (the test's values hold neither).
Fields Split(const std::string& body) {
    Fields fields;
    size_t start = 0;
    while (start <= body.size()) {
        size_t end = body.find('&', start);
        if (end == std::string::npos) end = body.size();
        std::string field = body.substr(start, end - start);
        size_t equals = field.find('=');
        fields.emplace_back(field.substr(0, equals), equals == std::string::npos ? "" : field.substr(equals + 1));
        start = end + 1;
    }
    return fields;
}

std::vector<std::string> Keys(const Fields& fields) {
    std::vector<std::string> keys;
    for (const auto& field : fields) keys.push_back(field.first);
    return keys;
}

class VstormReports : public ClientFolderTest {
protected:
    void SetUp() override {
        ASSERT_NE(0, StatsPort()) << "the client must be built with a loopback endpoint";
        ClientFolderTest::SetUp();
    }

    // Other programs built with the same endpoint can post to this test's
    // server while it runs; reports carrying this agent id are this test's.
    const int agentTag = static_cast<int>(std::random_device()() % 1000000000u) + 1;

    void TagBooks() {
        WriteConfigInt(config.c_str(), kSectionCommon, kKeyAgentId, agentTag);
    }
    std::vector<LoopbackHttpServer::Request> Mine(const LoopbackHttpServer& server) const {
        const std::string field = "&agent_id=" + std::to_string(agentTag) + "&";
        std::vector<LoopbackHttpServer::Request> mine;
        for (const auto& request : server.Requests()) {
            if (request.body.find(field) != std::string::npos) mine.push_back(request);
        }
        return mine;
    }

    // Checks one report: its fields in order, its time stamp within the
    // run, and the device identity of this machine.
    void ExpectReport(const std::string& body, const char* action, const char* timeKey, uint64_t from,
                      uint64_t to, const char* agentId, const char* siteId) {
        Fields fields = Split(body);
        std::vector<std::string> keys = {"game_id", "action", timeKey, "uuid", "agent_id", "site_id"};
        if (strcmp(action, "close") == 0) keys.push_back("user_name");
        ASSERT_EQ(keys, Keys(fields)) << body;
        EXPECT_EQ("174", fields[0].second);
        EXPECT_EQ(action, fields[1].second);
        uint64_t time = _strtoui64(fields[2].second.c_str(), nullptr, 10);
        EXPECT_GE(time, from) << body;
        EXPECT_LE(time, to) << body;
        EXPECT_EQ(MakeDeviceId(), fields[3].second);
        EXPECT_EQ(agentId, fields[4].second);
        EXPECT_EQ(siteId, fields[5].second);
        if (fields.size() > 6) {
            EXPECT_EQ("", fields[6].second) << "nobody logged in";
        }
    }
};

// The install report goes out while the launcher opens; the player closes
// the client at once, and the exit report still comes after the install
// report's answer.
TEST_F(VstormReports, FirstStartReportsInstallThenExitLaterStartsOnlyExit) {
    LoopbackHttpServer server(Mode::Slow, StatsPort());
    ASSERT_TRUE(server.Listening());
    server.SetDelay(2000);

    const uint64_t before = UnixTimeNow();
    ASSERT_EQ(0u, Start());
    const uint64_t after = UnixTimeNow();
    std::vector<LoopbackHttpServer::Request> requests = server.Requests();
    ASSERT_EQ(2u, requests.size());
    for (const auto& request : requests) {
        EXPECT_EQ("POST / HTTP/1.1", request.requestLine);
        EXPECT_EQ("application/x-www-form-urlencoded", request.Header("Content-Type"));
        EXPECT_EQ("*/*", request.Header("Accept"));
        EXPECT_EQ(std::to_string(request.body.size()), request.Header("Content-Length"));
    }
    ExpectReport(requests[0].body, "install", "install_time", before, after, "0", "0");
    ExpectReport(requests[1].body, "close", "logout_time", before, after, "0", "0");
    EXPECT_EQ(1u, requests[1].answersBefore) << "the exit waited for the install report";

    ASSERT_EQ(0u, Start());
    requests = server.Requests();
    ASSERT_EQ(3u, requests.size());
    ExpectReport(requests[2].body, "close", "logout_time", before, UnixTimeNow(), "0", "0");
    EXPECT_EQ(L"2", Value(kSectionCommon, kKeyRunCount));
}

TEST_F(VstormReports, IdentifiersFromConfigReachTheReportsAsNumbers) {
    WriteConfigText(config.c_str(), kSectionCommon, kKeyAgentId, L"abc");
    WriteConfigText(config.c_str(), kSectionCommon, kKeySiteId, L"99999999999999&x=1");
    LoopbackHttpServer server(Mode::Normal, StatsPort());
    const uint64_t before = UnixTimeNow();
    ASSERT_EQ(0u, Start());
    EXPECT_EQ(L"1", Value(kSectionCommon, kKeyRunCount));
    ASSERT_EQ(2u, server.Requests().size());
    ExpectReport(server.Requests()[0].body, "install", "install_time", before, UnixTimeNow(), "0", "2147483647");

    WriteConfigText(config.c_str(), kSectionCommon, kKeyAgentId, L"4711");
    WriteConfigText(config.c_str(), kSectionCommon, kKeySiteId, L"-25");
    ASSERT_EQ(0u, Start());
    ASSERT_EQ(3u, server.Requests().size());
    ExpectReport(server.Requests()[2].body, "close", "logout_time", before, UnixTimeNow(), "4711", "-25");
}

TEST_F(VstormReports, RefusedOrResetPostsAreNotRetriedAndTheBooksAreKept) {
    ASSERT_EQ(0u, Start());
    EXPECT_EQ(L"1", Value(kSectionCommon, kKeyRunCount));

    WriteConfigText(config.c_str(), kSectionCommon, kKeyRunCount, L"0");
    LoopbackHttpServer server(Mode::Close, StatsPort());
    ASSERT_EQ(0u, Start());
    EXPECT_EQ(L"1", Value(kSectionCommon, kKeyRunCount));
    EXPECT_EQ(2u, server.Requests().size());
}

TEST_F(VstormReports, TheLandingPageReceivesTheInstallTimeAsItIs) {
    WriteConfigText(config.c_str(), kSectionInstall, kKeyInstallTime, L"1700000000&agent_id=999 #x");
    LoopbackHttpServer landing(Mode::Normal, static_cast<uint16_t>(_wtoi(wcsrchr(kLandingPage, L':') + 1)));
    ClientProcess client;
    ASSERT_TRUE(client.Start(exe, dir.Path()));
    ASSERT_TRUE(landing.WaitForRequests(1, kClientRunMs));
    EXPECT_EQ(0u, client.Close());
    EXPECT_EQ(0u, landing.Requests()[0].target.find(
                      "/wd4/?installtime=1700000000%26agent_id%3D999%20%23x&agent_id=0&cplaceid=0&runcount=0&mac="));
}

size_t CountInstallReports(const std::vector<LoopbackHttpServer::Request>& requests) {
    size_t count = 0;
    for (const auto& request : requests) {
        if (request.body.find("&action=install&") != std::string::npos) ++count;
    }
    return count;
}

// Whatever the endpoint does, each report ends at the poster's deadline:
// the run is counted, both reports reach it once, and the client ends on
// its own.
TEST_F(VstormReports, HostileEndpointsHoldTheClientOnlyUntilTheDeadlines) {
    // About twice the deadline: two reports, with room for the start-up and
    // for a busy machine.
    const DWORD limitMs = 2 * kPostDeadlineMs + 8000;
    for (Mode mode : {Mode::Silent, Mode::Trickle}) {
        TagBooks();
        WriteConfigText(config.c_str(), kSectionCommon, kKeyRunCount, L"0");
        LoopbackHttpServer server(mode, StatsPort());
        ASSERT_TRUE(server.Listening());
        server.SetDelay(1000);
        const DWORD start = GetTickCount();
        EXPECT_EQ(0u, Start());
        const DWORD elapsed = GetTickCount() - start;
        EXPECT_LT(elapsed, limitMs) << static_cast<int>(mode);
        EXPECT_EQ(L"1", Value(kSectionCommon, kKeyRunCount));
        std::vector<LoopbackHttpServer::Request> requests = Mine(server);
        ASSERT_EQ(2u, requests.size()) << static_cast<int>(mode);
        EXPECT_EQ(0u, requests[0].body.find("game_id=174&action=install&"));
        EXPECT_EQ(0u, requests[1].body.find("game_id=174&action=close&"));
    }
}

// Clients started together in one folder keep one set of books: the first
// start of a fresh folder reports the install once, and every start counts.
TEST_F(VstormReports, RacingStartsCountEveryRunAndReportOneInstall) {
    LoopbackHttpServer server(Mode::Normal, StatsPort());
    ASSERT_TRUE(server.Listening());
    for (int round = 1; round <= 3; ++round) {
        DeleteFileW(config.c_str());
        TagBooks();
        const size_t before = Mine(server).size();
        for (int pair = 1; pair <= 2; ++pair) {
            EXPECT_EQ(std::vector<DWORD>(2, 0u), StartTogether(2));
            EXPECT_EQ(std::to_wstring(2 * pair), Value(kSectionCommon, kKeyRunCount)) << round;
        }
        std::vector<LoopbackHttpServer::Request> requests = Mine(server);
        requests.erase(requests.begin(), requests.begin() + static_cast<ptrdiff_t>(before));
        EXPECT_EQ(1u, CountInstallReports(requests)) << round;
        EXPECT_EQ(5u, requests.size()) << round;
    }
}

}  // namespace
