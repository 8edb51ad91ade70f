#include "kova/effect.h"

#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(Effect, Object)

bool Effect::onUpdate(System&, float) {
    return true;
}

bool Effect::charPaint(System& system, int character, int font, int index, PaintData& data,
                       EffectPipe& self) {
    if (!self.next) return system.charPaint(character, font, data);
    return self.next->charPaint(system, character, font, index, data);
}

bool Effect::picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) {
    if (!self.next) return system.picturePaint(picture, data);
    return self.next->picturePaint(system, picture, data);
}

bool Effect::update(System& system, Effect* effect, float elapsed) {
    return effect ? effect->onUpdate(system, elapsed) : true;
}

}  // namespace kova
}  // namespace tarn
