// Lobby traffic: how fast one read is split into messages, against a plain
// scan for the code markers over the same text (the floor any splitter
// pays). Both report bytes per second, so their ratio is the cost of splitting.

#include "protocol/multicomm.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string lobbyRead() {
    std::string read;
    for (int i = 0; i < 100; ++i)
        read += "~2~[gb]Player" + std::to_string(i) + ": a line of chat text \xC2\xAC" "FF0000";
    return read;
}

void BM_Split(benchmark::State& state) {
    const std::string read = lobbyRead();
    tarmacia::protocol::multicomm splitter;
    for (auto _ : state) {
        benchmark::DoNotOptimize(splitter.split(read));
        splitter.clear();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * read.size()));
}
BENCHMARK(BM_Split);

void BM_ReferenceScan(benchmark::State& state) {
    const std::string read = lobbyRead();
    for (auto _ : state) {
        int codes = 0;
        for (std::size_t p = read.find('~'); p != std::string::npos; p = read.find('~', p + 1))
            codes += p + 2 < read.size() && read[p + 2] == '~';
        benchmark::DoNotOptimize(codes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * read.size()));
}
BENCHMARK(BM_ReferenceScan);

} // namespace
