#include "protocol/passenc.h"

#include "common/cp1252.h"

#include <gtest/gtest.h>

namespace tarmacia::protocol {
namespace {

PrefixSource fixed(int a, int b) {
    auto calls = std::make_shared<int>(0);
    return [=] { return (*calls)++ == 0 ? a : b; };
}

TEST(Passenc, EmptyTextIsTheRandomPrefixAlone) {
    std::string scrambled = passenc("", randomPrefixSource());
    ASSERT_EQ(scrambled.size(), 6u);
    int first = std::stoi(scrambled.substr(0, 3));
    int second = std::stoi(scrambled.substr(3, 3));
    EXPECT_GE(first, 147);
    EXPECT_LE(first, 166);
    EXPECT_GE(second, 147);
    EXPECT_LE(second, 166);
    EXPECT_EQ(passdec2(scrambled), "");
}

TEST(Passenc, KnownTextAndItsInverse) {
    std::string scrambled = passenc("abc", fixed(46, 64));
    EXPECT_EQ(scrambled, "147166200202204");
    EXPECT_EQ(passdec2(scrambled), "abc");
    EXPECT_EQ(passenc("abc", randomPrefixSource()).substr(6), "200202204");
}

TEST(Passenc, GroupsThatAreNotDigitsYieldNothing) {
    EXPECT_EQ(passdec2("147148x9a"), "");
    EXPECT_EQ(passdec2(""), "");
    EXPECT_EQ(passdec2("12"), "");
    // Garbage values outside a byte are dropped, not wrapped.
    EXPECT_EQ(passdec2("147148999000"), "");
}

TEST(Passenc, EveryByteSurvivesTheRoundTrip) {
    std::string bytes;
    for (int b = 1; b <= 255; ++b) bytes += static_cast<char>(b);
    std::string plain = cp1252::decode(bytes);
    EXPECT_EQ(passdec2(passenc(plain, randomPrefixSource())), plain);
}

TEST(Passenc, StopsAtTheFirstNul) {
    EXPECT_EQ(passenc(std::string("ab\0cd", 5), fixed(50, 50)).size(), 12u);
}

} // namespace
} // namespace tarmacia::protocol
