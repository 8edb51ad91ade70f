// Per-frame cost of a running screen: update and paint of trees of 10, 100
// and 1000 nodes (regions of eight holding picture leaves), and the routing
// of a press and release of Select per frame.
#include <benchmark/benchmark.h>

#include "scene.h"

namespace {

using namespace kova_scene;

const float kFrame = 1.0f / 60.0f;

// A running screen: the tree is built, the pointer rests inside it and the
// modes have settled.
class Screen {
public:
    explicit Screen(int nodes) {
        host.init();
        Node::create(host, host.firstNode(), RegionNode::absoluteClass());
        fillScene(host, static_cast<RegionNode*>(host.firstNode()), nodes);
        host.pointerMove(10.0f, 20.0f);
        for (int i = 0; i < 30; ++i) {
            host.update(kFrame);
            host.paint();
        }
    }
    ~Screen() { host.exit(); }

    SceneHost host;
};

void perNode(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_UpdateAndPaint(benchmark::State& state) {
    Screen screen(static_cast<int>(state.range(0)));
    long quads = screen.host.quads;
    for (auto _ : state) {
        screen.host.update(kFrame);
        screen.host.paint();
    }
    state.counters["quads/frame"] =
        static_cast<double>(screen.host.quads - quads) / static_cast<double>(state.iterations());
    perNode(state);
}
BENCHMARK(BM_UpdateAndPaint)->Arg(10)->Arg(100)->Arg(1000);

void BM_Update(benchmark::State& state) {
    Screen screen(static_cast<int>(state.range(0)));
    for (auto _ : state)
        screen.host.update(kFrame);
    perNode(state);
}
BENCHMARK(BM_Update)->Arg(10)->Arg(100)->Arg(1000);

void BM_Paint(benchmark::State& state) {
    Screen screen(static_cast<int>(state.range(0)));
    for (auto _ : state)
        screen.host.paint();
    perNode(state);
}
BENCHMARK(BM_Paint)->Arg(10)->Arg(100)->Arg(1000);

// One press and one release of Select per frame, routed through the focused
// path during update; compare with BM_Update for the routing's own cost.
void BM_PressReleaseUpdate(benchmark::State& state) {
    Screen screen(static_cast<int>(state.range(0)));
    long presses = screen.host.presses;
    for (auto _ : state) {
        screen.host.buttonPress(Button::Select, 0, 1);
        screen.host.buttonRelease(Button::Select, 0);
        screen.host.update(kFrame);
    }
    state.counters["presses/frame"] = static_cast<double>(screen.host.presses - presses) /
                                      static_cast<double>(state.iterations());
    perNode(state);
}
BENCHMARK(BM_PressReleaseUpdate)->Arg(10)->Arg(100)->Arg(1000);

// A whole frame of play: pointer move, press, release, a typed character,
// update and paint.
void BM_FullFrame(benchmark::State& state) {
    Screen screen(static_cast<int>(state.range(0)));
    int frame = 0;
    for (auto _ : state) {
        sendFrameInput(screen.host, frame++);
        screen.host.update(kFrame);
        screen.host.paint();
    }
    perNode(state);
}
BENCHMARK(BM_FullFrame)->Arg(10)->Arg(100)->Arg(1000);

}  // namespace
