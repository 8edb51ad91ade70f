// The style variants: exact glyph quadrilaterals for centred, right-aligned,
// height-filling, constant-size and row-spaced layouts, where each one stops,
// the positions the glyphs carry, measuring, and the persisted fields.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%g", value);
    return text;
}

// Each glyph as "character (x,y) (x,y) (x,y) (x,y)", corners in the order
// the host receives them.
std::vector<std::string> corners(const GlyphHost& host) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < host.painted.size(); ++i) {
        std::string line = std::to_string(host.glyphs[i]);
        for (const Vertex& v : host.painted[i].vertex)
            line += " (" + number(v.x) + "," + number(v.y) + ")";
        out.push_back(line);
    }
    return out;
}

// Records the position in the text that each glyph is painted for.
class PositionEffect : public Effect {
public:
    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override {
        positions.push_back(index);
        return Effect::charPaint(system, character, font, index, data, self);
    }
    std::vector<int> positions;
};

using Quads = std::vector<std::string>;
using Ints = std::vector<int>;

// Font 2 throughout: lines 18 apart, glyphs 8 wide (W 14) and 14 high with
// 1 before and 1 after, tops 10 above the base line.
class StyleVariantTest : public HostTest<GlyphHost> {
protected:
    void SetUp() override {
        HostTest<GlyphHost>::SetUp();
        pipe.effect = &positions;
    }

    // Paints with a fresh record of the host's calls; every record is plain.
    Quads paint(Style& style, Data& text, int index = 0) {
        host.calls.clear();
        host.painted.clear();
        host.glyphs.clear();
        positions.positions.clear();
        Style::paint(host, &style, area, &clip, pipe, &text, index);
        for (const PaintData& data : host.painted) {
            EXPECT_EQ(data.clipRect, &clip);
            EXPECT_EQ((Ints{data.sourceBlendFunc, data.destinationBlendFunc}), (Ints{7, 8}));
            EXPECT_FALSE(data.hasUV);
            for (const Vertex& v : data.vertex)
                EXPECT_EQ((Floats{v.z, v.red, v.green, v.blue, v.alpha}),
                          (Floats{area.z, 1, 1, 1, 1}));
        }
        for (const std::string& call : host.calls)
            EXPECT_EQ(call.substr(call.size() - 2), " 2");  // the style's font
        return corners(host);
    }
    Quads paint(Style& style, const char* text) {
        StringData data(text);
        return paint(style, data);
    }

    // Right edge at 110, bottom at 70.
    Rectangle area{10.0f, 20.0f, 100.0f, 50.0f, 0.25f};
    Rectangle clip{0.0f, 0.0f, 200.0f, 200.0f, 0.0f};
    EffectPipe pipe;
    PositionEffect positions;
};

TEST_F(StyleVariantTest, CenterAlignedCentresEachLineAndPaintsEveryLine) {
    CenterAlignedStyle centred("Centred", 2);
    // Two glyphs advancing 10 each: the pen starts 40 in.
    EXPECT_EQ(paint(centred, "AB"),
              (Quads{"65 (51,28) (59,28) (59,42) (51,42)", "66 (61,28) (69,28) (69,42) (61,42)"}));
    // A carriage return is neither measured nor painted; the third line's
    // base line (74) lies below the bottom (70) and it is painted all the
    // same. An empty line only moves the base line.
    EXPECT_EQ(paint(centred, "AB\r\nW\n\nC"),
              (Quads{"65 (51,28) (59,28) (59,42) (51,42)", "66 (61,28) (69,28) (69,42) (61,42)",
                     "87 (53,46) (67,46) (67,60) (53,60)", "67 (56,82) (64,82) (64,96) (56,96)"}));
    EXPECT_EQ(positions.positions, (Ints{0, 1, 4, 7}));
    // A line wider than the area starts left of it and is not wrapped.
    area.width = 20.0f;
    EXPECT_EQ(paint(centred, "AWA").front(), "65 (3,28) (11,28) (11,42) (3,42)");
    EXPECT_EQ(host.glyphs, (Ints{'A', 'W', 'A'}));
    EXPECT_TRUE(paint(centred, "").empty());
    // The plain style stops where the centred one goes on.
    area.width = 100.0f;
    Style plain("Plain", 2);
    EXPECT_EQ(paint(plain, "A\nB\nC").size(), 2u);
    EXPECT_EQ(paint(centred, "A\nB\nC").size(), 3u);
}

TEST_F(StyleVariantTest, RightAlignedWalksBackwardsFromTheRightEdge) {
    RightAlignedStyle right("Right", 2);
    // The last character sits at the right edge, the first leftmost; the host
    // receives them last first.
    EXPECT_EQ(paint(right, "AB"), (Quads{"66 (101,28) (109,28) (109,42) (101,42)",
                                         "65 (91,28) (99,28) (99,42) (91,42)"}));
    EXPECT_EQ(positions.positions, (Ints{1, 0}));
    // The last line is painted at the top. A line feed keeps the pen where it
    // was; a carriage return puts it back at the right edge.
    EXPECT_EQ(paint(right, "A\nB"), (Quads{"66 (101,28) (109,28) (109,42) (101,42)",
                                           "65 (91,46) (99,46) (99,60) (91,60)"}));
    EXPECT_EQ(paint(right, "A\r\nB"), (Quads{"66 (101,28) (109,28) (109,42) (101,42)",
                                             "65 (101,46) (109,46) (109,60) (101,60)"}));

    // A pen left of the area wraps to the next line; the second wrap would
    // put the base line at 74, below the bottom, and ends the text.
    area.width = 30.0f;
    EXPECT_EQ(paint(right, "WWWWW"),
              (Quads{"87 (25,28) (39,28) (39,42) (25,42)", "87 (9,28) (23,28) (23,42) (9,42)",
                     "87 (25,46) (39,46) (39,60) (25,60)", "87 (9,46) (23,46) (23,60) (9,60)"}));
    EXPECT_EQ(positions.positions, (Ints{4, 3, 2, 1}));
    // A line feed below the bottom ends it too.
    EXPECT_EQ(paint(right, "A\n\nB").size(), 1u);

    // The walk counts the data's plain text and reads the given element: the
    // second element of a list is shown over the first element's length.
    DataListData list;
    StringData first("AB"), second("XYZ");
    list.list()->appendObject(host, &first);
    list.list()->appendObject(host, &second);
    area.width = 100.0f;
    paint(right, list, 1);
    EXPECT_EQ(host.glyphs, (Ints{'Y', 'X'}));
}

TEST_F(StyleVariantTest, ScaleYFillsTheAreasHeightOnOneLine) {
    ScaleYStyle scaled("Scaled", 2);
    area.height = 36.0f;  // twice the line height: every metric doubles
    EXPECT_EQ(paint(scaled, "AB"),
              (Quads{"65 (12,36) (28,36) (28,64) (12,64)", "66 (32,36) (48,36) (48,64) (32,64)"}));
    // The glyph that passes the right edge is the last; there is no wrap.
    EXPECT_EQ(
        paint(scaled, "WWWWW"),
        (Quads{"87 (12,36) (40,36) (40,64) (12,64)", "87 (44,36) (72,36) (72,64) (44,64)",
               "87 (76,36) (104,36) (104,64) (76,64)", "87 (108,36) (136,36) (136,64) (108,64)"}));
    // Line breaks move by the scaled line height, with no stop at the bottom.
    EXPECT_EQ(paint(scaled, "A\r\nB"), (Quads{"65 (12,36) (28,36) (28,64) (12,64)",
                                              "66 (12,72) (28,72) (28,100) (12,100)"}));
    EXPECT_EQ(positions.positions, (Ints{0, 3}));
    // Half the line height halves the glyphs.
    area.height = 9.0f;
    EXPECT_EQ(paint(scaled, "A").front(), "65 (10.5,24) (14.5,24) (14.5,31) (10.5,31)");
}

TEST_F(StyleVariantTest, CenterAlignedScaleYCentresTheScaledLine) {
    CenterAlignedScaleYStyle centred("CentredScaled", 2);
    area.height = 36.0f;
    // Unscaled width 20, scaled 40: the pen starts at 10 + 30.
    EXPECT_EQ(paint(centred, "AB"),
              (Quads{"65 (42,36) (58,36) (58,64) (42,64)", "66 (62,36) (78,36) (78,64) (62,64)"}));
    // Line breaks are measured and painted as glyphs.
    EXPECT_EQ(paint(centred, "A\nB"),
              (Quads{"65 (32,36) (48,36) (48,64) (32,64)", "10 (52,36) (68,36) (68,64) (52,64)",
                     "66 (72,36) (88,36) (88,64) (72,64)"}));
    // Six W are 192 wide at this scale: the pen starts at -36, and the fifth
    // glyph reaches past the right edge and is the last.
    Quads wide = paint(centred, "WWWWWW");
    EXPECT_EQ(wide.size(), 5u);
    EXPECT_EQ(wide.front(), "87 (-34,36) (-6,36) (-6,64) (-34,64)");
    EXPECT_EQ(wide.back(), "87 (94,36) (122,36) (122,64) (94,64)");

    // Characters are cut to their low 8 bits and painted as signed bytes; a
    // character whose low 8 bits are 0 ends the text.
    const char16_t text[] = u"\u0141\u00E9\u0200Z";
    WstringData units(reinterpret_cast<const unsigned short*>(text));
    host.measured.clear();
    paint(centred, units);
    EXPECT_EQ(host.glyphs, (Ints{'A', -23}));
    EXPECT_EQ(host.measured, (Ints{'A', -23, 'A', -23}));

    // A text of 1,024 characters or more keeps its first 1,023.
    std::string longText(1100, 'A');
    area.width = 1.0e6f;
    Quads all = paint(centred, longText.c_str());
    ASSERT_EQ(all.size(), 1023u);
    EXPECT_EQ(all.front(), "65 (489782,36) (489798,36) (489798,64) (489782,64)");
    EXPECT_EQ(positions.positions.back(), 1022);
}

TEST_F(StyleVariantTest, SizeStylesPaintOneLineAtTheirSize) {
    SizeStyle sized("Sized", 2, 1.5f);
    // Base line 20 + 18 * 1.5; line breaks are glyphs like any other.
    EXPECT_EQ(paint(sized, "A\rB"), (Quads{"65 (11.5,32) (23.5,32) (23.5,53) (11.5,53)",
                                           "13 (26.5,32) (38.5,32) (38.5,53) (26.5,53)",
                                           "66 (41.5,32) (53.5,32) (53.5,53) (41.5,53)"}));
    // A pen that reaches the right edge exactly ends the text.
    area.width = 30.0f;
    EXPECT_EQ(paint(sized, "AAA").size(), 2u);

    SingleLineSizeStyle single("Single", 2, 1.5f);
    // A text that fits ends without dots.
    EXPECT_EQ(paint(single, "A"), (Quads{"65 (11.5,32) (23.5,32) (23.5,53) (11.5,53)"}));
    // Three dots follow the glyph that reached the edge, beyond it, at that
    // glyph's position.
    EXPECT_EQ(paint(single, "AWA"), (Quads{"65 (11.5,32) (23.5,32) (23.5,53) (11.5,53)",
                                           "87 (26.5,32) (47.5,32) (47.5,53) (26.5,53)",
                                           "46 (50.5,32) (62.5,32) (62.5,53) (50.5,53)",
                                           "46 (65.5,32) (77.5,32) (77.5,53) (65.5,53)",
                                           "46 (80.5,32) (92.5,32) (92.5,53) (80.5,53)"}));
    EXPECT_EQ(positions.positions, (Ints{0, 1, 1, 1, 1}));
    // A refused dot ends the dots.
    host.refuseGlyph = 3;
    EXPECT_EQ(paint(single, "AWA").size(), 4u);
}

TEST_F(StyleVariantTest, RowDistanceMovesLineFeedsByItsOwnDistance) {
    RowDistanceStyle rows("Rows", 2, 5.0f);
    EXPECT_EQ(paint(rows, "A\nB"),
              (Quads{"65 (11,28) (19,28) (19,42) (11,42)", "66 (21,33) (29,33) (29,47) (21,47)"}));
    // A distance of 0 paints the next line over the first.
    rows.setRowDistance(0.0f);
    EXPECT_EQ(paint(rows, "A\r\nB").back(), "66 (11,28) (19,28) (19,42) (11,42)");
    // Wrapping still moves by the line height.
    area.width = 30.0f;
    EXPECT_EQ(paint(rows, "WWA").back(), "65 (11,46) (19,46) (19,60) (11,60)");
    // A line feed that would reach the bottom ends the text.
    rows.setRowDistance(32.0f);
    EXPECT_EQ(paint(rows, "A\nB").size(), 1u);
    rows.setRowDistance(31.0f);
    EXPECT_EQ(paint(rows, "A\nB").size(), 2u);
}

TEST_F(StyleVariantTest, StopsAtTheFirstRefusedGlyph) {
    CenterAlignedStyle centred("Centred", 2);
    RightAlignedStyle right("Right", 2);
    ScaleYStyle scaled("Scaled", 2);
    CenterAlignedScaleYStyle centredScaled("CentredScaled", 2);
    SizeStyle sized("Sized", 2, 1.0f);
    std::vector<Style*> styles = {&centred, &right, &scaled, &centredScaled, &sized};
    host.refuseGlyph = 1;
    for (Style* style : styles) {
        paint(*style, "AB\nCD");
        EXPECT_EQ(host.glyphs.size(), 2u) << style->actualClass()->name();
    }
}

TEST_F(StyleVariantTest, MeasureAsStyleWhateverTheirScale) {
    CenterAlignedStyle centred("Centred", 2);
    RightAlignedStyle right("Right", 2);
    ScaleYStyle scaled("Scaled", 2);
    CenterAlignedScaleYStyle centredScaled("CentredScaled", 2);
    SizeStyle sized("Sized", 2, 3.0f);
    SingleLineSizeStyle single("Single", 2, 0.5f);
    RowDistanceStyle rows("Rows", 2, 40.0f);
    std::vector<Style*> styles = {&centred, &right,  &scaled, &centredScaled,
                                  &sized,   &single, &rows};
    StringData text("AW");
    for (Style* style : styles) {
        EXPECT_EQ((Floats{style->characterWidth(host, 'A'), style->stringWidth(host, "AW"),
                          style->stringWidth(host, &text, 0)}),
                  (Floats{10, 26, 26}))
            << style->name();
    }
    EXPECT_EQ((Floats{centred.scale(), right.scale(), scaled.scale(), centredScaled.scale(),
                      sized.scale(), single.scale(), rows.scale()}),
              (Floats{1, 1, 1, 1, 3, 0.5f, 1}));
}

// Knows one font, "Serif", as handle 2.
class FontFileHost : public FileHost {
public:
    int fontHandle(const char* name) override {
        return name && std::string(name) == "Serif" ? 2 : 0;
    }
    const char* fontName(int handle) override { return handle == 2 ? "Serif" : nullptr; }
};

class StyleVariantFileTest : public HostTest<FontFileHost> {
protected:
    // Writes the root's object file as a save writes a stream owner's.
    bool writeObjectFile(Object* root, const char* name) {
        OStream* target = host.createOStream(name);
        if (!target) return false;
        ClassOStream out(target);
        return out.streamStaticString(host, root->actualClass()->fullName(), "Class name") &&
               root->onSave(host, out) && out.streamFinished(host);
    }
};

TEST_F(StyleVariantFileTest, ClassesAndFieldsReachTheFileAndBack) {
    struct Expected {
        const char* name;
        const char* parent;
        float scale;
    };
    const std::vector<Expected> classes = {
        {"CenterAlignedStyle", "Style", 1}, {"RightAlignedStyle", "Style", 1},
        {"ScaleYStyle", "Style", 1},        {"CenterAlignedScaleYStyle", "ScaleYStyle", 1},
        {"SizeStyle", "Style", 1},          {"SingleLineSizeStyle", "SizeStyle", 1},
        {"RowDistanceStyle", "Style", 1}};
    for (const Expected& c : classes) {
        RuntimeClass* cls = RuntimeClass::findClass(c.name);
        ASSERT_NE(cls, nullptr) << c.name;
        EXPECT_EQ(std::string(cls->fullName()), std::string("tarn::kova::") + c.name);
        EXPECT_STREQ(cls->parentClass()->name(), c.parent);
        Style* made = nullptr;  // by class name: no name, font 0
        ASSERT_TRUE(Object::create(host, made, cls));
        EXPECT_EQ(made->name(), nullptr);
        EXPECT_EQ((Floats{static_cast<float>(made->fontHandle()), made->scale()}),
                  (Floats{0, c.scale}));
        EXPECT_TRUE(Style::clear(host, made));
    }
    RowDistanceStyle* rows = nullptr;
    ASSERT_TRUE(Object::create(host, rows, RowDistanceStyle::absoluteClass()));
    EXPECT_EQ(rows->rowDistance(), 0.0f);
    Object::clear(host, rows);

    // The font by name, then the own field.
    SingleLineSizeStyle single("Single", 2, 1.5f);
    RowDistanceStyle spaced("Spaced", 2, -0.75f);
    std::vector<std::pair<Style*, unsigned int>> saved = {{&single, 0x3FC00000u},
                                                          {&spaced, 0xBF400000u}};
    for (const auto& s : saved) {
        Object* root = s.first;
        const char* file = root->actualClass()->name();
        ASSERT_TRUE(writeObjectFile(root, file));
        Bytes expected = fileHeader({root->actualClass()->fullName()});
        appendU16(expected, 1);
        appendText(expected, "Serif");
        appendU32(expected, s.second);
        EXPECT_EQ(host.files[file], expected) << file;

        Object* loaded = nullptr;  // named after its file, so the directory keeps it
        ASSERT_TRUE(Object::loadNewStream(host, loaded, file));
        ASSERT_EQ(loaded->actualClass(), root->actualClass());
        Style* style = static_cast<Style*>(loaded);
        EXPECT_EQ(style->fontHandle(), 2);
        EXPECT_EQ(style->scale(), s.first->scale());
        if (loaded->actualClass() == RowDistanceStyle::absoluteClass()) {
            EXPECT_EQ(static_cast<RowDistanceStyle*>(loaded)->rowDistance(), -0.75f);
        }
    }
    EXPECT_EQ(host.log.text,
              "Kova: Loading: SingleLineSizeStyle\r\nKova: Loading: RowDistanceStyle\r\n");
}

}  // namespace
}  // namespace kova_test
