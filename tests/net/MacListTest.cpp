// The MAC list over hand-made adapter records (any machine can be fed in),
// and the real adapter query under Wine.
#include "net/MacList.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

// Adapter records linked in order, as GetAdaptersInfo returns them.
class Adapters {
public:
    Adapters& Add(std::initializer_list<BYTE> address) {
        IP_ADAPTER_INFO record{};
        record.AddressLength = static_cast<UINT>(address.size());
        std::copy(address.begin(), address.end(), record.Address);
        records_.push_back(record);
        return *this;
    }
    Adapters& AddN(size_t count) {
        for (size_t i = 0; i < count; ++i) Add({0x00, 0x1A, 0x2B, 0x3C, 0x4D, static_cast<BYTE>(i)});
        return *this;
    }
    IP_ADAPTER_INFO& Last() { return records_.back(); }
    const IP_ADAPTER_INFO* First() {
        for (size_t i = 0; i < records_.size(); ++i) {
            records_[i].Next = i + 1 < records_.size() ? &records_[i + 1] : nullptr;
        }
        return records_.empty() ? nullptr : &records_[0];
    }

private:
    std::vector<IP_ADAPTER_INFO> records_;
};

// Formats into a buffer of cap bytes pre-filled with '?', so the test sees
// every byte written.
struct Listed {
    int length;
    std::string bytes;
};
Listed Format(Adapters& adapters, size_t cap = 260) {
    std::string buf(cap, '?');
    int length = FormatMacList(adapters.First(), &buf[0], cap);
    return {length, buf};
}
std::string Text(const Listed& listed) { return listed.bytes.c_str(); }

TEST(MacList, AddressBytesAreUpperCaseHexPairs) {
    Adapters one;
    one.Add({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E});
    Listed listed = Format(one);
    EXPECT_EQ(17, listed.length);
    EXPECT_EQ("00:1A:2B:3C:4D:5E", Text(listed));

    Adapters two;
    two.Add({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}).Add({0xFF, 0xa0, 0x09, 0x10, 0xCD, 0xef});
    listed = Format(two);
    EXPECT_EQ(35, listed.length);
    EXPECT_EQ("00:1A:2B:3C:4D:5E#FF:A0:09:10:CD:EF", Text(listed));
}

TEST(MacList, AdaptersWithoutAddressContributeNothing) {
    Adapters adapters;
    adapters.Add({}).Add({0x01, 0x02}).Add({}).Add({0xAB});
    Listed listed = Format(adapters);
    EXPECT_EQ("01:02#AB", Text(listed));

    Adapters empty;
    empty.Add({});
    listed = Format(empty);
    EXPECT_EQ(-1, listed.length);
    EXPECT_EQ(std::string(260, '?'), listed.bytes) << "nothing written";

    Adapters none;
    EXPECT_EQ(-1, Format(none).length);
}

TEST(MacList, OversizedAddressLengthReadsOnlyTheAddressArray) {
    Adapters adapters;
    adapters.Add({1, 2, 3, 4, 5, 6, 7, 8});
    adapters.Last().AddressLength = 4000;
    EXPECT_EQ("01:02:03:04:05:06:07:08", Text(Format(adapters)));
}

TEST(MacList, ListThatDoesNotFitKeepsWholeAdapters) {
    Adapters four;
    four.AddN(4);
    // Three addresses take 53 characters; the fourth would need 71.
    Listed listed = Format(four, 64);
    EXPECT_EQ(53, listed.length);
    EXPECT_EQ("00:1A:2B:3C:4D:00#00:1A:2B:3C:4D:01#00:1A:2B:3C:4D:02", Text(listed));
    EXPECT_EQ('\0', listed.bytes[53]);
    EXPECT_EQ(std::string(10, '?'), listed.bytes.substr(54)) << "nothing past the list";

    // Exactly full: 35 characters and the terminator in 36 bytes.
    EXPECT_EQ(35, Format(four, 36).length);
    EXPECT_EQ(17, Format(four, 35).length);
    Listed tooSmall = Format(four, 17);
    EXPECT_EQ(-1, tooSmall.length);
    EXPECT_EQ(std::string(17, '?'), tooSmall.bytes);

    // The device identity's 260 bytes hold fourteen addresses.
    Adapters many;
    many.AddN(20);
    EXPECT_EQ(14 * 18 - 1, Format(many, 260).length);
}

TEST(MacList, PrefixEndsAtAWholeAddress) {
    const char list[] = "00:1A:2B:3C:4D:00#00:1A:2B:3C:4D:01#00:1A:2B:3C:4D:02#00:1A:2B:3C:4D:03";
    EXPECT_EQ(strlen(list), MacListPrefix(list, 100));
    EXPECT_EQ(53u, MacListPrefix(list, 53));
    EXPECT_EQ(35u, MacListPrefix(list, 52));
    EXPECT_EQ(0u, MacListPrefix(list, 16));
}

TEST(MacList, ThisMachineGivesAWellFormedListOrNone) {
    char buf[512];
    memset(buf, '?', sizeof(buf));
    int length = GetMacList(buf);
    std::string id = MakeDeviceId();
    if (length < 0) {
        EXPECT_EQ('?', buf[0]) << "a failed query leaves the buffer alone";
        EXPECT_EQ("", id);
        return;
    }
    std::string list(buf, static_cast<size_t>(length));
    EXPECT_EQ('\0', buf[length]);
    EXPECT_EQ(list.substr(0, MacListPrefix(list.c_str(), 259)), id);
    for (size_t i = 0; i < list.size(); ++i) {
        char c = list[i];
        EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || c == ':' || c == '#') << list;
    }
    EXPECT_NE('#', list.back());
}

}  // namespace
