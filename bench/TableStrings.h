// The texts of the benchmark table, shared by the engine's table screen
// (bench/make_table_screen.py writes them into bench/TableScreen.txt) and by
// the ImGui table, so both paint the same glyphs. Cell (row, column) is entry
// row % count of its column's list; every text has 4 to 12 characters.
#pragma once

namespace kova_bench {

const char* const kTableNames[] = {"Kestrel", "Marrow", "Ilsa Venn", "Orrin",      "Thistle",
                                   "Caldera", "Wren",   "Bastian",   "Solace Ame", "Pike"};
const char* const kTableClasses[] = {"Ranger",  "Warden", "Mystic", "Tinker",
                                     "Corsair", "Herald", "Seer"};
const char* const kTableLevels[] = {"Lv 12", "Lv 7", "Lv 31", "Lv 19", "Lv 44", "Lv 3"};
const char* const kTableScores[] = {"184,220", "9,075", "61,300", "1,204,88", "77,410",
                                    "330,019", "5,602", "42,000", "118,6"};
const char* const kTableRegions[] = {"Northmarch", "Ashfall", "Low Weald", "Emberreach",
                                     "Tidewater",  "Gloam",   "Skerries",  "Hollow Crest"};
const char* const kTableStates[] = {"Online", "Away", "In match", "Offline", "Queued"};

const int kTableRows = 50;
const int kTableColumns = 6;

// The text of a cell as the screen is loaded.
inline const char* tableCell(int row, int column) {
    switch (column) {
        case 0:
            return kTableNames[row % 10];
        case 1:
            return kTableClasses[row % 7];
        case 2:
            return kTableLevels[row % 6];
        case 3:
            return kTableScores[row % 9];
        case 4:
            return kTableRegions[row % 8];
        default:
            return kTableStates[row % 5];
    }
}

// The changed-value cases write one of these two texts into one score cell
// each frame, so the shown text differs from the frame before.
const int kChangedRow = 25;
const int kChangedColumn = 3;
const char* const kChangedTexts[2] = {"184,221", "184,222"};

}  // namespace kova_bench
