#include "kova/data.h"
#include "kova/style.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(RightAlignedStyle, Style)

namespace {
const int kCarriageReturn = 13;
const int kLineFeed = 10;
}  // namespace

RightAlignedStyle::RightAlignedStyle(const char* name, int font) : Style(name, font) {}

// The walk counts the characters of the data's plain text, as the length of
// the text shown, and reads them at the given index. Positions that read 0
// there (an element shorter than the plain text) are passed over.
void RightAlignedStyle::onPaint(System& system, Data* text, int index, Rectangle& area,
                                Rectangle* clip, EffectPipe& pipe) {
    if (!text) return;
    const float right = area.x + area.width;
    const float bottom = area.y + area.height;
    const float height = lineHeight(system);
    float x = right;
    float base = area.y + height;
    for (int position = text->stringLength(system) - 1; position >= 0; --position) {
        int character = text->character(system, index, position);
        if (character == 0) continue;
        if (character == kCarriageReturn) {
            x = right;
            continue;
        }
        if (character == kLineFeed) {
            base = base + height;
            if (!(base < bottom)) return;
            continue;
        }
        CharacterMetrics m = metrics(system, character);
        x = x - (m.width + m.after);
        if (!paintGlyph(system, character, position, x, base, m, area.z, clip, pipe)) return;
        x = x - m.before;
        if (x < area.x) {
            x = right;
            base = base + height;
            if (!(base < bottom)) return;
        }
    }
}

}  // namespace kova
}  // namespace tarn
