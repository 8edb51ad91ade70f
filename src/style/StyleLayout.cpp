// The layout every style builds on: glyphs placed from the host's metrics,
// painted one by one through the effect pipe.
#include <climits>
#include <cstring>

#include "../effect/EffectPass.h"
#include "kova/data.h"
#include "kova/style.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

namespace {
const int kCarriageReturn = 13;
const int kLineFeed = 10;
const int kSpace = 32;
}  // namespace

void Style::onPaint(System& system, Data* text, int index, Rectangle& area, Rectangle* clip,
                    EffectPipe& pipe) {
    if (text) paintLines(system, *text, index, area, clip, pipe, false, lineHeight(system));
}

float Style::lineHeight(System& system) {
    return system.fontHeight(fontHandle_);
}

CharacterMetrics Style::metrics(System& system, int character, float factor) {
    CharacterMetrics m;
    system.charMetrics(character, fontHandle_, m);
    if (factor != 1.0f) {
        m.before *= factor;
        m.width *= factor;
        m.after *= factor;
        m.height *= factor;
        m.ascent *= factor;
    }
    return m;
}

// A fresh record for every glyph: effects may have rewritten the last one.
bool Style::paintGlyph(System& system, int character, int position, float left, float base,
                       const CharacterMetrics& m, float z, Rectangle* clip, EffectPipe& pipe) {
    PaintData data;
    data.clipRect = clip;
    float top = base - m.ascent;
    float right = left + m.width;
    float bottom = top + m.height;
    const float xs[4] = {left, right, right, left};
    const float ys[4] = {top, top, bottom, bottom};
    // Each corner's colour is stored as one 16-byte block: colour effects read
    // it as one, and a read of a block that was written in parts waits for
    // the writes to reach the cache, which costs more than the effect.
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    for (int i = 0; i < 4; ++i) {
        data.vertex[i].x = xs[i];
        data.vertex[i].y = ys[i];
        data.vertex[i].z = z;
        std::memcpy(&data.vertex[i].red, white, sizeof white);
    }
    return charPaintFrom(&pipe, system, character, fontHandle_, position, data);
}

// The first line is painted even when it does not fit; later lines only
// while their base line stays above the bottom. Comparisons are written as
// "not below" so that a NaN from the host ends the text.
void Style::paintLines(System& system, Data& text, int index, Rectangle& area, Rectangle* clip,
                       EffectPipe& pipe, bool singleLine, float lineFeed) {
    const float right = area.x + area.width;
    const float bottom = area.y + area.height;
    const float height = lineHeight(system);
    float x = area.x;
    float base = area.y + height;
    for (int position = 0; position < INT_MAX; ++position) {
        int character = text.character(system, index, position);
        if (character == 0) return;
        if (singleLine && character == kCarriageReturn) continue;
        if (singleLine && character == kLineFeed) character = kSpace;
        if (character == kCarriageReturn) {
            x = area.x;
            continue;
        }
        if (character == kLineFeed) {
            base = base + lineFeed;
            if (!(base < bottom)) return;
            continue;
        }
        CharacterMetrics m = metrics(system, character);
        x = x + m.before;
        if (!paintGlyph(system, character, position, x, base, m, area.z, clip, pipe)) return;
        x = x + m.width + m.after;
        if (!(x < right)) {
            base = base + height;
            x = area.x;
            if (!(base < bottom)) return;
        }
    }
}

}  // namespace kova
}  // namespace tarn
