// How an item travels the effect pipe, inline: every glyph and picture of a
// frame goes this way once per effect, so the hand-off costs no call of its
// own. Not part of the public interface.
#pragma once

#include "kova/effect.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

// The first element from `element` outwards that has an effect handles the
// item; past the last one the host draws the record as it is.
inline bool charPaintFrom(EffectPipe* element, System& system, int character, int font, int index,
                          PaintData& data) {
    for (; element; element = element->next) {
        if (element->effect)
            return element->effect->charPaint(system, character, font, index, data, *element);
    }
    return system.charPaint(character, font, data);
}

inline bool picturePaintFrom(EffectPipe* element, System& system, int picture, PaintData& data) {
    for (; element; element = element->next) {
        if (element->effect) return element->effect->picturePaint(system, picture, data, *element);
    }
    return system.picturePaint(picture, data);
}

}  // namespace kova
}  // namespace tarn
