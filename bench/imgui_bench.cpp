// The table of the engine benchmarks in Dear ImGui: a window holding a table
// of 50 rows and 6 text columns, each row a selectable that spans the row,
// with the same texts. The font atlas is built once; each frame is NewFrame,
// the widgets and Render, and the draw data goes nowhere. Cases: an idle
// frame, and a frame in which one shown value changes.
#include <benchmark/benchmark.h>
#include <imgui.h>

#include <cstring>

#include "AllocationCounter.h"
#include "TableStrings.h"

namespace {

using namespace kova_bench;

class ImGuiTable {
public:
    ImGuiTable() {
        ImGui::CreateContext();
        ImGuiIO& io = ImGui::GetIO();
        io.IniFilename = nullptr;
        io.LogFilename = nullptr;
        io.DisplaySize = ImVec2(800.0f, 1100.0f);
        io.DeltaTime = 1.0f / 60.0f;
        io.Fonts->AddFontDefault();
        unsigned char* pixels = nullptr;
        int width = 0, height = 0;
        io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
        io.Fonts->SetTexID(reinterpret_cast<ImTextureID>(1));
        for (int row = 0; row < kTableRows; ++row)
            for (int column = 0; column < kTableColumns; ++column)
                std::strcpy(cells[row][column], tableCell(row, column));
        for (int i = 0; i < 60; ++i)
            frame();
    }
    ~ImGuiTable() { ImGui::DestroyContext(); }

    void frame() {
        ImGui::NewFrame();
        ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f));
        ImGui::SetNextWindowSize(ImGui::GetIO().DisplaySize);
        ImGui::Begin("Table", nullptr,
                     ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize |
                         ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings);
        if (ImGui::BeginTable("cells", kTableColumns)) {
            for (int row = 0; row < kTableRows; ++row) {
                ImGui::PushID(row);
                ImGui::TableNextRow();
                ImGui::TableSetColumnIndex(0);
                if (ImGui::Selectable(cells[row][0], selected == row,
                                      ImGuiSelectableFlags_SpanAllColumns))
                    selected = row;
                for (int column = 1; column < kTableColumns; ++column) {
                    ImGui::TableSetColumnIndex(column);
                    ImGui::TextUnformatted(cells[row][column]);
                }
                ImGui::PopID();
            }
            ImGui::EndTable();
        }
        ImGui::End();
        ImGui::Render();
        vertices = ImGui::GetDrawData()->TotalVtxCount;
    }

    char cells[kTableRows][kTableColumns][16];
    int selected = 0;
    int vertices = 0;
};

void BM_ImGuiTableIdle(benchmark::State& state) {
    ImGuiTable table;
    AllocationMeter meter;
    for (auto _ : state)
        table.frame();
    meter.report(state);
    state.counters["vertices"] = table.vertices;
}
BENCHMARK(BM_ImGuiTableIdle);

void BM_ImGuiTableChangedValue(benchmark::State& state) {
    ImGuiTable table;
    int frame = 0;
    AllocationMeter meter;
    for (auto _ : state) {
        std::strcpy(table.cells[kChangedRow][kChangedColumn], kChangedTexts[frame++ & 1]);
        table.frame();
    }
    meter.report(state);
    state.counters["vertices"] = table.vertices;
}
BENCHMARK(BM_ImGuiTableChangedValue);

}  // namespace
