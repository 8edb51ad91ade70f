// Measuring and laying out text with styles: exact glyph quadrilaterals
// from the host's metrics, line breaks, wrapping, the bottom of the area,
// refused glyphs and formatted text.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

const unsigned short* wide(const char16_t* text) {
    return reinterpret_cast<const unsigned short*>(text);
}

std::vector<int> units(const std::u16string& text) {
    return std::vector<int>(text.begin(), text.end());
}

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%g", value);
    return text;
}

// Each glyph as "character (x,y) (x,y) (x,y) (x,y)", corners in the order
// the host receives them.
std::vector<std::string> quads(const TestHost& host) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < host.painted.size(); ++i) {
        std::string line = host.calls[i].substr(10, host.calls[i].find(' ', 10) - 10);
        for (const Vertex& v : host.painted[i].vertex)
            line += " (" + number(v.x) + "," + number(v.y) + ")";
        out.push_back(line);
    }
    return out;
}

// Every glyph record is plain: the given clip and depth, white, opaque,
// blended with source alpha, without texture coordinates.
void expectPlainGlyphs(const TestHost& host, Rectangle* clip, float z) {
    for (const PaintData& data : host.painted) {
        EXPECT_EQ(data.clipRect, clip);
        EXPECT_EQ(data.sourceBlendFunc, 7);
        EXPECT_EQ(data.destinationBlendFunc, 8);
        EXPECT_FALSE(data.hasUV);
        for (const Vertex& v : data.vertex)
            EXPECT_EQ((Floats{v.z, v.red, v.green, v.blue, v.alpha}), (Floats{z, 1, 1, 1, 1}));
    }
}

// Records the position of each glyph in its text.
class IndexEffect : public Effect {
public:
    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override {
        indexes.push_back(index);
        return Effect::charPaint(system, character, font, index, data, self);
    }
    std::vector<int> indexes;
};

class StyleTest : public HostTest<GlyphHost> {
protected:
    // Paints with a fresh record of the host's calls.
    std::vector<std::string> paint(Style& style, const char* text) {
        host.calls.clear();
        host.painted.clear();
        host.glyphs.clear();
        Style::paint(host, &style, area, &clip, pipe, text);
        expectPlainGlyphs(host, &clip, area.z);
        return quads(host);
    }

    // Right edge at 50, bottom at 70.
    Rectangle area{10.0f, 20.0f, 40.0f, 50.0f, 0.5f};
    Rectangle clip{0.0f, 0.0f, 100.0f, 100.0f, 0.0f};
    EffectPipe pipe;
    Style body{"Body", 2};  // lines 18 apart, glyphs 14 high
};

TEST_F(StyleTest, MeasuresWithTheHostsMetrics) {
    EXPECT_EQ(body.characterWidth(host, 'A'), 10.0f);
    EXPECT_EQ(host.measuredFont, 2);
    EXPECT_EQ(Style::characterWidth(host, nullptr, 'W'), 16.0f);
    EXPECT_EQ(host.measuredFont, 0);

    EXPECT_EQ(body.stringWidth(host, "AWA"), 36.0f);
    EXPECT_EQ(body.stringWidth(host, wide(u"\u0100W")), 26.0f);
    StringData text("AW");
    EXPECT_EQ(body.stringWidth(host, &text, 0), 26.0f);
    EXPECT_EQ(Style::stringWidth(host, &body, "\xE9"), 10.0f);
    EXPECT_EQ(host.measured,
              (std::vector<int>{'A', 'W', 'A', 'W', 'A', 0x100, 'W', 'A', 'W', -23}));
    EXPECT_EQ(body.scale(), 1.0f);

    // Nothing to measure.
    host.measured.clear();
    EXPECT_EQ(Style::stringWidth(host, nullptr, "AW"), 0.0f);
    EXPECT_EQ(Style::stringWidth(host, nullptr, wide(u"AW")), 0.0f);
    EXPECT_EQ(Style::stringWidth(host, nullptr, &text, 0), 0.0f);
    EXPECT_EQ(body.stringWidth(host, static_cast<Data*>(nullptr), 0), 0.0f);
    EXPECT_EQ(body.stringWidth(host, ""), 0.0f);
    EXPECT_TRUE(host.measured.empty());
}

TEST_F(StyleTest, LaysOutLinesFromTheTopLeft) {
    // Base line 38, glyph tops at 28; a line feed keeps the pen's x.
    EXPECT_EQ(paint(body, "AB\nC"),
              (std::vector<std::string>{"65 (11,28) (19,28) (19,42) (11,42)",
                                        "66 (21,28) (29,28) (29,42) (21,42)",
                                        "67 (31,46) (39,46) (39,60) (31,60)"}));
    EXPECT_EQ(host.calls[0], "charPaint 65 2");
    // A carriage return goes back to the left edge.
    EXPECT_EQ(paint(body, "A\r\nB"),
              (std::vector<std::string>{"65 (11,28) (19,28) (19,42) (11,42)",
                                        "66 (11,46) (19,46) (19,60) (11,60)"}));
    EXPECT_TRUE(paint(body, "").empty());
}

TEST_F(StyleTest, WrapsAfterTheGlyphThatCrossesTheRightEdgeUntilTheBottom) {
    // The third W reaches past 50 and is still painted on the first line;
    // the wrap after the sixth would put the base line at 74, below 70.
    EXPECT_EQ(paint(body, "WWWWWWW"),
              (std::vector<std::string>{
                  "87 (11,28) (25,28) (25,42) (11,42)", "87 (27,28) (41,28) (41,42) (27,42)",
                  "87 (43,28) (57,28) (57,42) (43,42)", "87 (11,46) (25,46) (25,60) (11,60)",
                  "87 (27,46) (41,46) (41,60) (27,60)", "87 (43,46) (57,46) (57,60) (43,60)"}));
    // A line taller than the area: the first line is painted all the same,
    // and the line feed ends the text.
    area.height = 10.0f;
    EXPECT_EQ(paint(body, "A\nB"),
              (std::vector<std::string>{"65 (11,28) (19,28) (19,42) (11,42)"}));
}

TEST_F(StyleTest, SingleLinePaintsLineFeedsAsSpaces) {
    SingleLineStyle single("Single", 2);
    IndexEffect effect;
    pipe.effect = &effect;
    EXPECT_EQ(paint(single, "A\r\nB"),
              (std::vector<std::string>{"65 (11,28) (19,28) (19,42) (11,42)",
                                        "32 (21,28) (29,28) (29,42) (21,42)",
                                        "66 (31,28) (39,28) (39,42) (31,42)"}));
    EXPECT_EQ(effect.indexes, (std::vector<int>{0, 2, 3}));
    // Wrapping at the right edge still starts a new line.
    EXPECT_EQ(paint(single, "WWWW").back(), "87 (11,46) (25,46) (25,60) (11,60)");
    EXPECT_EQ(SingleLineStyle::absoluteClass()->parentClass(), Style::absoluteClass());
    Style* made = nullptr;  // by class name: no name, font 0
    ASSERT_TRUE(Object::create(host, made, SingleLineStyle::absoluteClass()));
    EXPECT_EQ(made->name(), nullptr);
    EXPECT_EQ(made->fontHandle(), 0);
    EXPECT_TRUE(Style::clear(host, made));
}

TEST_F(StyleTest, StopsAtTheFirstRefusedGlyph) {
    host.refuseGlyph = 1;
    paint(body, "ABC");
    EXPECT_EQ(host.glyphs, (std::vector<int>{'A', 'B'}));
    EXPECT_EQ(host.measured, (std::vector<int>{'A', 'B'}));
}

TEST_F(StyleTest, PaintsWithTheSystemStyleAndIgnoresMissingTexts) {
    // Font 0: lines 16 apart, glyphs 12 high.
    Style::paint(host, nullptr, area, &clip, pipe, wide(u"\uE9FF"));
    EXPECT_EQ(quads(host), (std::vector<std::string>{"59903 (11,26) (19,26) (19,38) (11,38)"}));
    EXPECT_EQ(host.calls[0], "charPaint 59903 0");
    Style::paint(host, &body, area, &clip, pipe, "\xE9");
    EXPECT_EQ(host.glyphs.back(), -23);

    host.calls.clear();
    Style::paint(host, &body, area, &clip, pipe, static_cast<const char*>(nullptr));
    Style::paint(host, &body, area, &clip, pipe, static_cast<const unsigned short*>(nullptr));
    Style::paint(host, &body, area, &clip, pipe, static_cast<Data*>(nullptr), 0);
    Style::paintf(host, &body, area, &clip, pipe, static_cast<const char*>(nullptr));
    Style::paintf(host, &body, area, &clip, pipe, static_cast<const unsigned short*>(nullptr));
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(StyleTest, PaintsFormattedText) {
    area.width = 1.0e6f;  // one long line
    Style::paintf(host, &body, area, &clip, pipe, "%s=%d", "n", -7);
    EXPECT_EQ(host.glyphs, units(u"n=-7"));

    host.glyphs.clear();
    Style::paintf(host, &body, area, &clip, pipe, wide(u"%ls|%s|%d|%5.1f%%|%lc|%-3ls|%*d|%.2ls|%x"),
                  wide(u"\u0100W"), "ab", -7, 2.5, 0x263A, wide(u"z"), 4, 7, wide(u"xyz"), 255u);
    EXPECT_EQ(host.glyphs, units(u"\u0100W|ab|-7|  2.5%|\u263A|z  |   7|xy|ff"));

    // A malformed conversion ends the text.
    host.glyphs.clear();
    Style::paintf(host, &body, area, &clip, pipe, wide(u"A%qB"));
    EXPECT_EQ(host.glyphs, units(u"A"));

    // Results are cut to 255 characters.
    std::string longText(300, 'x');
    std::u16string longWide(300, u'y');
    host.glyphs.clear();
    Style::paintf(host, &body, area, &clip, pipe, "%s", longText.c_str());
    EXPECT_EQ(host.glyphs, std::vector<int>(255, 'x'));
    host.glyphs.clear();
    Style::paintf(host, &body, area, &clip, pipe, wide(u"%ls"), wide(longWide.c_str()));
    EXPECT_EQ(host.glyphs, std::vector<int>(255, 'y'));
}

}  // namespace
}  // namespace kova_test
