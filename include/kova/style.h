// Kova text styles: measuring, laying out and painting text.
#pragma once

#include "kova/geometry.h"
#include "kova/runtime.h"

namespace tarn {
namespace kova {

class Data;

// The metrics the host fills for one character. A character's advance is
// width + after + before.
struct KOVA_API CharacterMetrics {
    float before = 0.0f;
    float width = 0.0f;
    float after = 0.0f;
    float height = 0.0f;
    float ascent = 0.0f;
};

// A named text style holding a host font handle. The style keeps its own
// name. It measures with the host's metrics and lays text out line by line
// from the top left of an area, wrapping after the glyph that reaches the
// right edge; subclasses change the layout by overriding onPaint.
class KOVA_API Style : public Object {
    KOVA_RUNTIME_CLASS(Style)
public:
    explicit Style(const char* name = nullptr, int fontHandle = 0);
    ~Style() override;

    const char* name() override { return name_; }
    bool setName(const char* name) override;
    bool onStream(System& system, Stream& stream) override;

    // Measuring, always unscaled: the sum of the characters' advances.
    virtual float characterWidth(System& system, int character);
    virtual float stringWidth(System& system, const char* text);
    virtual float stringWidth(System& system, const unsigned short* text);
    virtual float stringWidth(System& system, Data* text, int index);
    virtual float scale();

    int fontHandle() const { return fontHandle_; }
    void setFontHandle(int handle) { fontHandle_ = handle; }

    // A null style measures characters with font handle 0 and strings as 0.
    static float characterWidth(System& system, Style* style, int character);
    static float stringWidth(System& system, Style* style, const char* text);
    static float stringWidth(System& system, Style* style, const unsigned short* text);
    static float stringWidth(System& system, Style* style, Data* text, int index);

    // A null style paints with the system style; a null text paints nothing.
    static void paint(System& system, Style* style, Rectangle& area, Rectangle* clip,
                      EffectPipe& pipe, Data* text, int index);
    static void paint(System& system, Style* style, Rectangle& area, Rectangle* clip,
                      EffectPipe& pipe, const char* text);
    static void paint(System& system, Style* style, Rectangle& area, Rectangle* clip,
                      EffectPipe& pipe, const unsigned short* text);
    // Formats into 256 characters (at most 255 are painted). The wide form
    // takes a 16-bit format: %s is a narrow text, %ls a 16-bit one, %lc a
    // 16-bit character; numbers format as in the narrow form.
    static void paintf(System& system, Style* style, Rectangle& area, Rectangle* clip,
                       EffectPipe& pipe, const char* format, ...) KOVA_PRINTF_FORMAT(6, 7);
    static void paintf(System& system, Style* style, Rectangle& area, Rectangle* clip,
                       EffectPipe& pipe, const unsigned short* format, ...);
    static bool clear(System& system, Style*& style);

    enum { FormatSize = 256 };

protected:
    virtual void onPaint(System& system, Data* text, int index, Rectangle& area, Rectangle* clip,
                         EffectPipe& pipe);

    // Building blocks of the layouts. metrics asks the host and multiplies
    // all five values by factor. paintGlyph paints the glyph with its left
    // edge at left and its line's base line at base, at depth z, white and
    // opaque with the usual blending, and gives the pipe's answer.
    float lineHeight(System& system);
    CharacterMetrics metrics(System& system, int character, float factor = 1.0f);
    bool paintGlyph(System& system, int character, int position, float left, float base,
                    const CharacterMetrics& m, float z, Rectangle* clip, EffectPipe& pipe);
    // The walk of onPaint. lineFeed is how far a line feed moves the base
    // line down (wrapping always moves it by the line height); a single line
    // paints line feeds as spaces and passes over carriage returns.
    void paintLines(System& system, Data& text, int index, Rectangle& area, Rectangle* clip,
                    EffectPipe& pipe, bool singleLine, float lineFeed);

    int fontHandle_;
    char* name_;

private:
    static Style* orSystemStyle(System& system, Style* style);
};

// Keeps a text on one line: line feeds become spaces and carriage returns
// are passed over. Wrapping at the right edge still starts a new line.
class KOVA_API SingleLineStyle : public Style {
    KOVA_RUNTIME_CLASS(SingleLineStyle)
public:
    explicit SingleLineStyle(const char* name = nullptr, int fontHandle = 0);

protected:
    void onPaint(System& system, Data* text, int index, Rectangle& area, Rectangle* clip,
                 EffectPipe& pipe) override;
};

// ---- Style variants --------------------------------------------------------------

// The variants change only how a text is laid out; measuring stays that of
// Style and is unscaled in each of them.

// Centres each line between the area's edges. Lines end at line feeds only:
// there is no wrapping and no stop at the area's bottom.
class KOVA_API CenterAlignedStyle : public Style {
    KOVA_RUNTIME_CLASS(CenterAlignedStyle)
public:
    explicit CenterAlignedStyle(const char* name = nullptr, int font = 0);

protected:
    void onPaint(System& system, Data* text, int index, Rectangle& area, Rectangle* clip,
                 EffectPipe& pipe) override;
};

// Lays the text out from the right edge, walking it from its last character
// back to its first; a text with line feeds thus shows its last line at the
// top. Wraps at the left edge and stops at the area's bottom.
class KOVA_API RightAlignedStyle : public Style {
    KOVA_RUNTIME_CLASS(RightAlignedStyle)
public:
    explicit RightAlignedStyle(const char* name = nullptr, int font = 0);

protected:
    void onPaint(System& system, Data* text, int index, Rectangle& area, Rectangle* clip,
                 EffectPipe& pipe) override;
};

// Scales the glyphs so that a line fills the area's height. One line from
// the left edge, ending at the right edge.
class KOVA_API ScaleYStyle : public Style {
    KOVA_RUNTIME_CLASS(ScaleYStyle)
public:
    explicit ScaleYStyle(const char* name = nullptr, int font = 0);

protected:
    void onPaint(System& system, Data* text, int index, Rectangle& area, Rectangle* clip,
                 EffectPipe& pipe) override;
};

// As ScaleYStyle, centred. The text is read into a work buffer of WorkSize
// bytes first, each character cut to its low 8 bits.
class KOVA_API CenterAlignedScaleYStyle : public ScaleYStyle {
    KOVA_RUNTIME_CLASS(CenterAlignedScaleYStyle)
public:
    explicit CenterAlignedScaleYStyle(const char* name = nullptr, int font = 0);

    enum { WorkSize = 1024 };

protected:
    void onPaint(System& system, Data* text, int index, Rectangle& area, Rectangle* clip,
                 EffectPipe& pipe) override;
};

// One line scaled by a constant; every character, line breaks included, is
// painted as a glyph, up to the right edge.
class KOVA_API SizeStyle : public Style {
    KOVA_RUNTIME_CLASS(SizeStyle)
public:
    explicit SizeStyle(const char* name = nullptr, int font = 0, float size = 1.0f);

    bool onStream(System& system, Stream& stream) override;
    float scale() override { return size_; }

    float sizeConstant() const { return size_; }
    void setSizeConstant(float size) { size_ = size; }

protected:
    void onPaint(System& system, Data* text, int index, Rectangle& area, Rectangle* clip,
                 EffectPipe& pipe) override;
    // The line at the size constant; with dots, a text that reaches the right
    // edge ends in three dots after the glyph that reached it.
    void paintLine(System& system, Data& text, int index, Rectangle& area, Rectangle* clip,
                   EffectPipe& pipe, bool dots);

    float size_;
};

// As SizeStyle, but a text that does not fit ends in three dots.
class KOVA_API SingleLineSizeStyle : public SizeStyle {
    KOVA_RUNTIME_CLASS(SingleLineSizeStyle)
public:
    explicit SingleLineSizeStyle(const char* name = nullptr, int font = 0, float size = 1.0f);

protected:
    void onPaint(System& system, Data* text, int index, Rectangle& area, Rectangle* clip,
                 EffectPipe& pipe) override;
};

// As Style, with a line feed distance of its own; wrapping still moves down
// by the font's line height.
class KOVA_API RowDistanceStyle : public Style {
    KOVA_RUNTIME_CLASS(RowDistanceStyle)
public:
    explicit RowDistanceStyle(const char* name = nullptr, int font = 0, float rowDistance = 0.0f);

    bool onStream(System& system, Stream& stream) override;

    float rowDistance() const { return rowDistance_; }
    void setRowDistance(float rowDistance) { rowDistance_ = rowDistance; }

protected:
    void onPaint(System& system, Data* text, int index, Rectangle& area, Rectangle* clip,
                 EffectPipe& pipe) override;

    float rowDistance_;
};

}  // namespace kova
}  // namespace tarn
