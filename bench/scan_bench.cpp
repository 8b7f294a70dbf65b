// Game file scan: `getcrc` over a whole folder of game-sized files, against
// zlib's crc32 over the same bytes already in memory (the arithmetic alone)
// and a plain read of the files into a buffer (the I/O floor). The folder is
// written once per run, so reads come from the page cache unless it was
// dropped; TARMACIA_SCAN_BENCH_MB sets its size (default 256).

#include "scan/crc.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Folder {
    fs::path root;
    std::vector<fs::path> files;
    std::vector<std::string> contents;
    std::int64_t bytes = 0;

    ~Folder() {
        std::error_code ignored;
        if (!root.empty()) fs::remove_all(root, ignored);
    }
};

// Sizes like a game's: many small files and some of several megabytes.
Folder& folder() {
    static Folder f = [] {
        Folder made;
        std::int64_t target = 256;
        if (const char* mb = std::getenv("TARMACIA_SCAN_BENCH_MB")) target = std::max(1L, std::atol(mb));
        target <<= 20;
        made.root = fs::temp_directory_path() / ("tarmacia-scan-bench-" + std::to_string(::getpid()));
        fs::create_directories(made.root / "gamedata/carmodel");
        std::mt19937_64 random(42);
        std::uniform_int_distribution<int> sizeClass(0, 9);
        while (made.bytes < target) {
            std::int64_t size = sizeClass(random) < 8 ? (64 << 10) + random() % (512 << 10) : (2 << 20) + random() % (6 << 20);
            size = std::min(size, target - made.bytes);
            std::string bytes(static_cast<std::size_t>(size), '\0');
            for (std::size_t i = 0; i + 8 <= bytes.size(); i += 8) {
                const auto word = random();
                std::memcpy(&bytes[i], &word, 8);
            }
            fs::path file = made.root / "gamedata/carmodel" / ("car" + std::to_string(made.files.size()) + ".crp");
            std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            made.files.push_back(file);
            made.contents.push_back(std::move(bytes));
            made.bytes += size;
        }
        return made;
    }();
    return f;
}

void BM_GetCrc(benchmark::State& state) {
    Folder& f = folder();
    for (auto _ : state)
        for (const auto& file : f.files) benchmark::DoNotOptimize(tarmacia::scan::getcrc(file));
    state.SetBytesProcessed(state.iterations() * f.bytes);
}
BENCHMARK(BM_GetCrc)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ZlibInMemory(benchmark::State& state) {
    Folder& f = folder();
    for (auto _ : state)
        for (const auto& bytes : f.contents)
            benchmark::DoNotOptimize(crc32(0L, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
    state.SetBytesProcessed(state.iterations() * f.bytes);
}
BENCHMARK(BM_ZlibInMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadOnly(benchmark::State& state) {
    Folder& f = folder();
    auto buffer = std::make_unique<char[]>(1 << 20);
    for (auto _ : state) {
        for (const auto& file : f.files) {
            int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
            while (::read(fd, buffer.get(), 1 << 20) > 0) {
            }
            ::close(fd);
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}
BENCHMARK(BM_ReadOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> rates;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            auto it = run.counters.find("bytes_per_second");
            if (it != run.counters.end()) rates[run.run_name.function_name] = it->second;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    auto& r = reporter.rates;
    std::printf("folder: %lld MB in %zu files\n", static_cast<long long>(folder().bytes >> 20), folder().files.size());
    if (r.count("BM_GetCrc") && r.count("BM_ZlibInMemory") && r.count("BM_ReadOnly")) {
        std::printf("getcrc / zlib in memory: %.2f\n", r["BM_GetCrc"] / r["BM_ZlibInMemory"]);
        std::printf("getcrc / plain read:     %.2f\n", r["BM_GetCrc"] / r["BM_ReadOnly"]);
    }
    return 0;
}
