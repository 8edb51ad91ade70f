#include "kova/effect.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

// The first element with an effect handles the item; its effect passes it on
// outwards. Without any effect the host draws the record as it is.
bool EffectPipe::charPaint(System& system, int character, int font, int index, PaintData& data) {
    for (EffectPipe* element = this; element; element = element->next) {
        if (element->effect) {
            return element->effect->charPaint(system, character, font, index, data, *element);
        }
    }
    return system.charPaint(character, font, data);
}

bool EffectPipe::picturePaint(System& system, int picture, PaintData& data) {
    for (EffectPipe* element = this; element; element = element->next) {
        if (element->effect) return element->effect->picturePaint(system, picture, data, *element);
    }
    return system.picturePaint(picture, data);
}

}  // namespace kova
}  // namespace tarn
