#include "EffectPass.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(Effect, Object)

bool Effect::onUpdate(System&, float) {
    return true;
}

bool Effect::charPaint(System& system, int character, int font, int index, PaintData& data,
                       EffectPipe& self) {
    return charPaintFrom(self.next, system, character, font, index, data);
}

bool Effect::picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) {
    return picturePaintFrom(self.next, system, picture, data);
}

bool Effect::update(System& system, Effect* effect, float elapsed) {
    return effect ? effect->onUpdate(system, elapsed) : true;
}

}  // namespace kova
}  // namespace tarn
