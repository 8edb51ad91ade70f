// The table screen, frame by frame: an idle frame, a frame in which one shown
// value changes, a frame in which the focus moves down one row, and a frame
// with a routed press and release of Select. Every case reports its heap
// allocations per iteration (one iteration is one frame).
#include <benchmark/benchmark.h>

#include "AllocationCounter.h"
#include "TableScreen.h"

namespace {

using namespace kova_bench;

// Reports what every table case reports, or fails the case.
bool start(benchmark::State& state, RunningTable& table) {
    if (!table.ok()) {
        state.SkipWithError(table.error.c_str());
        return false;
    }
    state.counters["nodes"] = table.nodes;
    state.counters["objects"] = table.objects;
    state.counters["vertices"] = static_cast<double>(table.host.vertexCount);
    return true;
}

void BM_TableIdle(benchmark::State& state) {
    RunningTable table;
    if (!start(state, table)) return;
    AllocationMeter meter;
    for (auto _ : state)
        table.frame();
    meter.report(state);
}
BENCHMARK(BM_TableIdle);

// The idle frame with a host that takes every call and writes nothing: the
// engine's own share of a frame.
void BM_TableIdleEngineOnly(benchmark::State& state) {
    RunningTable table;
    if (!start(state, table)) return;
    table.host.writeVertices = false;
    AllocationMeter meter;
    for (auto _ : state)
        table.frame();
    meter.report(state);
}
BENCHMARK(BM_TableIdleEngineOnly);

// The two halves of an idle frame, apart.
void BM_TableUpdateOnly(benchmark::State& state) {
    RunningTable table;
    if (!start(state, table)) return;
    AllocationMeter meter;
    for (auto _ : state)
        table.host.update(1.0f / 60.0f);
    meter.report(state);
}
BENCHMARK(BM_TableUpdateOnly);

void BM_TablePaintOnly(benchmark::State& state) {
    RunningTable table;
    if (!start(state, table)) return;
    AllocationMeter meter;
    for (auto _ : state)
        table.host.paint();
    meter.report(state);
}
BENCHMARK(BM_TablePaintOnly);

// The changed cell alternates between two texts of the same length.
void BM_TableChangedValue(benchmark::State& state) {
    RunningTable table;
    if (!start(state, table)) return;
    StringData* cell = table.data.cells[kChangedRow][kChangedColumn];
    // The first longer text grows the cell's buffer once; that is not the
    // steady state.
    cell->set(table.host, kChangedTexts[1]);
    table.frame();
    int frame = 0;
    AllocationMeter meter;
    for (auto _ : state) {
        cell->set(table.host, kChangedTexts[frame++ & 1]);
        table.frame();
    }
    meter.report(state);
    if (cell->character(table.host, 6) != kChangedTexts[(frame - 1) & 1][6])
        state.SkipWithError("the changed text did not arrive");
}
BENCHMARK(BM_TableChangedValue);

// Downwards moves the focus one row per frame; from the last row the pointer
// is put back on the first, which that frame also pays for.
void BM_TableFocusDown(benchmark::State& state) {
    RunningTable table;
    if (!start(state, table)) return;
    long moves = 0;
    long missed = 0;
    AllocationMeter meter;
    for (auto _ : state) {
        int row = table.focusedRow();
        if (row == kTableRows - 1) {
            table.host.pointerMove(0.0f, RunningTable::rowCentreY(0));
        } else {
            table.host.buttonPress(Button::Downwards, 0, 1);
            table.host.buttonRelease(Button::Downwards, 0);
        }
        table.frame();
        ++moves;
        if (table.focusedRow() != (row + 1) % kTableRows) ++missed;
    }
    meter.report(state);
    if (missed) state.SkipWithError("the focus did not move one row down each frame");
}
BENCHMARK(BM_TableFocusDown);

// Select pressed and released on the focused row, whose action writes its
// number to Table/Selected.
void BM_TableButtonPress(benchmark::State& state) {
    RunningTable table;
    if (!start(state, table)) return;
    table.host.pointerMove(0.0f, RunningTable::rowCentreY(7));
    for (int i = 0; i < 60; ++i)
        table.frame();
    AllocationMeter meter;
    for (auto _ : state) {
        table.host.buttonPress(Button::Select, 0, 1);
        table.host.buttonRelease(Button::Select, 0);
        table.frame();
    }
    meter.report(state);
    if (table.data.selected->value(table.host) != 7.0f)
        state.SkipWithError("the press did not reach row 7");
}
BENCHMARK(BM_TableButtonPress);

}  // namespace
