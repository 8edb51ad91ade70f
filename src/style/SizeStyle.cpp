#include <climits>

#include "kova/data.h"
#include "kova/stream.h"
#include "kova/style.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(SizeStyle, Style)

namespace {
const int kDot = '.';
}  // namespace

SizeStyle::SizeStyle(const char* name, int font, float size) : Style(name, font), size_(size) {}

bool SizeStyle::onStream(System& system, Stream& stream) {
    return Style::onStream(system, stream) && stream.streamFloat(size_, "Size constant");
}

void SizeStyle::onPaint(System& system, Data* text, int index, Rectangle& area, Rectangle* clip,
                        EffectPipe& pipe) {
    if (text) paintLine(system, *text, index, area, clip, pipe, false);
}

// Line breaks are ordinary glyphs here. The dots go after the glyph that
// reached the right edge, beyond it, at that glyph's position in the text.
void SizeStyle::paintLine(System& system, Data& text, int index, Rectangle& area, Rectangle* clip,
                          EffectPipe& pipe, bool dots) {
    const float right = area.x + area.width;
    const float base = area.y + lineHeight(system) * size_;
    float x = area.x;
    for (int position = 0; position < INT_MAX; ++position) {
        int character = text.character(system, index, position);
        if (character == 0) return;
        CharacterMetrics m = metrics(system, character, size_);
        x = x + m.before;
        if (!paintGlyph(system, character, position, x, base, m, area.z, clip, pipe)) return;
        x = x + m.width + m.after;
        if (x < right) continue;
        for (int dot = 0; dots && dot < 3; ++dot) {
            CharacterMetrics d = metrics(system, kDot, size_);
            x = x + d.before;
            if (!paintGlyph(system, kDot, position, x, base, d, area.z, clip, pipe)) return;
            x = x + d.width + d.after;
        }
        return;
    }
}

}  // namespace kova
}  // namespace tarn
