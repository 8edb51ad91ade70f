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

}  // namespace kova
}  // namespace tarn
