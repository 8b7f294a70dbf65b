#include "platform/linux/wine_registry.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tarmacia::platform::os {
namespace {

using test::TempDir;
using test::writeFile;

// As Wine writes it, including the CRLF a copied file may have gained.
const char* const kSystemReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\Machine\n"
    "\n"
    "#arch=win32\n"
    "\n"
    "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1700000000\n"
    "#time=1d9a1b2c3d4e5f6\n"
    "\"CurrentBuild\"=\"19043\"\n"
    "\"ProductName\"=\"Microsoft Windows 10 Pro\"\r\n"
    "\"Quoted\"=\"say \\\"hi\\\" C:\\\\x\"\n"
    "\"Wide\"=\"Caf\\x00e9\"\n"
    "\"Count\"=dword:0000002a\n"
    "@=\"the default\"\n"
    "\"Bin\"=hex:01,02,\\\n"
    "  03,04\n"
    "\"Expand\"=str(2):\"%SystemRoot%\\\\x\"\n"
    "\"Broken\"=dword:zz\n"
    "\"Unclosed\"=\"oops\n"
    "garbage line\n"
    "[Software\\\\Unclosed\n"
    "\"Lost\"=\"in no key\"\n";

TEST(WineRegistry, ReadsValuesAsWineWritesThem) {
    TempDir prefix;
    writeFile(prefix / "system.reg", kSystemReg);
    WineRegistry registry(prefix.path());
    const std::string key = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

    EXPECT_TRUE(registry.keyExists(Hive::LocalMachine, key));
    EXPECT_EQ(registry.readString(Hive::LocalMachine, key, "productname"),
              "Microsoft Windows 10 Pro");
    EXPECT_EQ(registry.readString(Hive::LocalMachine, key, "Quoted"), "say \"hi\" C:\\x");
    EXPECT_EQ(registry.readString(Hive::LocalMachine, key, "Wide"), "Caf\xC3\xA9");
    EXPECT_EQ(registry.readString(Hive::LocalMachine, key, ""), "the default");
    EXPECT_EQ(registry.readString(Hive::LocalMachine, key, "Expand"), "%SystemRoot%\\x");
    EXPECT_EQ(registry.readDword(Hive::LocalMachine, key, "Count"), 42u);

    // Wrong types, garbage and missing things read as missing.
    EXPECT_EQ(registry.readString(Hive::LocalMachine, key, "Count"), std::nullopt);
    EXPECT_EQ(registry.readDword(Hive::LocalMachine, key, "Broken"), std::nullopt);
    EXPECT_EQ(registry.readString(Hive::LocalMachine, key, "Unclosed"), std::nullopt);
    EXPECT_EQ(registry.readString(Hive::LocalMachine, key, "Bin"), std::nullopt);
    EXPECT_FALSE(registry.keyExists(Hive::LocalMachine, "Software\\Unclosed"));
    EXPECT_FALSE(registry.keyExists(Hive::CurrentUser, key)); // no user.reg
}

TEST(WineRegistry, SeesChangesWineMakesWhileTheClientRuns) {
    TempDir prefix;
    writeFile(prefix / "user.reg", "[Software\\\\Game] 1\n\"A\"=\"1\"\n");
    WineRegistry registry(prefix.path());
    EXPECT_EQ(registry.readString(Hive::CurrentUser, "Software\\Game", "A"), "1");
    writeFile(prefix / "user.reg", "[Software\\\\Game] 2\n\"A\"=\"22\"\n");
    std::filesystem::last_write_time(prefix / "user.reg",
                                     std::filesystem::file_time_type::clock::now() +
                                         std::chrono::seconds(5));
    EXPECT_EQ(registry.readString(Hive::CurrentUser, "Software\\Game", "A"), "22");
}

TEST(WineRegistry, SurvivesArbitraryBytes) {
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919) % 256);
    junk += "[\\\\x\n\"\\x\n@=\"\\\n";
    EXPECT_NO_THROW(parseRegFile(junk));
}

} // namespace
} // namespace tarmacia::platform::os
