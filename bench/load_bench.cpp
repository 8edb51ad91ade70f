// Loading and saving: the table screen's load (with its data registered, as a
// game loads it), the same load replayed from a cache file, screen sets of
// 1 MB and 10 MB (copies of the table under names of their own, so every
// record is read) loaded from in-memory host streams, and saving a set back.
// Making and ending the System of each load is not timed; the allocations
// counted are those of the timed part only.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "AllocationCounter.h"
#include "TableScreen.h"

namespace {

using namespace kova_bench;

const char kCacheFile[] = "Cache/Table";

// The timed part's allocations, summed over the iterations.
class TimedAllocations {
public:
    void begin() { start_ = allocationsSoFar(); }
    void end() {
        Allocations now = allocationsSoFar();
        count_ += now.count - start_.count;
        bytes_ += now.bytes - start_.bytes;
    }
    void report(benchmark::State& state) const {
        using benchmark::Counter;
        state.counters["allocs"] = Counter(static_cast<double>(count_), Counter::kAvgIterations);
        state.counters["alloc_bytes"] =
            Counter(static_cast<double>(bytes_), Counter::kAvgIterations);
    }

private:
    Allocations start_;
    long count_ = 0;
    long bytes_ = 0;
};

// A screen set: object files named Screens/SetNNN, of at least megabytes.
struct ScreenSet {
    std::map<std::string, std::string, std::less<>> files;
    std::vector<std::string> names;
    long bytes = 0;
    std::string error;
};

const ScreenSet& screenSet(int megabytes) {
    static std::map<int, ScreenSet> sets;
    ScreenSet& set = sets[megabytes];
    if (!set.names.empty() || !set.error.empty()) return set;
    for (int i = 0; set.bytes < megabytes * 1000000L; ++i) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "Set%03d", i);
        std::string name = std::string("Screens/") + prefix;
        std::string bytes;
        if (!buildObjectFile(tableText(prefix), name, bytes, set.error)) return set;
        set.bytes += static_cast<long>(bytes.size());
        set.files[name] = std::move(bytes);
        set.names.push_back(name);
    }
    return set;
}

void BM_LoadTable(benchmark::State& state) {
    TimedAllocations allocations;
    std::unique_ptr<BenchHost> host;
    for (auto _ : state) {
        state.PauseTiming();
        host = std::make_unique<BenchHost>();
        host->init();
        host->files[kTableFile] = tableObjectFile();
        TableData data;
        data.registerWith(*host);
        allocations.begin();
        state.ResumeTiming();

        bool loaded = host->load(kTableFile, static_cast<const char*>(nullptr));

        state.PauseTiming();
        allocations.end();
        if (!loaded || host->problems) state.SkipWithError("the table did not load cleanly");
        host->exit();
        host.reset();
        state.ResumeTiming();
    }
    allocations.report(state);
    state.SetBytesProcessed(state.iterations() * static_cast<long>(tableObjectFile().size()));
    state.counters["file_bytes"] = static_cast<double>(tableObjectFile().size());
}
BENCHMARK(BM_LoadTable)->Unit(benchmark::kMicrosecond);

// The cache file is recorded once by a first load; every timed load replays
// it instead of opening the object file.
void BM_LoadTableCached(benchmark::State& state) {
    std::string cache;
    {
        BenchHost recorder;
        recorder.init();
        recorder.files[kTableFile] = tableObjectFile();
        TableData data;
        data.registerWith(recorder);
        recorder.load(kTableFile, kCacheFile);
        cache = recorder.files[kCacheFile];
        recorder.exit();
    }
    TimedAllocations allocations;
    std::unique_ptr<BenchHost> host;
    for (auto _ : state) {
        state.PauseTiming();
        host = std::make_unique<BenchHost>();
        host->init();
        host->files[kCacheFile] = cache;  // the object file itself is not there
        TableData data;
        data.registerWith(*host);
        allocations.begin();
        state.ResumeTiming();

        bool loaded = host->load(kTableFile, kCacheFile);

        state.PauseTiming();
        allocations.end();
        if (!loaded || host->problems || !host->firstNode())
            state.SkipWithError("the cache did not replay cleanly");
        host->exit();
        host.reset();
        state.ResumeTiming();
    }
    allocations.report(state);
    state.SetBytesProcessed(state.iterations() * static_cast<long>(cache.size()));
    state.counters["file_bytes"] = static_cast<double>(cache.size());
}
BENCHMARK(BM_LoadTableCached)->Unit(benchmark::kMicrosecond);

// Every file of a set, each by its own load.
void BM_LoadSet(benchmark::State& state) {
    const ScreenSet& set = screenSet(static_cast<int>(state.range(0)));
    if (!set.error.empty()) {
        state.SkipWithError(set.error.c_str());
        return;
    }
    TimedAllocations allocations;
    std::unique_ptr<BenchHost> host;
    for (auto _ : state) {
        state.PauseTiming();
        host = std::make_unique<BenchHost>();
        host->init();
        host->files.insert(set.files.begin(), set.files.end());
        allocations.begin();
        state.ResumeTiming();

        bool loaded = true;
        for (const std::string& name : set.names)
            loaded = host->load(name.c_str(), static_cast<const char*>(nullptr)) && loaded;

        state.PauseTiming();
        allocations.end();
        if (!loaded || host->problems) state.SkipWithError("the set did not load cleanly");
        host->exit();
        host.reset();
        state.ResumeTiming();
    }
    allocations.report(state);
    state.SetBytesProcessed(state.iterations() * set.bytes);
    state.counters["files"] = static_cast<double>(set.names.size());
    state.counters["file_bytes"] = static_cast<double>(set.bytes);
}
BENCHMARK(BM_LoadSet)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// Saving a loaded 1 MB set: every screen writes its object file again.
void BM_SaveSet(benchmark::State& state) {
    const ScreenSet& set = screenSet(1);
    if (!set.error.empty()) {
        state.SkipWithError(set.error.c_str());
        return;
    }
    BenchHost host;
    host.init();
    host.files.insert(set.files.begin(), set.files.end());
    for (const std::string& name : set.names)
        host.load(name.c_str(), static_cast<const char*>(nullptr));
    AllocationMeter meter;
    for (auto _ : state) {
        if (!host.save()) state.SkipWithError("saving failed");
    }
    meter.report(state);
    if (host.files != set.files) state.SkipWithError("a saved file differs from the loaded one");
    state.SetBytesProcessed(state.iterations() * set.bytes);
    host.exit();
}
BENCHMARK(BM_SaveSet)->Unit(benchmark::kMillisecond);

}  // namespace
