#include "monitor/hp_anchor.h"

#include "platform/process_memory.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace tarmacia::monitor {

std::optional<std::size_t> findInBlocks(std::string_view bytes, std::size_t block,
                                        std::string_view marker) {
    if (marker.empty() || marker.size() > block) return std::nullopt;
    std::size_t from = 0;
    while (from + marker.size() <= bytes.size()) {
        const void* hit =
            ::memmem(bytes.data() + from, bytes.size() - from, marker.data(), marker.size());
        if (!hit) return std::nullopt;
        std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - bytes.data());
        if (at % block + marker.size() <= block) return at;
        // Runs into the next block: the next candidate starts in that block.
        from = at + 1;
    }
    return std::nullopt;
}

std::optional<std::uint64_t> findHpAnchor(platform::ProcessMemory& memory, int pid,
                                          const AnchorWindow& w, std::size_t piece) {
    if (pid <= 0 || w.block == 0 || w.to <= w.from) return std::nullopt;
    const std::uint64_t blocks = (w.to - w.from + w.block - 1) / w.block;
    const std::uint64_t end = w.from + blocks * w.block; // the last block runs past `to`
    piece = std::max<std::size_t>(w.block, piece / w.block * w.block);

    // Adjacent mappings form one readable run, so a block across them counts.
    auto regions = memory.readableRegions(pid, w.from, end);
    std::vector<platform::ProcessMemory::Region> runs;
    for (const auto& r : regions) {
        if (!runs.empty() && r.start <= runs.back().end)
            runs.back().end = std::max(runs.back().end, r.end);
        else
            runs.push_back(r);
    }

    std::string bytes;
    for (const auto& run : runs) {
        // Only whole blocks inside the run were ever readable in one piece.
        std::uint64_t first = w.from + (run.start - w.from + w.block - 1) / w.block * w.block;
        std::uint64_t last = w.from + (run.end - w.from) / w.block * w.block;
        for (std::uint64_t at = first; at < last; at += piece) {
            std::size_t length =
                static_cast<std::size_t>(std::min<std::uint64_t>(piece, last - at));
            if (memory.read(pid, at, length, bytes)) {
                if (auto hit = findInBlocks(bytes, w.block, w.marker)) return at + *hit;
                continue;
            }
            // The mapping changed since the map was read: block by block,
            // skipping those that fail, as the walk does.
            for (std::uint64_t b = at; b < at + length; b += w.block)
                if (memory.read(pid, b, w.block, bytes))
                    if (auto hit = findInBlocks(bytes, w.block, w.marker)) return b + *hit;
        }
    }
    return std::nullopt;
}

} // namespace tarmacia::monitor
