#pragma once
// The scan's file checksum: the CRC-32 register left uncomplemented, which is
// what the scan file list stores (so it is the complement of the usual CRC-32).

#include <cstdint>
#include <filesystem>

namespace tarmacia::scan {

// A file that is missing, empty or unreadable gives 4294967295 (the start
// value of the register), which no list entry carries.
std::uint32_t getcrc(const std::filesystem::path& file);

} // namespace tarmacia::scan
