// HP anchor search: the whole 11 MB window searched through the real memory
// reader (process_vm_readv on this process's own pid, a few large reads and
// memmem), against a plain memcpy of the same window (the floor) and the
// old way of one 5000-byte read per block (what the large reads replace).
// The marker sits near the end, so every search walks nearly everything.

#include "monitor/hp_anchor.h"
#include "platform/linux/process_memory.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

using tarmacia::monitor::AnchorWindow;
using tarmacia::monitor::kHp;

constexpr std::size_t kSpan = 0x07000000 - 0x06500000;
constexpr std::size_t kWindow = (kSpan + 4999) / 5000 * 5000; // every block, the last runs past

struct Memory {
    std::unique_ptr<char[]> bytes{new char[kWindow]};
    std::uint64_t address = reinterpret_cast<std::uintptr_t>(bytes.get());
    std::size_t markerAt = kWindow - 4321;

    Memory() {
        for (std::size_t i = 0; i < kWindow; ++i)
            bytes[i] = static_cast<char>(i * 31 % 97);
        std::memcpy(bytes.get() + markerAt, kHp.anchorMarker.data(), kHp.anchorMarker.size());
    }
    AnchorWindow window() const { return {address, address + kSpan, 5000, kHp.anchorMarker}; }
};

Memory& memory() {
    static Memory m;
    return m;
}

void BM_AnchorSearch(benchmark::State& state) {
    Memory& m = memory();
    tarmacia::platform::os::ProcProcessMemory reader;
    int pid = static_cast<int>(::getpid());
    for (auto _ : state) {
        auto found = tarmacia::monitor::findHpAnchor(reader, pid, m.window());
        if (!found || *found != m.address + m.markerAt) state.SkipWithError("anchor not found");
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kWindow));
}
BENCHMARK(BM_AnchorSearch)->Unit(benchmark::kMillisecond);

void BM_ReferenceMemcpy(benchmark::State& state) {
    Memory& m = memory();
    std::unique_ptr<char[]> copy(new char[kWindow]);
    for (auto _ : state) {
        std::memcpy(copy.get(), m.bytes.get(), kWindow);
        benchmark::DoNotOptimize(copy.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kWindow));
}
BENCHMARK(BM_ReferenceMemcpy)->Unit(benchmark::kMillisecond);

void BM_BlockByBlock(benchmark::State& state) {
    Memory& m = memory();
    tarmacia::platform::os::ProcProcessMemory reader;
    int pid = static_cast<int>(::getpid());
    std::string block;
    for (auto _ : state) {
        std::uint64_t found = 0;
        for (std::uint64_t at = m.address; at < m.address + kWindow && !found; at += 5000) {
            if (!reader.read(pid, at, 5000, block)) continue;
            auto hit = block.find(kHp.anchorMarker);
            if (hit != std::string::npos) found = at + hit;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kWindow));
}
BENCHMARK(BM_BlockByBlock)->Unit(benchmark::kMillisecond);

} // namespace
