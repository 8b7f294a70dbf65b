#include "scan/scan_file_list.h"

#include "protocol/passenc.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tarmacia::scan {
namespace {

std::string scramble(const std::string& text) {
    return protocol::passenc(text, protocol::randomPrefixSource());
}

std::string line(const std::string& name, const std::string& checksum, const std::string& version) {
    return "x~" + name + "~" + scramble(checksum) + "~" + version + "~\r\n";
}

TEST(ScanFileList, FieldsAreCutAndMissingOnesEmpty) {
    ScanFileList list;
    list.loadBytes(std::string(40, 'a') + "~" + std::string(40, 'b') + "~c~" + std::string(90, 'd') + "~tail\r\n" +
                   "one~two\n" + "no tilde at all\n" + "~~~~~~~\n" + "\xE9t\xE9~\xFF~\n" + "last");
    const auto& e = list.entries();
    ASSERT_EQ(e.size(), 6u);
    EXPECT_EQ(e[0], (ScanFileList::Entry{std::string(30, 'a'), std::string(30, 'b'), "c", std::string(70, 'd')}));
    EXPECT_EQ(e[1], (ScanFileList::Entry{"one", "", "", ""}));
    EXPECT_EQ(e[2], (ScanFileList::Entry{"", "", "", ""}));
    EXPECT_EQ(e[3], (ScanFileList::Entry{"", "", "", ""}));
    EXPECT_EQ(e[4][0], "\xC3\xA9t\xC3\xA9"); // Windows-1252 in, UTF-8 inside
    EXPECT_EQ(e[5], (ScanFileList::Entry{"", "", "", ""}));
}

TEST(ScanFileList, HoldsAtMost266Entries) {
    std::string bytes;
    for (int i = 1; i <= 300; ++i) bytes += "e~f" + std::to_string(i) + ".crp~~~\n";
    test::TempDir dir;
    test::writeFile(dir / "filelist2.trm", bytes);
    ScanFileList list;
    EXPECT_TRUE(list.loadscanfile(dir / "filelist2.trm"));
    ASSERT_EQ(list.entries().size(), 266u);
    EXPECT_EQ(list.entries().back()[1], "f266.crp");
    EXPECT_FALSE(list.loadscanfile(dir / "missing.trm"));
    EXPECT_TRUE(list.entries().empty());
}

TEST(ScanFileList, CheckscanVerdicts) {
    ScanFileList list;
    std::string checksumWithBlanks = scramble(" 77 ");
    list.loadBytes(line("nfs5.car.bak", "111", "bak") +            // containment
                   line("Porsche.exe", "222", "PU v1") +           // a version per checksum,
                   line("PORSCHE.EXE", "333", "PU v2") +           // the first match wins
                   line("porsche.exe", "333", "PU later") +
                   line("Cars\\F1\\CAR.INI", "444", "hp car") +     // any car folder
                   "x~clokspl.exe~" + checksumWithBlanks + "~hs~\n" + // blanks are dropped
                   "x~Ip.exe~garbage~broken~\n");
    struct Case {
        const char* game;
        const char* name;
        const char* checksum;
        const char* verdict;
    } cases[] = {
        {"PU", "nfs5.car", "111", "yesok~nfs5.car~bak"},
        {"PU", "NFS5.CAR", "111", "yesok~NFS5.CAR~bak"},
        {"PU", "nfs5.car", "112", "notok~nfs5.car~Unknown Version"},
        {"PU", "Porsche.exe", "222", "yesok~Porsche.exe~PU v1"},
        {"PU", "Porsche.exe", "333", "yesok~Porsche.exe~PU v2"},
        {"HP", "\\Cars\\murcie\\car.ini", "444", "yesok~car.ini~hp car"},
        {"HP", "\\Cars\\murcie\\car.ini", "445", "notok~car.ini~Unknown Version"},
        {"PU", "\\Cars\\murcie\\car.ini", "444", "notok~\\Cars\\murcie\\car.ini~Unknown Version"},
        {"HS", "clokspl.exe", "77", "yesok~clokspl.exe~hs"},
        {"HS", "Ip.exe", "4294967295", "notok~Ip.exe~Unknown Version"},
        {"HS", "nfshs.exe", "4294967295", "notok~nfshs.exe~Unknown Version"},
    };
    for (const Case& c : cases) EXPECT_EQ(list.checkscan(c.game, c.name, c.checksum), c.verdict) << c.name;
}

TEST(ScanFileList, SplitVerdict) {
    struct Case {
        const char* line;
        Verdict verdict;
    } cases[] = {
        {"yesok~Porsche.exe~PU v3.5", {"yesok", "Porsche.exe", "PU v3.5"}},
        {"notok~a~b~c", {"notok", "a~b", "c"}},
        {"notok~nfshs.exe", {"notok", "nfshs.exe", ""}},
        {"server says no", {"", "server says no", ""}},
        {"", {"", "", ""}},
        {"~~", {"", "", ""}},
    };
    for (const Case& c : cases) EXPECT_EQ(splitVerdict(c.line), c.verdict) << c.line;
}

} // namespace
} // namespace tarmacia::scan
