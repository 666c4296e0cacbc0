// The uninstall report's body and device identity, byte for
// byte, and what happens at their buffers' ends.
#include "uninstall/UninstallUuid.h"
#include "uninstall/UninstallWorker.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const CpuidWords kWords{0x49656E69, 0x0000000D, 0xBFEBFBFF, 0x7FFAFBBF};

TEST(UninstallReport, BodyIsTheFormatWithTheValuesEncoded) {
    char body[kFormBufferBytes];
    FormatUninstallReport(body, 1700000000ull, "00:1A:2B:3C:4D:5E-X", 12, -3, L"a b&c");
    EXPECT_STREQ(
        "game_id=174&action=uninstall&uninstall_time=1700000000&uuid=00:1A:2B:3C:4D:5E-X&agent_id=12&"
        "site_id=-3&user_name=a%20b%26c",
        body);
}

TEST(UninstallReport, AUserNameThatDoesNotFitIsSentEmpty) {
    char body[kFormBufferBytes];
    const std::string uuid(kUninstallUuidBytes - 1, 'U');
    const std::wstring name(200, L'n');
    FormatUninstallReport(body, 18446744073709551615ull, uuid.c_str(), -2147483647 - 1, -2147483647 - 1,
                          name.c_str());
    const std::string text(body);
    EXPECT_LT(text.size(), kFormBufferBytes);
    EXPECT_EQ("&user_name=", text.substr(text.size() - 11));
    EXPECT_NE(std::string::npos, text.find("&uuid=" + uuid + "&"));

    FormatUninstallReport(body, 1, "u", 0, 0, std::wstring(63, L'n').c_str());
    EXPECT_EQ("game_id=174&action=uninstall&uninstall_time=1&uuid=u&agent_id=0&site_id=0&user_name=" +
                  std::string(63, 'n'),
              std::string(body));
}

TEST(UninstallUuid, ListThenFourProcessorWords) {
    EXPECT_EQ("00:1A:2B:3C:4D:5E#00:1A:2B:3C:4D:5F-BFEBFBFF0000000DBFEBFBFF7FFAFBBF",
              FormatUninstallUuid("00:1A:2B:3C:4D:5E#00:1A:2B:3C:4D:5F",
                                  CpuidWords{0xBFEBFBFF, 0x0000000D, 0xBFEBFBFF, 0x7FFAFBBF}));
    EXPECT_EQ("-49656E690000000DBFEBFBFF7FFAFBBF", FormatUninstallUuid("", kWords));
    EXPECT_EQ("-49656E690000000DBFEBFBFF7FFAFBBF", FormatUninstallUuid(nullptr, kWords));
}

TEST(UninstallUuid, ManyAdaptersKeepWholeAddressesAndTheProcessorPart) {
    std::string list;
    for (int i = 0; i < 20; ++i) list += (i ? "#" : "") + std::string("00:1A:2B:3C:4D:") + "5" + char('A' + i % 6);
    const std::string uuid = FormatUninstallUuid(list.c_str(), kWords);
    EXPECT_LE(uuid.size(), kUninstallUuidBytes - 1);
    const std::string tail = "-49656E690000000DBFEBFBFF7FFAFBBF";
    ASSERT_GT(uuid.size(), tail.size());
    EXPECT_EQ(tail, uuid.substr(uuid.size() - tail.size()));
    const std::string kept = uuid.substr(0, uuid.size() - tail.size());
    EXPECT_EQ(list.substr(0, kept.size()), kept);
    EXPECT_EQ('#', list[kept.size()]) << "cut between two addresses";
}

}  // namespace
