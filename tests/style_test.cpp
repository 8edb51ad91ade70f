// Text on the screen: measuring and laying out text with each style (the
// exact glyph quadrilaterals from the host's metrics, line breaks, wrapping,
// where each layout stops, refused glyphs, formatted text), and the text
// nodes that paint variables.
#include <gtest/gtest.h>

#include <regex>

#include "test_support.h"

namespace kova_test {
namespace {

using Ints = std::vector<int>;
using Lines = std::vector<std::string>;

const unsigned short* wide(const char16_t* text) {
    return reinterpret_cast<const unsigned short*>(text);
}

Ints units(const std::u16string& text) {
    return Ints(text.begin(), text.end());
}

// Records the position in the text each glyph is painted for.
class PositionEffect : public Effect {
public:
    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override {
        positions.push_back(index);
        return Effect::charPaint(system, character, font, index, data, self);
    }
    Ints positions;
};

// The host's font n has lines 16 + n apart and glyphs 8 wide ('W' 14), 1
// before and 1 after, 12 + n high with their tops 10 above the base line.
class StyleTest : public HostTest<PaintLogHost> {
protected:
    // Each glyph painted since the last call as "<character>@<position>
    // left,top", after checking that it is a plain record: an upright
    // quadrilateral in the host's corner order, of the host's glyph size at
    // the scale last told ("x<scale> " before the glyph where it changes; 1 at
    // first), at the area's depth, within the clip, in the style's font.
    std::string glyphs(int font) {
        std::string out;
        float scale = 1.0f;
        for (size_t i = 0; i < host.painted.size(); ++i) {
            const Vertex* v = host.painted[i].vertex;
            const int c = host.glyphs[i];
            std::string l = printed(v[0].x), t = printed(v[0].y), r = printed(v[2].x),
                        b = printed(v[2].y);
            EXPECT_EQ(describePaint(host.painted[i]), l + "," + t + " " + r + "," + t + " " + r +
                                                          "," + b + " " + l + "," + b +
                                                          " z0.5 clip 0,0,200,200,0");
            const float s = (v[2].y - v[0].y) / (12.0f + static_cast<float>(font));
            EXPECT_EQ(v[2].x - v[0].x, s * (c == 'W' ? 14.0f : 8.0f)) << i;
            EXPECT_EQ(host.calls[i], "charPaint " + std::to_string(c) + " " + std::to_string(font));
            out += (i ? "; " : "") + (s != scale ? "x" + printed(scale = s) + " " : "") +
                   (c > 32 && c < 127 ? std::string(1, char(c)) : "#" + std::to_string(c)) + "@" +
                   std::to_string(effect.positions[i]) + " " + l + "," + t;
        }
        host.calls.clear(), host.painted.clear(), host.paints.clear();
        host.glyphs.clear(), host.measured.clear(), effect.positions.clear();
        return out;
    }
    std::string paint(Style* style, Data& text, int index = 0) {
        Style::paint(host, style, area, &clip, pipe, &text, index);
        return glyphs(style->fontHandle());
    }

    Rectangle area{10.0f, 20.0f, 100.0f, 50.0f, 0.5f};
    Rectangle clip{0.0f, 0.0f, 200.0f, 200.0f, 0.0f};
    PositionEffect effect;
    EffectPipe pipe{nullptr, &effect};
};

TEST_F(StyleTest, EachStyleLaysOutItsGlyphs) {
    // Style, in font 2 | text (\\n and \\r for line breaks) | width | height | the glyphs
    // painted | the glyph the host refuses, if any. From the top left, base
    // line 38; a line feed keeps the pen's x, a carriage return goes back to
    // the left edge. The glyph that passes the right edge (50) is painted,
    // then the line wraps; a base line at the bottom (70) or below ends the
    // text, but the first line is always painted. Centred lines end at line
    // feeds only, with no stop at the bottom; a carriage return is neither
    // measured nor painted. Right-aligned text is walked backwards from the
    // right edge; the last line is painted at the top. Scaled to fill the
    // height on one line, 36 doubles every metric; the glyph that passes the
    // right edge is the last; centred and scaled, line breaks are glyphs too.
    // At a size of their own, on one line, a pen reaching the right edge ends
    // the text, with three dots beyond it for the single line. A line feed
    // moves by the row distance, a wrap by the line height.
    for (Lines row : tableRows(R"(Style {} | AB\nC | 40 | 50 | A@0 11,28; B@1 21,28; C@3 31,46
        Style {} | A\r\nB | 40 | 50 | A@0 11,28; B@3 11,46
        Style {} | WWWWWWW | 40 | 50 | W@0 11,28; W@1 27,28; W@2 43,28; W@3 11,46; W@4 27,46; W@5 43,46
        Style {} | A\nB | 40 | 10 | A@0 11,28
        Style {} | ABC | 40 | 50 | A@0 11,28; B@1 21,28 | 1
        SingleLineStyle {} | A\r\nB | 40 | 50 | A@0 11,28; #32@2 21,28; B@3 31,28
        CenterAlignedStyle {} | AB\r\nW\n\nC | 100 | 50 | A@0 51,28; B@1 61,28; W@4 53,46; C@7 56,82
        CenterAlignedStyle {} | AB\nCD | 100 | 50 | A@0 51,28; B@1 61,28 | 1
        RightAlignedStyle {} | A\nB | 100 | 50 | B@2 101,28; A@0 91,46
        RightAlignedStyle {} | A\r\nB | 100 | 50 | B@3 101,28; A@0 101,46
        RightAlignedStyle {} | WWWWW | 30 | 50 | W@4 25,28; W@3 9,28; W@2 25,46; W@1 9,46
        RightAlignedStyle {} | A\n\nB | 100 | 50 | B@3 101,28
        RightAlignedStyle {} | AB\nCD | 100 | 50 | D@4 101,28; C@3 91,28 | 1
        ScaleYStyle {} | WWWWW | 100 | 36 | x2 W@0 12,36; W@1 44,36; W@2 76,36; W@3 108,36
        ScaleYStyle {} | A\r\nB | 100 | 36 | x2 A@0 12,36; B@3 12,72
        ScaleYStyle {} | AB\nCD | 100 | 36 | x2 A@0 12,36; B@1 32,36 | 1
        CenterAlignedScaleYStyle {} | A\nB | 100 | 36 | x2 A@0 32,36; #10@1 52,36; B@2 72,36
        CenterAlignedScaleYStyle {} | WWWWWW | 100 | 36 | x2 W@0 -34,36; W@1 -2,36; W@2 30,36; W@3 62,36; W@4 94,36
        CenterAlignedScaleYStyle {} | AB\nCD | 100 | 36 | x2 A@0 12,36; B@1 32,36 | 1
        SizeStyle { Size constant: 1.5 } | A\rB | 100 | 50 | x1.5 A@0 11.5,32; #13@1 26.5,32; B@2 41.5,32
        SizeStyle { Size constant: 1.5 } | AAA | 30 | 50 | x1.5 A@0 11.5,32; A@1 26.5,32
        SizeStyle { Size constant: 1.5 } | AB\nCD | 100 | 50 | x1.5 A@0 11.5,32; B@1 26.5,32 | 1
        SingleLineSizeStyle { Size constant: 1.5 } | AWA | 30 | 50 | x1.5 A@0 11.5,32; W@1 26.5,32; .@1 50.5,32; .@1 65.5,32; .@1 80.5,32
        SingleLineSizeStyle { Size constant: 1.5 } | AWA | 30 | 50 | x1.5 A@0 11.5,32; W@1 26.5,32; .@1 50.5,32; .@1 65.5,32 | 3
        RowDistanceStyle { Row distance: 5 } | A\nB | 100 | 50 | A@0 11,28; B@2 21,33
        RowDistanceStyle { Row distance: 0 } | WWA | 30 | 50 | W@0 11,28; W@1 27,28; A@2 11,46
        RowDistanceStyle { Row distance: 32 } | A\nB | 100 | 50 | A@0 11,28
        RowDistanceStyle { Row distance: 31 } | A\nB | 100 | 50 | A@0 11,28; B@2 21,59)")) {
        SCOPED_TRACE(row[0] + " " + row[1]);
        row.resize(6);
        Object* style =
            readObject(host, std::regex_replace(row[0], std::regex("\\{"), "{ Font handle: \"2\""));
        row[1] = std::regex_replace(std::regex_replace(row[1], std::regex("\\\\n"), "\n"),
                                    std::regex("\\\\r"), "\r");
        area.width = std::strtof(row[2].c_str(), nullptr);
        area.height = std::strtof(row[3].c_str(), nullptr);
        host.refuseGlyph = row[5].empty() ? -1 : std::atoi(row[5].c_str());
        StringData text(row[1].c_str());
        EXPECT_EQ(paint(static_cast<Style*>(style), text), row[4]);
        Object::clear(host, style);
    }
}

// The right-aligned walk counts the data's plain text and reads the given
// element; the centred scaled one keeps the low 8 bits of 1,023 characters
// at most, measured and painted as signed bytes, and a 0 byte ends it.
TEST_F(StyleTest, StylesReadTheirTextsOwnWay) {
    RightAlignedStyle right("Right", 2);
    CenterAlignedScaleYStyle centred("Centred", 2);
    DataListData list;
    StringData first("AB"), second("XYZ");
    list.list()->appendObject(host, &first);
    list.list()->appendObject(host, &second);
    EXPECT_EQ(paint(&right, list, 1), "Y@1 101,28; X@0 91,28");

    area.height = 36.0f;
    WstringData bytes(wide(u"\u0141\u00E9\u0200Z"));
    Style::paint(host, &centred, area, &clip, pipe, &bytes, 0);
    EXPECT_EQ(host.measured, (Ints{'A', -23, 'A', -23}));
    EXPECT_EQ(glyphs(2), "x2 A@0 42,36; #-23@1 62,36");
    area.width = 1.0e6f;
    StringData longText(std::string(1100, 'A').c_str());
    Style::paint(host, &centred, area, &clip, pipe, &longText, 0);
    EXPECT_EQ((Floats{static_cast<float>(host.glyphs.size()),
                      static_cast<float>(effect.positions.back()), host.painted[0].vertex[0].x}),
              (Floats{1023, 1022, 489782}));
}

// Widths are the host's advances, unscaled whatever the style; bytes of
// narrow texts count as signed characters, measured and painted.
TEST_F(StyleTest, MeasuresAndPaintsPlainAndFormattedTexts) {
    Style body("Body", 2);
    SizeStyle sized("Sized", 2, 3.0f);
    StringData text("AW");
    EXPECT_EQ((Floats{body.characterWidth(host, 'A'), sized.characterWidth(host, 'W'),
                      Style::characterWidth(host, nullptr, 'W'), body.stringWidth(host, "AWA"),
                      sized.stringWidth(host, wide(u"\u0100W")), body.stringWidth(host, &text, 0),
                      Style::stringWidth(host, &body, "\xE9"), body.scale(), sized.scale(),
                      Style::stringWidth(host, nullptr, "AW"),
                      Style::stringWidth(host, nullptr, wide(u"AW")),
                      Style::stringWidth(host, nullptr, &text, 0),
                      body.stringWidth(host, static_cast<Data*>(nullptr), 0),
                      body.stringWidth(host, static_cast<const char*>(nullptr)),
                      body.stringWidth(host, static_cast<const unsigned short*>(nullptr)),
                      body.stringWidth(host, "")}),
              (Floats{10, 16, 16, 36, 26, 26, 10, 1, 3, 0, 0, 0, 0, 0, 0, 0}));
    // Nothing to measure asks the host nothing.
    EXPECT_EQ(host.measured, (Ints{'A', 'W', 'W', 'A', 'W', 'A', 0x100, 'W', 'A', 'W', -23}));
    EXPECT_EQ(host.measuredFont, 2);

    // Narrow and wide texts and formats; formatted results are cut to 255
    // characters and a malformed conversion ends them.
    pipe.effect = nullptr;  // straight to the host
    Style::paint(host, nullptr, area, &clip, pipe, wide(u"\uE9FF"));
    Style::paint(host, &body, area, &clip, pipe, "\xE9");
    EXPECT_EQ(host.calls, (Lines{"charPaint 59903 0", "charPaint -23 2"}));

    area.width = 1.0e6f;  // one long line
    auto formatted = [&](auto... arguments) {
        host.glyphs.clear();
        Style::paintf(host, &body, area, &clip, pipe, arguments...);
        return host.glyphs;
    };
    EXPECT_EQ(formatted("%s=%d", "n", -7), units(u"n=-7"));
    EXPECT_EQ(formatted(wide(u"%ls|%s|%d|%5.1f%%|%lc|%-3ls|%*d|%.2ls|%x"), wide(u"\u0100W"), "ab",
                        -7, 2.5, 0x263A, wide(u"z"), 4, 7, wide(u"xyz"), 255u),
              units(u"\u0100W|ab|-7|  2.5%|\u263A|z  |   7|xy|ff"));
    EXPECT_EQ(formatted(wide(u"A%qB")), units(u"A"));
    EXPECT_EQ(formatted(wide(u"%ls"), wide(std::u16string(300, u'y').c_str())),
              units(std::u16string(255, u'y')));
}

// Text nodes paint their variable's text with their style (or the system
// style), from the top left of the area; without a variable, nothing.
TEST_F(StyleTest, TextNodesPaintTheirVariables) {
    // Text node | font | glyphs.
    area.width = 300.0f;
    for (
        Lines row : tableRows(
            R"(TextNode { Next node: null String: IntData { Value <do not edit>: 42 } Style: Style { Font handle: "1" } } | 1 | 4@0 11,27; 2@1 21,27
        TextNode { Next node: null String: StringData { String <do not edit>: "Hi\nyou" } Style: null } | 0 | H@0 11,26; i@1 21,26; y@3 31,42; o@4 41,42; u@5 51,42
        TextNode { Next node: null String: null Style: Style { Font handle: "1" } } | 1)")) {
        row.resize(3);
        Object* node = readObject(host, row[0]);
        static_cast<Node*>(node)->onPaint(host, host.mode(), area, &clip, pipe);
        EXPECT_EQ(glyphs(std::atoi(row[1].c_str())), row[2]) << row[0];
        Object::clear(host, node);
    }
}

}  // namespace
}  // namespace kova_test
