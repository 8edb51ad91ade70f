#include <cmath>

#include "EffectPass.h"
#include "EffectSupport.h"
#include "kova/effect.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(ClipEffect, Effect)
KOVA_IMPLEMENT_CLASS(MoveClipEffect, ClipEffect)

// When the two rectangles do not overlap, the effect's own rectangle is used
// unchanged rather than nothing.
Rectangle ClipEffect::clippedTo(const Rectangle& own, const PaintData& data) {
    Rectangle clip = own;
    if (data.clipRect) clip.clipTo(*data.clipRect);
    return clip;
}

bool ClipEffect::charPaint(System& system, int character, int font, int index, PaintData& data,
                           EffectPipe& self) {
    Rectangle clip = clippedTo(clip_, data);
    return passOnClipped(data, &clip, [&] {
        return charPaintFrom(self.next, system, character, font, index, data);
    });
}

bool ClipEffect::picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) {
    Rectangle clip = clippedTo(clip_, data);
    return passOnClipped(data, &clip,
                         [&] { return picturePaintFrom(self.next, system, picture, data); });
}

bool ClipEffect::onStream(System& system, Stream& stream) {
    return Effect::onStream(system, stream) && clip_.stream(stream);
}

// At level 1 the clip stands where it was defined; at 0 it is length away.
Rectangle MoveClipEffect::placed(const PaintData& data, float level) const {
    float shift = (1.0f - level) * length_;
    Rectangle own = clip_;
    own.x = clip_.x - std::cos(direction_) * shift;
    own.y = clip_.y + std::sin(direction_) * shift;
    return clippedTo(own, data);
}

bool MoveClipEffect::charPaint(System& system, int character, int font, int index, PaintData& data,
                               EffectPipe& self) {
    Rectangle clip = placed(data, self.effectLevel);
    return passOnClipped(data, &clip, [&] {
        return charPaintFrom(self.next, system, character, font, index, data);
    });
}

bool MoveClipEffect::picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) {
    Rectangle clip = placed(data, self.effectLevel);
    return passOnClipped(data, &clip,
                         [&] { return picturePaintFrom(self.next, system, picture, data); });
}

bool MoveClipEffect::onStream(System& system, Stream& stream) {
    return ClipEffect::onStream(system, stream) && stream.streamFloat(length_, "Move length") &&
           stream.streamFloat(direction_, "Move direction");
}

}  // namespace kova
}  // namespace tarn
