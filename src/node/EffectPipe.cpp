#include "../effect/EffectPass.h"

namespace tarn {
namespace kova {

// The first element with an effect handles the item; its effect passes it on
// outwards. Without any effect the host draws the record as it is.
bool EffectPipe::charPaint(System& system, int character, int font, int index, PaintData& data) {
    return charPaintFrom(this, system, character, font, index, data);
}

bool EffectPipe::picturePaint(System& system, int picture, PaintData& data) {
    return picturePaintFrom(this, system, picture, data);
}

}  // namespace kova
}  // namespace tarn
