#include "EffectPass.h"
#include "kova/effect.h"
#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(SplitEffect, Effect)

namespace {

EffectPipe elementLike(const EffectPipe& self, EffectPipe* next, Effect* effect) {
    EffectPipe element = self;
    element.next = next;
    element.effect = effect;
    return element;
}

}  // namespace

// A split that reaches itself through shared named effects would recurse
// without end; the walk depth limit of the node tree bounds it too.
bool SplitEffect::onUpdate(System& system, float elapsed) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return true;
    return Effect::update(system, effect1_, elapsed) && Effect::update(system, effect2_, elapsed);
}

// The pipe skips elements without an effect, so a missing effect 1 or 2
// leaves just the other one, and with neither the record goes straight on.
bool SplitEffect::charPaint(System& system, int character, int font, int index, PaintData& data,
                            EffectPipe& self) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return charPaintFrom(self.next, system, character, font, index, data);
    EffectPipe inner = elementLike(self, self.next, effect1_);
    EffectPipe outer = elementLike(self, &inner, effect2_);
    return outer.charPaint(system, character, font, index, data);
}

bool SplitEffect::picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return picturePaintFrom(self.next, system, picture, data);
    EffectPipe inner = elementLike(self, self.next, effect1_);
    EffectPipe outer = elementLike(self, &inner, effect2_);
    return outer.picturePaint(system, picture, data);
}

bool SplitEffect::onStream(System& system, Stream& stream) {
    return Effect::onStream(system, stream) &&
           stream.streamEffect(system, effect1_, "Effect 1", nullptr) &&
           stream.streamEffect(system, effect2_, "Effect 2", nullptr);
}

}  // namespace kova
}  // namespace tarn
