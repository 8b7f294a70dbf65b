#include "platform/fake/fake_ini_files.h"
#include "platform/linux/ini_file.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <optional>
#include <utility>

namespace tarmacia::platform {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// The rules hold on disk and in memory alike; a world gives a test its
// IniFiles and the bytes behind them.
class DiskWorld {
public:
    static std::string name() { return "Disk"; }
    IniFiles& files() { return files_; }
    fs::path file(const std::string& name) const { return dir_ / name; }
    void put(const fs::path& file, const std::string& bytes) { test::writeFile(file, bytes); }
    std::optional<std::string> bytes(const fs::path& file) const {
        if (!fs::exists(file)) return std::nullopt;
        return test::readFile(file);
    }
    void failNextWrite() { failRename_ = true; }

private:
    TempDir dir_;
    bool failRename_ = false;
    os::DiskIniFiles files_{[this](const char* from, const char* to) {
        if (std::exchange(failRename_, false)) {
            errno = EXDEV;
            return -1;
        }
        return ::rename(from, to);
    }};
};

class FakeWorld {
public:
    static std::string name() { return "Fake"; }
    IniFiles& files() { return files_; }
    fs::path file(const std::string& name) const { return fs::path("/client") / name; }
    void put(const fs::path& file, const std::string& bytes) { files_.setText(file, bytes); }
    std::optional<std::string> bytes(const fs::path& file) const {
        if (!files_.exists(file)) return std::nullopt;
        return files_.text(file);
    }
    void failNextWrite() { files_.failNextWrite = true; }

private:
    fake::FakeIniFiles files_;
};

template <typename World> class IniFilesTest : public ::testing::Test {
protected:
    World world;
};

struct WorldNames {
    template <typename World> static std::string GetName(int) { return World::name(); }
};
using Worlds = ::testing::Types<DiskWorld, FakeWorld>;
TYPED_TEST_SUITE(IniFilesTest, Worlds, WorldNames);

// As Windows leaves a file: CRLF, 8-bit text, quotes, odd spacing, plus the
// kinds of line a user's editor adds.
const char* const kWindowsFile = "; Tarmacia settings\r\n"
                                 "orphan=before any section\r\n"
                                 "[Login]\r\n"
                                 "Name=  Jos\xE9 \xAC  \r\n"
                                 "quoted=\"  two  spaces  \"\r\n"
                                 "single='x'\r\n"
                                 "half=\"open\r\n"
                                 "mixed=\"a'\r\n"
                                 "inner=a = b = c\r\n"
                                 "  spaced key  =  v  \r\n"
                                 "empty=\r\n"
                                 "name=second\r\n"
                                 "no equals sign\r\n"
                                 "\r\n"
                                 "[ Misc ]\r\n"
                                 "speed=kmh\r\n"
                                 "[broken\r\n"
                                 "after=still misc\r\n"
                                 "[login]\r\n"
                                 "late=hidden by the first Login\r\n"
                                 "[]\r\n"
                                 "nameless=x\r\n";

TYPED_TEST(IniFilesTest, ReadsAFileAsWindowsDoes) {
    auto& files = this->world.files();
    fs::path file = this->world.file("settings.ini");
    this->world.put(file, kWindowsFile);

    struct Row {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Row rows[] = {
        {"login", "NAME", "Jos\xC3\xA9 \xC2\xAC"},
        {"LOGIN", "quoted", "  two  spaces  "},
        {"login", "single", "x"},
        {"login", "half", "\"open"},
        {"login", "mixed", "\"a'"},
        {"login", "inner", "a = b = c"},
        {" login ", " Spaced Key ", "v"},
        {"login", "empty", ""},
        {"misc", "speed", "kmh"},
        {"misc", "after", "still misc"},
        {"login", "late", "<default>"},
        {"", "orphan", "<default>"},
        {"login", "orphan", "<default>"},
        {"", "nameless", "<default>"},
        {"login", "no equals sign", "<default>"},
        {"login", "missing", "<default>"},
        {"missing", "name", "<default>"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(files.readString(file, row.section, row.key, "<default>"), row.expected)
            << "[" << row.section << "] " << row.key;

    EXPECT_TRUE(files.sectionExists(file, "MISC"));
    EXPECT_FALSE(files.sectionExists(file, "broken"));
    EXPECT_EQ(files.sectionNames(file), (std::vector<std::string>{"Login", "Misc"}));
    EXPECT_EQ(files.keyNames(file, "login"),
              (std::vector<std::string>{"Name", "quoted", "single", "half", "mixed", "inner",
                                        "spaced key", "empty"}));
}

TYPED_TEST(IniFilesTest, AMissingFileReadsAsDefaultsAndIsNotCreated) {
    auto& files = this->world.files();
    fs::path file = this->world.file("screen.ini");
    EXPECT_EQ(files.readString(file, "screen", "scrstate", "wsNormal"), "wsNormal");
    EXPECT_FALSE(files.sectionExists(file, "screen"));
    EXPECT_TRUE(files.sectionNames(file).empty());
    EXPECT_TRUE(files.keyNames(file, "screen").empty());
    files.eraseSection(file, "screen");
    files.deleteKey(file, "screen", "scrleft");
    EXPECT_EQ(this->world.bytes(file), std::nullopt);
}

const char* const kSettings = "; Tarmacia settings\r\n"
                              "[Login]\r\n"
                              "name = old  \r\n"
                              "; keep me\r\n"
                              "\r\n"
                              "[misc]\r\n"
                              "sounds=1\r\n";

using Change = std::function<void(IniFiles&, const fs::path&)>;

Change writing(std::string section, std::string key, std::string value) {
    return [=](IniFiles& files, const fs::path& file) {
        files.writeString(file, section, key, value);
    };
}
Change erasing(std::string section) {
    return [=](IniFiles& files, const fs::path& file) { files.eraseSection(file, section); };
}
Change deleting(std::string section, std::string key) {
    return [=](IniFiles& files, const fs::path& file) { files.deleteKey(file, section, key); };
}

TYPED_TEST(IniFilesTest, EditsTouchOnlyTheLinesTheyMust) {
    struct Row {
        const char* name;
        std::optional<std::string> before; // nullopt: no file
        Change change;
        std::optional<std::string> after;
    };
    const std::string s = kSettings;
    const Row rows[] = {
        {"write creates the file", std::nullopt, writing("screen", "scrleft", "255"),
         "[screen]\nscrleft=255\n"},
        {"update in place, CRLF and the rest kept", s, writing("LOGIN", "NAME", "new"),
         "; Tarmacia settings\r\n[Login]\r\nname = new\r\n; keep me\r\n\r\n[misc]\r\nsounds=1\r\n"},
        {"new key ends its section", s, writing("login", "flag", "gbr"),
         "; Tarmacia settings\r\n[Login]\r\nname = old  \r\n; keep me\r\nflag=gbr\r\n\r\n"
         "[misc]\r\nsounds=1\r\n"},
        {"new section at the end", s, writing("screen", "scrleft", "255"),
         s + "[screen]\r\nscrleft=255\r\n"},
        {"after a last line without a break", "[a]\nk=1", writing("b", "k", "2"),
         "[a]\nk=1\n[b]\nk=2\n"},
        {"first duplicate updated", "[a]\nk=1\nK=2\n[A]\nk=3\n", writing("A", "k", "9"),
         "[a]\nk=9\nK=2\n[A]\nk=3\n"},
        {"8-bit text as single bytes", std::nullopt,
         writing("login", "name", "Caf\xC3\xA9 \xC2\xAC"), "[login]\nname=Caf\xE9 \xAC\n"},
        {"padded value quoted", std::nullopt, writing("a", "k", " x "), "[a]\nk=\" x \"\n"},
        {"key before any section left alone", "k=top\n[a]\n", writing("a", "k", "1"),
         "k=top\n[a]\nk=1\n"},
        {"erase takes every copy", "[a]\nk=1\n; note\n\n[b]\nk=2\n[A]\nk=3\n", erasing("a"),
         "[b]\nk=2\n"},
        {"erase of a missing section", s, erasing("screen"), s},
        {"delete in the first section", "[a]\nk=1\nj=2\nK=3\n[a]\nk=4\n", deleting("A", "k"),
         "[a]\nj=2\n[a]\nk=4\n"},
        {"delete of a missing key", s, deleting("login", "flag"), s},
        {"delete without a file", std::nullopt, deleting("login", "flag"), std::nullopt},
    };
    int n = 0;
    for (const Row& row : rows) {
        fs::path file = this->world.file("edit" + std::to_string(n++) + ".ini");
        if (row.before) this->world.put(file, *row.before);
        row.change(this->world.files(), file);
        EXPECT_EQ(this->world.bytes(file), row.after) << row.name;
    }
}

TYPED_TEST(IniFilesTest, ValuesReadBackAsWritten) {
    auto& files = this->world.files();
    fs::path file = this->world.file("misc.ini");
    const std::string values[] = {
        "",       " padded ", "\"quoted\"",          "'single'", "'", "a\"", "\"", "a=b ; c",
        "\t tab", "-1",       "Caf\xC3\xA9 \xC2\xAC"};
    for (const std::string& value : values) {
        files.writeString(file, "hostingip", "ip", value);
        EXPECT_EQ(files.readString(file, "hostingip", "ip", "<default>"), value);
    }
    EXPECT_EQ(files.keyNames(file, "hostingip"), std::vector<std::string>{"ip"});
}

TYPED_TEST(IniFilesTest, KeepsAUtf8FileFromAnEditorInUtf8) {
    auto& files = this->world.files();
    fs::path file = this->world.file("settings.ini");
    this->world.put(file, "\xEF\xBB\xBF[language]\ntranslator=J\xC3\xBCrgen\n");
    EXPECT_EQ(files.readString(file, "language", "translator", ""), "J\xC3\xBCrgen");
    files.writeString(file, "language", "flag", "\xC2\xAC");
    EXPECT_EQ(this->world.bytes(file),
              "\xEF\xBB\xBF[language]\ntranslator=J\xC3\xBCrgen\nflag=\xC2\xAC\n");
}

TYPED_TEST(IniFilesTest, RefusesWhatWouldNotReadBack) {
    auto& files = this->world.files();
    fs::path file = this->world.file("settings.ini");
    this->world.put(file, kSettings);
    struct Row {
        const char* section;
        const char* key;
        const char* value;
    };
    const Row rows[] = {
        {"", "k", "v"},   {"  ", "k", "v"},          {"a\nb", "k", "v"},
        {"a", "", "v"},   {"a", "k=x", "v"},         {"a", "[k]", "v"},
        {"a", ";k", "v"}, {"a", "k", "line\nbreak"}, {"a", "k", "cr\r"},
    };
    for (const Row& row : rows)
        EXPECT_THROW(files.writeString(file, row.section, row.key, row.value), IniError)
            << "[" << row.section << "] " << row.key << "=" << row.value;
    EXPECT_EQ(this->world.bytes(file), kSettings);
}

TYPED_TEST(IniFilesTest, AFailedWriteChangesNothing) {
    auto& files = this->world.files();
    fs::path file = this->world.file("settings.ini");
    fs::path fresh = this->world.file("new.ini");
    this->world.put(file, kSettings);

    this->world.failNextWrite();
    EXPECT_THROW(files.writeString(file, "login", "name", "new"), IniError);
    EXPECT_EQ(this->world.bytes(file), kSettings);
    this->world.failNextWrite();
    EXPECT_THROW(files.eraseSection(file, "login"), IniError);
    EXPECT_EQ(this->world.bytes(file), kSettings);
    this->world.failNextWrite();
    EXPECT_THROW(files.writeString(fresh, "a", "k", "v"), IniError);
    EXPECT_EQ(this->world.bytes(fresh), std::nullopt);

    files.writeString(file, "login", "name", "new"); // the failure was one-off
    EXPECT_EQ(files.readString(file, "login", "name", ""), "new");
}

TYPED_TEST(IniFilesTest, SurvivesGarbage) {
    auto& files = this->world.files();
    fs::path file = this->world.file("settings.ini");
    std::string junk = "garbage\n";
    std::uint32_t seed = 2024;
    for (int i = 0; i < 65536; ++i) {
        seed = seed * 1103515245u + 12345u;
        junk += static_cast<char>(seed >> 24); // NULs, CRs and brackets among them
    }
    junk += "\n[unclosed\n[\n]\n=\n[]]\n[a]\nk=v";
    junk += '\0';
    junk += "w\n";
    junk += std::string(1 << 20, 'x');
    junk += "\n[b]\nkey=ok\n";
    this->world.put(file, junk);

    EXPECT_EQ(files.readString(file, "a", "k", ""), std::string("v\0w", 3));
    EXPECT_EQ(files.readString(file, "b", "key", ""), "ok");
    EXPECT_NO_THROW(files.sectionNames(file));
    EXPECT_EQ(files.keyNames(file, "b"), std::vector<std::string>{"key"});

    files.writeString(file, "b", "new", "1");
    EXPECT_EQ(this->world.bytes(file), junk + "new=1\n");
}

// Disk only: what a crash, a failed rename and file permissions leave behind.

std::vector<std::string> folderListing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t modeOf(const fs::path& file) {
    struct stat info {};
    ::stat(file.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(DiskIniFiles, AFailedRenameLeavesTheOldFileAndNoTemporary) {
    TempDir dir;
    fs::path file = dir / "settings.ini";
    test::writeFile(file, kSettings);
    int renames = 0;
    os::DiskIniFiles files([&](const char*, const char*) {
        ++renames;
        errno = EROFS;
        return -1;
    });
    EXPECT_THROW(files.writeString(file, "login", "name", "new"), IniError);
    EXPECT_EQ(renames, 1);
    EXPECT_EQ(test::readFile(file), kSettings);
    EXPECT_EQ(folderListing(dir.path()), std::vector<std::string>{"settings.ini"});
}

TEST(DiskIniFiles, PrivateFilesAreTheUsersAloneOthersKeepTheirMode) {
    const mode_t savedMask = ::umask(022);
    struct Row {
        const char* name;
        std::optional<mode_t> existing;
        bool isPrivate;
        mode_t expected;
    };
    const Row rows[] = {
        {"new private file", std::nullopt, true, 0600},
        {"private file from an older client", 0644, true, 0600},
        {"new ordinary file", std::nullopt, false, 0644},
        {"ordinary file keeps its mode", 0640, false, 0640},
    };
    for (const Row& row : rows) {
        TempDir dir;
        fs::path file = dir / "settings.ini";
        if (row.existing) {
            test::writeFile(file, "[login]\n");
            ::chmod(file.c_str(), *row.existing);
        }
        os::DiskIniFiles files;
        if (row.isPrivate) files.markPrivate(file);
        if (row.existing) {
            EXPECT_EQ(modeOf(file), row.expected) << row.name << ", when marked";
        }
        files.writeString(file, "login", "password", "5812");
        EXPECT_EQ(modeOf(file), row.expected) << row.name << ", when created or rewritten";
        if (row.isPrivate) {
            ::chmod(file.c_str(), 0644); // the user opened it up meanwhile
            files.writeString(file, "login", "password", "5813");
            EXPECT_EQ(modeOf(file), 0600u) << row.name << ", rewritten again";
        }
    }
    ::umask(savedMask);
}

TEST(DiskIniFiles, ReadsTheFileAsItIsNowAndNeverHangsOrCrashes) {
    TempDir dir;
    os::DiskIniFiles files;
    fs::path file = dir / "screen.ini";

    // No cache: changes and deletions between calls are seen.
    files.writeString(file, "screen", "scrleft", "1");
    test::writeFile(file, "[screen]\r\nscrleft=2\r\n");
    EXPECT_EQ(files.readString(file, "screen", "scrleft", ""), "2");
    fs::remove(file);
    EXPECT_EQ(files.readString(file, "screen", "scrleft", "255"), "255");
    files.writeString(file, "screen", "scrtop", "3");
    EXPECT_EQ(test::readFile(file), "[screen]\nscrtop=3\n");

    // A settings file replaced by a link stays a link.
    fs::path real = dir / "elsewhere" / "sound.ini";
    test::writeFile(real, "[whisper]\n");
    fs::create_symlink(real, dir / "sound.ini");
    files.writeString(dir / "sound.ini", "whisper", "usesound", "True");
    EXPECT_TRUE(fs::is_symlink(dir / "sound.ini"));
    EXPECT_EQ(test::readFile(real), "[whisper]\nusesound=True\n");

    // Things that are no settings file read as missing and are not replaced.
    ASSERT_EQ(::mkfifo((dir / "pipe.ini").c_str(), 0600), 0);
    fs::create_directory(dir / "folder.ini");
    for (const char* name : {"pipe.ini", "folder.ini"}) {
        EXPECT_EQ(files.readString(dir / name, "a", "k", "<default>"), "<default>") << name;
        EXPECT_THROW(files.writeString(dir / name, "a", "k", "v"), IniError) << name;
    }
    EXPECT_THROW(files.writeString(dir / "no folder" / "x.ini", "a", "k", "v"), IniError);

    // An oversized file is read as far as the limit but never cut short by a rewrite.
    fs::path huge = dir / "huge.ini";
    const std::string hugeText = "[a]\nk=1\n" + std::string(os::DiskIniFiles::kMaxBytes, ';');
    test::writeFile(huge, hugeText);
    EXPECT_EQ(files.readString(huge, "a", "k", ""), "1");
    EXPECT_THROW(files.writeString(huge, "a", "k", "2"), IniError);
    EXPECT_EQ(test::readFile(huge), hugeText);
}

} // namespace
} // namespace tarmacia::platform
