#include "scan/crc.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace tarmacia::scan {
namespace {

// The register arithmetic written out bit by bit, without zlib or a table.
std::uint32_t bitwiseRegister(const std::string& bytes) {
    std::uint32_t reg = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        reg ^= byte;
        for (int bit = 0; bit < 8; ++bit) reg = (reg >> 1) ^ (0xEDB88320u & (0u - (reg & 1u)));
    }
    return reg;
}

TEST(GetCrc, KnownValues) {
    test::TempDir dir;
    test::writeFile(dir / "abc", "abc");
    test::writeFile(dir / "empty", "");
    struct Case {
        std::filesystem::path file;
        std::uint32_t crc;
    } cases[] = {
        {dir / "abc", 3403398717u},
        {dir / "empty", 4294967295u},
        {dir / "missing", 4294967295u},
        {dir.path(), 4294967295u}, // a folder reads as nothing
    };
    for (const Case& c : cases) EXPECT_EQ(getcrc(c.file), c.crc) << c.file;
}

TEST(GetCrc, LargeFileMatchesTheBitwiseRegister) {
    // Larger than one read block and not a multiple of it.
    std::string bytes(1 << 20 | 12345, '\0');
    std::mt19937 random(7);
    for (char& c : bytes) c = static_cast<char>(random());
    test::TempDir dir;
    test::writeFile(dir / "big.crp", bytes);
    EXPECT_EQ(getcrc(dir / "big.crp"), bitwiseRegister(bytes));
    EXPECT_EQ(bitwiseRegister("abc"), 3403398717u);
}

} // namespace
} // namespace tarmacia::scan
