#include "EffectPass.h"
#include "kova/effect.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(AlphaFadeEffect, Effect)

namespace {

void fade(PaintData& data, float level) {
    for (Vertex& vertex : data.vertex)
        vertex.alpha *= level;
}

}  // namespace

bool AlphaFadeEffect::charPaint(System& system, int character, int font, int index, PaintData& data,
                                EffectPipe& self) {
    fade(data, self.effectLevel);
    return charPaintFrom(self.next, system, character, font, index, data);
}

bool AlphaFadeEffect::picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) {
    fade(data, self.effectLevel);
    return picturePaintFrom(self.next, system, picture, data);
}

}  // namespace kova
}  // namespace tarn
