// The life of an installation, as far as the programs of this tree carry
// it: the silent installer puts the client where it finds the installer's
// ids, and the installed client's first start reports the installation
// with them and counts its run.
#include "app/Config.h"
#include "app/Product.h"
#include "tests/support/ClientDriver.h"
#include "tests/support/Installation.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestProcess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RoundTrip : public ::testing::Test {
protected:
    ScratchDir scratch;
    std::wstring folder = scratch.File(kProductName);
    std::wstring config = folder + L"\\" + kConfigFileName;

    void SetUp() override {
        ASSERT_NE(0, StatsPort()) << "the client must be built with a loopback endpoint";
        RemoveInstallation();
    }
    void TearDown() override { RemoveInstallation(); }

    std::wstring Value(const wchar_t* section, const wchar_t* key) {
        wchar_t value[kConfigValueUnits];
        ReadConfigText(config.c_str(), section, key, value);
        return value;
    }
};

TEST_F(RoundTrip, InstalledClientReportsTheInstallationWithTheInstallersIds) {
    LoopbackHttpServer stats(LoopbackHttpServer::Mode::Normal, StatsPort());
    ASSERT_TRUE(stats.Listening());
    ASSERT_EQ(0u, RunInstaller(L"/UID=31 /ADV=42", folder, scratch.Path()));
    const std::wstring installTime = Value(kSectionInstall, kKeyInstallTime);

    ClientProcess client;
    ASSERT_TRUE(client.Start(folder + L"\\" + kClientExeName, folder));
    ASSERT_NE(nullptr, client.WaitForFrame());
    EXPECT_EQ(0u, client.Close());
    const std::vector<LoopbackHttpServer::Request> requests = stats.Requests();
    ASSERT_FALSE(requests.empty());
    const std::string& install = requests.front().body;
    EXPECT_NE(std::string::npos, install.find("&action=install&")) << install;
    EXPECT_NE(std::string::npos, install.find("&agent_id=31&site_id=42")) << install;
    EXPECT_EQ(L"1", Value(kSectionCommon, kKeyRunCount));
    EXPECT_EQ(installTime, Value(kSectionInstall, kKeyInstallTime));
}

}  // namespace
