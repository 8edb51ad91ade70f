// Kova effects: objects that rewrite a paint record on its way to the host.
#pragma once

#include "kova/geometry.h"
#include "kova/runtime.h"

namespace tarn {
namespace kova {

// Base of all effects. Passing on means calling the pipe element after self;
// an effect that does not pass on suppresses the item.
class KOVA_API Effect : public Object {
    KOVA_RUNTIME_CLASS(Effect)
public:
    Effect() = default;

    virtual bool onUpdate(System& system, float elapsed);
    virtual bool charPaint(System& system, int character, int font, int index, PaintData& data,
                           EffectPipe& self);
    virtual bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self);

    static bool update(System& system, Effect* effect, float elapsed);
};

}  // namespace kova
}  // namespace tarn
