#!/usr/bin/env python3
"""Writes bench/TableScreen.txt, the table screen of the benchmarks, in the
text form of object files. The cell texts are those of bench/TableStrings.h,
which the ImGui side shows too, so both sides paint the same glyphs:

    bench/make_table_screen.py > bench/TableScreen.txt
"""
import re
import sys
from pathlib import Path

ROWS = 50
COLUMNS = 6
ROW_HEIGHT = 20
COLUMN_WIDTH = 130


def cell_texts():
    """The C string literals of TableStrings.h, in row order."""
    source = (Path(__file__).parent / "TableStrings.h").read_text()
    words = {}
    for name, body in re.findall(r"kTable(\w+)\[\] = \{(.*?)\};", source, re.S):
        words[name] = re.findall(r'"([^"]*)"', body)
    return words


def cell(words, row, column):
    key = ["Names", "Classes", "Levels", "Scores", "Regions", "States"][column]
    return words[key][row % len(words[key])]


def main():
    words = cell_texts()
    out = []
    w = out.append
    w("# Screens/Table: the table screen of the benchmarks (written by")
    w("# bench/make_table_screen.py; edit that, not this). Fifty rows of six text")
    w("# cells. Each row is placed by a transform node, is a tab stop, takes Select")
    w("# (it writes its number to Table/Selected), is tinted by a colour effect and")
    w("# more strongly by a focus effect while it holds the focus, and paints a")
    w("# plate behind its cells. Each cell is clipped to its column and shows a")
    w("# StringData that the game registers under Table/RrrCc before loading, so")
    w("# the records below only stand in for it.")
    w("#")
    w("# A row's first field is the next row, so each row's record holds all the")
    w("# rows after it; rows are not indented further for that.")
    w('NameNode "Screens/Table" {')
    w("Next node: TabstopManagerNode {")
    w("Next node:")
    for row in range(ROWS):
        w(f"# Row {row}")
        w("TransformNode {")
        w("  Next node:" + (" null" if row == ROWS - 1 else ""))
    for row in reversed(range(ROWS)):
        w(f"  # Row {row}, its own fields")
        w(f"  X: 10 Y: {10 + row * ROW_HEIGHT} Width: {COLUMNS * COLUMN_WIDTH} Height: {ROW_HEIGHT}")
        w("  Transformed node: TabstopNode {")
        w("    Next node: CullEventActionNode {")
        w("      Next node: FocusEffectNode {")
        w("        Next node: EffectNode {")
        w("          Next node: SplitNode {")
        w("            Next node:")
        for column in range(COLUMNS):
            w("            TransformNode {")
            w("              Next node:" + (" null" if column == COLUMNS - 1 else ""))
        for column in reversed(range(COLUMNS)):
            name = f"Table/R{row:02d}C{column}"
            text = cell(words, row, column)
            w(f"              X: {column * COLUMN_WIDTH + 4} Y: 2 Width: {COLUMN_WIDTH - 8} Height: {ROW_HEIGHT - 4}")
            w("              Transformed node: ClipNode {")
            w("                Next node: TextNode {")
            w("                  Next node: null")
            w(f'                  String: StringData "{name}" {{ String <do not edit>: "{text}" }}')
            style = 'Style "Table/Cell" { Font handle: "Bench 16" }' if row == ROWS - 1 and column == COLUMNS - 1 else '@"Table/Cell"'
            w(f"                  Style: {style}")
            w("                }")
            w("              }")
            w("            }")
        w("            Split node: EffectNode {")
        w('              Next node: PictureNode { Next node: null Picture: "" }')
        w("              Effect: ColorEffect { Red: 0.16 Green: 0.17 Blue: 0.26 Alpha: 0.7 }")
        w("            }")
        w("          }")
        w("          Effect: MultiplyColorEffect { Red: 0.82 Green: 0.84 Blue: 0.9 Alpha: 1 }")
        w("        }")
        w("        Effect: MultiplyColorEffect { Red: 1 Green: 0.8 Blue: 0.35 Alpha: 1 }")
        w("      }")
        selected = 'FloatData "Table/Selected" { Value <do not edit>: -1 }' if row == ROWS - 1 else '@"Table/Selected"'
        w("      Action: SetVariableAction {")
        w(f"        Variable: {selected}")
        w(f"        Data: FloatData {{ Value <do not edit>: {row} }}")
        w("      }")
        w("      Event: ButtonEvent { Input index (0 == all indexes): 0 Event type: ButtonPress Button type: Select }")
        w("    }")
        w("  }")
        w("}")
    w("}")
    w("}")
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
