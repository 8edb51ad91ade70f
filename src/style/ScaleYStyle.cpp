#include <climits>

#include "kova/data.h"
#include "kova/style.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(ScaleYStyle, Style)

namespace {
const int kCarriageReturn = 13;
const int kLineFeed = 10;
}  // namespace

ScaleYStyle::ScaleYStyle(const char* name, int font) : Style(name, font) {}

// A font without height gives an infinite or undefined scale; the glyphs
// then land where the host's arithmetic puts them, and the pen check ends
// the text.
void ScaleYStyle::onPaint(System& system, Data* text, int index, Rectangle& area, Rectangle* clip,
                          EffectPipe& pipe) {
    if (!text) return;
    const float right = area.x + area.width;
    const float height = lineHeight(system);
    const float factor = area.height / height;
    float x = area.x;
    float base = area.y + height * factor;
    for (int position = 0; position < INT_MAX; ++position) {
        int character = text->character(system, index, position);
        if (character == 0) return;
        if (character == kCarriageReturn) {
            x = area.x;
            continue;
        }
        if (character == kLineFeed) {
            base = base + height * factor;
            continue;
        }
        CharacterMetrics m = metrics(system, character, factor);
        x = x + m.before;
        if (!paintGlyph(system, character, position, x, base, m, area.z, clip, pipe)) return;
        x = x + m.width + m.after;
        if (!(x < right)) return;
    }
}

}  // namespace kova
}  // namespace tarn
