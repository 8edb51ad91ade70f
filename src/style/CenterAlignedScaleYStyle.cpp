#include "kova/data.h"
#include "kova/style.h"

namespace tarn {
namespace kova {

namespace {
// The low 8 bits of a character as a signed 8-bit value.
int lowByte(int character) {
    int low = character & 0xFF;
    return low < 128 ? low : low - 256;
}
}  // namespace

KOVA_IMPLEMENT_CLASS(CenterAlignedScaleYStyle, ScaleYStyle)

CenterAlignedScaleYStyle::CenterAlignedScaleYStyle(const char* name, int font)
    : ScaleYStyle(name, font) {}

// The work buffer is a terminated 8-bit text: a text of WorkSize characters
// or more keeps its first WorkSize - 1, and a character whose low 8 bits are
// 0 ends it. Each character is measured as it is painted, as a signed 8-bit
// value, so the centring matches the glyphs shown.
void CenterAlignedScaleYStyle::onPaint(System& system, Data* text, int index, Rectangle& area,
                                       Rectangle* clip, EffectPipe& pipe) {
    if (!text) return;
    signed char work[WorkSize];
    int count = 0;
    float width = 0.0f;
    while (count < WorkSize - 1) {
        int character = lowByte(text->character(system, index, count));
        if (character == 0) break;
        work[count++] = static_cast<signed char>(character);
        CharacterMetrics m = metrics(system, character);
        width = width + (m.width + m.after + m.before);
    }
    const float right = area.x + area.width;
    const float height = lineHeight(system);
    const float factor = area.height / height;
    const float base = area.y + height * factor;
    float x = area.x + (area.width - width * factor) * 0.5f;
    for (int position = 0; position < count; ++position) {
        CharacterMetrics m = metrics(system, work[position], factor);
        x = x + m.before;
        if (!paintGlyph(system, work[position], position, x, base, m, area.z, clip, pipe)) return;
        x = x + m.width + m.after;
        if (!(x < right)) return;
    }
}

}  // namespace kova
}  // namespace tarn
