#include <climits>

#include "kova/data.h"
#include "kova/style.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(CenterAlignedStyle, Style)

namespace {
const int kCarriageReturn = 13;
const int kLineFeed = 10;
}  // namespace

CenterAlignedStyle::CenterAlignedStyle(const char* name, int font) : Style(name, font) {}

// Each line is measured first, then painted from the pen that centres it.
// The characters are read twice; nothing is kept between the two walks.
void CenterAlignedStyle::onPaint(System& system, Data* text, int index, Rectangle& area,
                                 Rectangle* clip, EffectPipe& pipe) {
    if (!text) return;
    const float height = lineHeight(system);
    float base = area.y + height;
    int start = 0;
    while (start < INT_MAX) {
        float width = 0.0f;
        int end = start;
        int ending = 0;  // the line feed that ends the line, or 0 at the text's end
        for (; end < INT_MAX; ++end) {
            int character = text->character(system, index, end);
            if (character == 0 || character == kLineFeed) {
                ending = character;
                break;
            }
            if (character == kCarriageReturn) continue;
            CharacterMetrics m = metrics(system, character);
            width = width + (m.after + m.width + m.before);
        }
        float x = area.x + (area.width - width) * 0.5f;
        for (int position = start; position < end; ++position) {
            int character = text->character(system, index, position);
            if (character == kCarriageReturn) continue;
            CharacterMetrics m = metrics(system, character);
            if (!paintGlyph(system, character, position, x + m.before, base, m, area.z, clip, pipe))
                return;
            x = x + (m.before + m.width + m.after);
        }
        if (ending != kLineFeed) return;
        base = base + height;
        start = end + 1;
    }
}

}  // namespace kova
}  // namespace tarn
