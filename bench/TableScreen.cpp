#include "TableScreen.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "TextForm.h"

namespace kova_bench {

namespace {

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// Counts the records of a text: a class name, perhaps a quoted name, and
// "{". Classes whose names end in "Node" are nodes.
void countRecords(const std::string& text, int& objects, int& nodes) {
    objects = nodes = 0;
    for (std::size_t at = text.find('{'); at != std::string::npos; at = text.find('{', at + 1)) {
        std::size_t end = at;
        while (end > 0 && text[end - 1] == ' ')
            --end;
        if (end > 0 && text[end - 1] == '"') {  // a quoted name: skip it
            end = text.rfind('"', end - 2);
            while (end > 0 && text[end - 1] == ' ')
                --end;
        }
        std::size_t begin = end;
        while (begin > 0 && std::isalnum(static_cast<unsigned char>(text[begin - 1])))
            --begin;
        if (begin == end) continue;
        ++objects;
        if (text.compare(end - 4, 4, "Node") == 0) ++nodes;
    }
}

}  // namespace

std::string tableText(const std::string& prefix) {
    static const std::string text = [] {
        std::ifstream file(KOVA_BENCH_DIR "/TableScreen.txt", std::ios::binary);
        std::stringstream all;
        all << file.rdbuf();
        return all.str();
    }();
    std::string copy = text;
    if (prefix != "Table") {
        replaceAll(copy, "\"Table/", "\"" + prefix + "/");
        replaceAll(copy, "\"Screens/Table\"", "\"Screens/" + prefix + "\"");
    }
    return copy;
}

bool buildObjectFile(const std::string& text, const std::string& fileName, std::string& bytes,
                     std::string& error) {
    text::MemoryHost builder;
    builder.init();
    bool ok = text::buildObjectFile(builder, text, "TableScreen.txt", fileName, error);
    if (ok) bytes = builder.files[fileName];
    builder.exit();
    return ok;
}

const std::string& tableObjectFile() {
    static const std::string bytes = [] {
        std::string out, error;
        if (!buildObjectFile(tableText("Table"), kTableFile, out, error))
            std::fprintf(stderr, "kova_bench: the table screen does not build: %s\n",
                         error.c_str());
        return out;
    }();
    return bytes;
}

bool TableData::registerWith(System& system) {
    for (int row = 0; row < kTableRows; ++row) {
        for (int column = 0; column < kTableColumns; ++column) {
            char name[16];
            std::snprintf(name, sizeof name, "R%02dC%d", row, column);
            cells[row][column] = new StringData(tableCell(row, column), name);
            if (!system.registerData(cells[row][column], "Table")) return false;
        }
    }
    selected = new FloatData(-1.0f, "Selected");
    return system.registerData(selected, "Table") != nullptr;
}

float RunningTable::rowCentreY(int row) {
    // The screen is centred on the origin; rows start 10 units below its top.
    return -550.0f + 10.0f + 20.0f * static_cast<float>(row) + 10.0f;
}

int RunningTable::focusedRow() {
    return static_cast<int>(std::lround((host.pointerPosition().y - rowCentreY(0)) / 20.0f));
}

void RunningTable::frame() {
    host.update(1.0f / 60.0f);
    host.paint();
}

RunningTable::RunningTable() {
    host.init();
    host.files[kTableFile] = tableObjectFile();
    if (!data.registerWith(host)) error = "registering the table's data failed";
    if (ok() && !host.load(kTableFile, static_cast<const char*>(nullptr)))
        error = "loading the table screen failed";
    if (ok() && host.problems) error = "loading the table screen logged problems";
    if (!ok()) return;
    countRecords(tableText("Table"), objects, nodes);
    host.pointerMove(0.0f, rowCentreY(0));
    for (int i = 0; i < 60; ++i)
        frame();
    // Every character of every cell (spaces too) and every row's plate reach
    // the host.
    std::size_t quads = kTableRows;
    for (int row = 0; row < kTableRows; ++row)
        for (int column = 0; column < kTableColumns; ++column)
            quads += std::strlen(tableCell(row, column));
    if (host.vertexCount != 4 * quads) {
        error = "the table painted " + std::to_string(host.vertexCount / 4) + " quads, not " +
                std::to_string(quads);
    }
}

}  // namespace kova_bench
