#include "chat/markup.h"
#include "chat/rtf.h"

#include <gtest/gtest.h>

#include <string>

namespace tarmacia::chat {
namespace {

// What RichEdit on Windows 10 writes for a chat line, byte for byte.
const std::string kRichEditLine =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 "
    "Tahoma;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n{\\*\\generator Riched20 "
    "10.0.19041}\\viewkind4\\uc1 \r\n\\pard\\cf1\\f0\\fs20\\lang9 [GBR]Bob: caf\\'e9 \\'80 "
    "5\\par\r\n}\r\n";

TEST(RtfToText, ReadsRichEditOutput) {
    // The final \par is a line break like any other; the display trims it.
    EXPECT_EQ(rtfToText(kRichEditLine), "[GBR]Bob: caf\xC3\xA9 \xE2\x82\xAC 5\r\n");
    EXPECT_EQ(getcolor(kRichEditLine, "000000"), "FF0000");
}

struct ReadCase {
    const char* name;
    std::string rtf;
    std::string text;
};

class RtfReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(RtfReadTest, GivesThePlainText) {
    EXPECT_EQ(rtfToText(GetParam().rtf), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rtf, RtfReadTest,
    testing::Values(
        // \uN is followed by \ucN fallback characters, which are not text; a
        // \'xx counts as one of them.
        ReadCase{"unicodeSkipsFallback", "{\\rtf1\\uc1 a\\u8364?b\\uc2\\u-3913\\'3f\\'3fc}",
                 "a\xE2\x82\xAC"
                 "b\xEF\x82\xB7"
                 "c"},
        ReadCase{"fallbackEndsWithGroup", "{\\rtf1\\uc3{\\u955 x}y}", "\xCE\xBBy"},
        ReadCase{"surrogatePair", "{\\rtf1\\uc1\\u-10179?\\u-8704?}", "\xF0\x9F\x98\x80"},
        ReadCase{"symbols", "{\\rtf1 a\\~b\\-c\\_d\\tab e\\\\\\{\\}}",
                 "a\xC2\xA0"
                 "bc-d\te\\{}"},
        ReadCase{"hiddenDestinations",
                 "{\\rtf1{\\stylesheet{x}}{\\info{\\title t}}{\\*\\unknown u{\\v v}}"
                 "{\\pict\\pngblip 89504e47}{\\object{\\result r}}ok}",
                 "ok"},
        ReadCase{"nestedGroups", "{\\rtf1 a{\\b b{\\i c}}d\\line e}", "abcd\r\ne"},
        ReadCase{"binarySkipped", "{\\rtf1 a{\\pict\\bin3 }}}}b}", "ab"},
        ReadCase{"strayClosingBraces", "}}{\\rtf1 a}}}b{", "ab"},
        ReadCase{"unclosed", "{\\rtf1 a{\\b b", "ab"},
        ReadCase{"truncatedEscapes", "{\\rtf1 a\\'e", "a"},
        ReadCase{"backslashAtEnd", "{\\rtf1 a\\", "a"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST(RtfToText, HugeAndDeepInputIsLinear) {
    std::string deep(200000, '{');
    deep += "x";
    EXPECT_EQ(rtfToText(deep), "x");

    std::string wide = "{\\rtf1 ";
    for (int i = 0; i < 200000; ++i)
        wide += "ab\\'e9{\\b c}\\par ";
    wide += "}";
    std::string text = rtfToText(wide);
    EXPECT_EQ(text.size(), 200000u * 7);
}

TEST(WriteRtf, RoundTripsTextWithPicturesSkipped) {
    // "¬" and "€" are single bytes in code page 1252; "λ" is not in it.
    std::string plain = "[GBR]Bob: \xC2\xAC \xE2\x82\xAC {x} \\ \xCE\xBB\r\nnext";
    RtfPicture bmp{10, std::string("BM") + std::string(12, '\0') +
                           std::string("\x28\0\0\0\x10\0\0\0\x10\0\0\0", 12)};
    RtfPicture png{0, std::string("\x89PNG\r\n\x1a\n", 8) + "rest"};
    std::string rtf = writeRtf(plain, {255, 128, 0}, 24, {bmp, png});

    EXPECT_EQ(rtfToText(rtf), plain);
    EXPECT_EQ(getcolor(rtf, "000000"), "FF8000");
    EXPECT_NE(rtf.find("\\'ac"), std::string::npos);
    EXPECT_NE(rtf.find("\\'80"), std::string::npos);
    EXPECT_NE(rtf.find("\\u955?"), std::string::npos);
    // Each picture is a group that opens with "\pic" where it was put.
    std::size_t name = rtf.find("[GBR]Bob:");
    EXPECT_LT(rtf.find("{\\pict\\pngblip"), name);
    EXPECT_GT(rtf.find("{\\pict\\dibitmap0\\picw16\\pich16"), name);
    // The first "fs" window is the font size, with the colour before it.
    std::size_t fs = rtf.find("fs");
    EXPECT_EQ(rtf.substr(fs, 4), "fs24");
    EXPECT_LT(rtf.find("\\red255"), fs);
    EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u);
}

} // namespace
} // namespace tarmacia::chat
