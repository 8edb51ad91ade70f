// Saving and loading an object file of 10, 100 and 1000 nodes through the
// in-memory file host of the tests. The host's streams copy bytes one at a
// time on writing and copy the whole file on opening it, which is included.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "file_host.h"
#include "scene.h"

namespace {

using namespace kova_scene;
using kova_test::FileHost;

const char kName[] = "Screens/Bench";

// Registers a stream-owning screen of the given size in host.
void buildScreen(FileHost& host, int nodes) {
    ScreenNode* screen = new ScreenNode();
    screen->setName("Bench");
    host.registerObject(screen, "Screens");
    fillScene(host, screen, nodes);
}

void BM_Save(benchmark::State& state) {
    FileHost host;
    host.logging = false;
    host.init();
    buildScreen(host, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!host.save()) state.SkipWithError("save failed");
    }
    std::size_t bytes = host.files[kName].size();
    state.SetBytesProcessed(state.iterations() * static_cast<long>(bytes));
    state.counters["file bytes"] = static_cast<double>(bytes);
    host.exit();
}
BENCHMARK(BM_Save)->Arg(10)->Arg(100)->Arg(1000);

// Each load gets a fresh System, since a loaded screen keeps its name; making
// and ending it is not timed.
void BM_Load(benchmark::State& state) {
    std::map<std::string, kova_test::Bytes> files;
    {
        FileHost writer;
        writer.init();
        buildScreen(writer, static_cast<int>(state.range(0)));
        writer.save();
        files = writer.files;
        writer.exit();
    }
    std::optional<FileHost> host;
    for (auto _ : state) {
        state.PauseTiming();
        host.emplace();
        host->logging = false;
        host->init();
        host->files = files;
        state.ResumeTiming();

        Object* screen = nullptr;
        if (!host->load(kName, screen)) state.SkipWithError("load failed");

        state.PauseTiming();
        host->exit();
        host.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(files[kName].size()));
}
BENCHMARK(BM_Load)->Arg(10)->Arg(100)->Arg(1000);

}  // namespace
