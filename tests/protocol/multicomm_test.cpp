#include "protocol/multicomm.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tarmacia::protocol {
namespace {

using Messages = std::vector<std::pair<std::string, std::string>>;

Messages splitAll(const std::string& text) {
    multicomm splitter;
    int count = splitter.split(text);
    Messages out;
    splitter.first();
    for (int i = 0; i < count; ++i) {
        out.emplace_back(splitter.code(), splitter.payload());
        splitter.next();
    }
    return out;
}

struct SplitCase {
    const char* name;
    std::string read;
    Messages expected;
};

class SplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, YieldsTheMessagesOfOneRead) {
    EXPECT_EQ(splitAll(GetParam().read), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Framing, SplitTest,
    testing::Values(
        SplitCase{"two", "~2~hello~3~abc\xC2\xAC" "def", {{"~2~", "hello"}, {"~3~", "abc\xC2\xAC" "def"}}},
        SplitCase{"emptyPayload", "~5~~6~xyz", {{"~5~", ""}, {"~6~", "xyz"}}},
        SplitCase{"codeAlone", "~5~", {{"~5~", ""}}},
        SplitCase{"richText", "~2~{\\rtf1 a~b~c}~3~x", {{"~2~", "{\\rtf1 a~b~c}~3~x"}}},
        SplitCase{"leadingJunk", "lo~3~abc", {{"~3~", "abc"}}},
        SplitCase{"nulCutsTheRead", std::string("~2~ab\0~3~cd", 11), {{"~2~", "ab"}}},
        SplitCase{"fakeCodeInPayload", "~2~x~o~y", {{"~2~", "x"}, {"~o~", "y"}}},
        SplitCase{"loneTilde", "~2~a~b", {{"~2~", "a~b"}}},
        SplitCase{"noCode", "hello", {}},
        SplitCase{"empty", "", {}},
        // A code's middle character may be any character, not only ASCII.
        SplitCase{"wideCodeChar", "~\xC2\xAC~p~2~q", {{"~\xC2\xAC~", "p"}, {"~2~", "q"}}},
        SplitCase{"truncatedTail", "~2~ab~", {{"~2~", "ab~"}}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

TEST(Multicomm, KeepsAtMost101MessagesOfARead) {
    std::string read;
    for (int i = 0; i < 150; ++i) read += "~a~1";
    Messages messages = splitAll(read);
    ASSERT_EQ(messages.size(), 101u);
    EXPECT_EQ(messages.back(), (std::pair<std::string, std::string>{"~a~", "1"}));
}

TEST(Multicomm, ReadPositionStopsAtTheLastSlotAndClearEmptiesEverything) {
    multicomm splitter;
    ASSERT_EQ(splitter.split("~1~a~2~b"), 2);
    splitter.first();
    for (int i = 0; i < 200; ++i) splitter.next();
    EXPECT_EQ(splitter.code(), ""); // slot 100, never filled
    splitter.clear();
    splitter.first();
    EXPECT_EQ(splitter.count(), 0);
    EXPECT_EQ(splitter.code(), "");
    EXPECT_EQ(splitter.payload(), "");
    // A second read after clear starts from slot 0 again.
    EXPECT_EQ(splitter.split("~9~x"), 1);
    splitter.first();
    EXPECT_EQ(splitter.code(), "~9~");
}

} // namespace
} // namespace tarmacia::protocol
