#include <cmath>

#include "EffectPass.h"
#include "EffectSupport.h"
#include "kova/data.h"
#include "kova/effect.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(MoveEffect, Effect)
KOVA_IMPLEMENT_CLASS(MoveNoClipEffect, MoveEffect)
KOVA_IMPLEMENT_CLASS(SinMoveEffect, MoveEffect)

namespace {

// Slightly less than a quarter turn, so a finished show keeps a residue of
// the length that no one can see.
const float easeQuarterTurn = 1.57075f;

}  // namespace

float MoveEffect::lengthValue(System& system) {
    return length_ ? length_->value(system) : 0.0f;
}

// Direction 0 displaces towards negative x, so the content comes in from the
// left as the level rises; pi/2 displaces it downwards.
Rectangle* MoveEffect::moveBy(System& system, float shift, PaintData& data, Rectangle& scratch,
                              bool moveClip) {
    float direction = direction_ ? direction_->value(system) : 0.0f;
    float dx = -std::cos(direction) * shift;
    float dy = std::sin(direction) * shift;
    for (Vertex& vertex : data.vertex) {
        vertex.x += dx;
        vertex.y += dy;
    }
    if (!moveClip || !data.clipRect) return data.clipRect;
    scratch = *data.clipRect;
    scratch.x += dx;
    scratch.y += dy;
    return &scratch;
}

bool MoveEffect::charPaint(System& system, int character, int font, int index, PaintData& data,
                           EffectPipe& self) {
    Rectangle scratch;
    float shift = lengthValue(system) * (1.0f - self.effectLevel);
    Rectangle* clip = moveBy(system, shift, data, scratch, true);
    return passOnClipped(
        data, clip, [&] { return charPaintFrom(self.next, system, character, font, index, data); });
}

bool MoveEffect::picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) {
    Rectangle scratch;
    float shift = lengthValue(system) * (1.0f - self.effectLevel);
    Rectangle* clip = moveBy(system, shift, data, scratch, true);
    return passOnClipped(data, clip,
                         [&] { return picturePaintFrom(self.next, system, picture, data); });
}

bool MoveEffect::onStream(System& system, Stream& stream) {
    return Effect::onStream(system, stream) &&
           stream.streamData(system, length_, "Move length", nullptr) &&
           stream.streamData(system, direction_, "Move direction", nullptr);
}

bool MoveNoClipEffect::charPaint(System& system, int character, int font, int index,
                                 PaintData& data, EffectPipe& self) {
    Rectangle scratch;
    moveBy(system, lengthValue(system) * (1.0f - self.effectLevel), data, scratch, false);
    return charPaintFrom(self.next, system, character, font, index, data);
}

bool MoveNoClipEffect::picturePaint(System& system, int picture, PaintData& data,
                                    EffectPipe& self) {
    Rectangle scratch;
    moveBy(system, lengthValue(system) * (1.0f - self.effectLevel), data, scratch, false);
    return picturePaintFrom(self.next, system, picture, data);
}

bool SinMoveEffect::charPaint(System& system, int character, int font, int index, PaintData& data,
                              EffectPipe& self) {
    Rectangle scratch;
    float shift = lengthValue(system) * (1.0f - std::sin(self.effectLevel * easeQuarterTurn));
    Rectangle* clip = moveBy(system, shift, data, scratch, true);
    return passOnClipped(
        data, clip, [&] { return charPaintFrom(self.next, system, character, font, index, data); });
}

bool SinMoveEffect::picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) {
    Rectangle scratch;
    float shift = lengthValue(system) * (1.0f - std::sin(self.effectLevel * easeQuarterTurn));
    Rectangle* clip = moveBy(system, shift, data, scratch, true);
    return passOnClipped(data, clip,
                         [&] { return picturePaintFrom(self.next, system, picture, data); });
}

}  // namespace kova
}  // namespace tarn
