// The table screen of the benchmarks: bench/TableScreen.txt, built into an
// object file with the text-form library and loaded by a BenchHost the way a
// game loads its screens, after registering the StringData of every cell and
// the variable the rows write when pressed.
#pragma once

#include <string>

#include "BenchHost.h"
#include "TableStrings.h"

namespace kova_bench {

const char kTableFile[] = "Screens/Table";

// The text of bench/TableScreen.txt with "Table" in its names replaced by
// prefix ("Table" itself gives the file as it is), so several copies can be
// loaded into one host side by side.
std::string tableText(const std::string& prefix);

// Builds a text into an object file; false (and the reason) when it fails.
bool buildObjectFile(const std::string& text, const std::string& fileName, std::string& bytes,
                     std::string& error);

// The object file of the table screen, built once per program.
const std::string& tableObjectFile();

// The game's variables of the table, registered before loading.
struct TableData {
    StringData* cells[kTableRows][kTableColumns] = {};
    FloatData* selected = nullptr;

    bool registerWith(System& system);
};

// A host running the table screen, settled with the focus on row 0.
class RunningTable {
public:
    RunningTable();
    ~RunningTable() { host.exit(); }

    bool ok() const { return error.empty(); }
    // The centre of a row's tab stop, where the pointer stands when it has
    // the focus.
    static float rowCentreY(int row);
    int focusedRow();
    // One frame of 1/60 s: update, then paint.
    void frame();

    BenchHost host;
    TableData data;
    std::string error;
    int nodes = 0;    // node objects of the screen
    int objects = 0;  // every engine object of the screen (nodes, effects, data, ...)
};

}  // namespace kova_bench
