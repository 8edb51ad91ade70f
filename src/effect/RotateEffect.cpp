#include "EffectPass.h"
#include "kova/data.h"
#include "kova/effect.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(RotateEffect, Effect)
KOVA_IMPLEMENT_CLASS(RotateAroundCoordinateEffect, RotateEffect)

namespace {

float valueOf(System& system, Data* data) {
    return data ? data->value(system) : 0.0f;
}

}  // namespace

float RotateEffect::angleAt(System& system, float level) {
    return valueOf(system, startAngle_) + level * valueOf(system, angleMultiplier_);
}

void RotateEffect::rotate(System& system, PaintData& data, float level) {
    Coordinate3 average;
    data.averageCoordinate(average);
    Coordinate2 centre{average.x, average.y};
    data.rotateZ(centre, angleAt(system, level));
}

bool RotateEffect::charPaint(System& system, int character, int font, int index, PaintData& data,
                             EffectPipe& self) {
    rotate(system, data, self.effectLevel);
    return charPaintFrom(self.next, system, character, font, index, data);
}

bool RotateEffect::picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) {
    rotate(system, data, self.effectLevel);
    return picturePaintFrom(self.next, system, picture, data);
}

bool RotateEffect::onStream(System& system, Stream& stream) {
    return Effect::onStream(system, stream) &&
           stream.streamData(system, startAngle_, "Start angle", nullptr) &&
           stream.streamData(system, angleMultiplier_, "Angle multiplyer", nullptr);
}

void RotateAroundCoordinateEffect::rotateAbout(System& system, PaintData& data, float level) {
    Coordinate2 centre{valueOf(system, x_), valueOf(system, y_)};
    data.rotateZ(centre, angleAt(system, level));
}

bool RotateAroundCoordinateEffect::charPaint(System& system, int character, int font, int index,
                                             PaintData& data, EffectPipe& self) {
    rotateAbout(system, data, self.effectLevel);
    return charPaintFrom(self.next, system, character, font, index, data);
}

bool RotateAroundCoordinateEffect::picturePaint(System& system, int picture, PaintData& data,
                                                EffectPipe& self) {
    rotateAbout(system, data, self.effectLevel);
    return picturePaintFrom(self.next, system, picture, data);
}

bool RotateAroundCoordinateEffect::onStream(System& system, Stream& stream) {
    return RotateEffect::onStream(system, stream) && stream.streamData(system, x_, "X", nullptr) &&
           stream.streamData(system, y_, "Y", nullptr);
}

}  // namespace kova
}  // namespace tarn
