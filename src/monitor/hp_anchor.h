#pragma once
// Finding the HP anchor: the first "\EAGL\" in the game's memory between
// 0x06500000 and 0x07000000, to which HP's moving addresses are relative.
//
// The client has always walked that window in 5000-byte blocks, one read
// each: a block with any unreadable byte is skipped whole, and a marker that
// runs across two blocks is not seen (the walk goes on to the next one). We
// read the readable mappings in large, block-aligned pieces and search them
// with memmem, but keep both of those rules, so the anchor is always the
// one the block walk would settle on: another anchor would point every HP
// read somewhere else.

#include "monitor/game_memory.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace tarmacia::platform {
class ProcessMemory;
}

namespace tarmacia::monitor {

struct AnchorWindow {
    std::uint64_t from = kHp.anchorFrom;
    std::uint64_t to = kHp.anchorTo; // blocks start below this
    std::size_t block = kHp.anchorBlock;
    std::string_view marker = kHp.anchorMarker;
};

// The first marker in `bytes` that lies inside one block, `bytes` starting
// at a block boundary; its offset in `bytes`.
std::optional<std::size_t> findInBlocks(std::string_view bytes, std::size_t block,
                                        std::string_view marker);

// The search itself; `piece` is how much is read at once (whole blocks).
std::optional<std::uint64_t> findHpAnchor(platform::ProcessMemory& memory, int pid,
                                          const AnchorWindow& window = {},
                                          std::size_t piece = 400 * kHp.anchorBlock);

} // namespace tarmacia::monitor
