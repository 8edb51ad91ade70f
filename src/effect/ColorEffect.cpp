#include "EffectPass.h"
#include "kova/effect.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(ColorEffect, Effect)
KOVA_IMPLEMENT_CLASS(MultiplyColorEffect, ColorEffect)

namespace {

void setColor(PaintData& data, const Color& color) {
    for (Vertex& vertex : data.vertex) {
        vertex.red = color.red;
        vertex.green = color.green;
        vertex.blue = color.blue;
        vertex.alpha = color.alpha;
    }
}

void multiplyColor(PaintData& data, const Color& color) {
    for (Vertex& vertex : data.vertex) {
        vertex.red *= color.red;
        vertex.green *= color.green;
        vertex.blue *= color.blue;
        vertex.alpha *= color.alpha;
    }
}

}  // namespace

ColorEffect::ColorEffect(float red, float green, float blue, float alpha) {
    color_.red = red;
    color_.green = green;
    color_.blue = blue;
    color_.alpha = alpha;
}

bool ColorEffect::charPaint(System& system, int character, int font, int index, PaintData& data,
                            EffectPipe& self) {
    setColor(data, color_);
    return charPaintFrom(self.next, system, character, font, index, data);
}

bool ColorEffect::picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) {
    setColor(data, color_);
    return picturePaintFrom(self.next, system, picture, data);
}

bool ColorEffect::onStream(System& system, Stream& stream) {
    return Effect::onStream(system, stream) && color_.stream(stream);
}

bool MultiplyColorEffect::charPaint(System& system, int character, int font, int index,
                                    PaintData& data, EffectPipe& self) {
    multiplyColor(data, color_);
    return charPaintFrom(self.next, system, character, font, index, data);
}

bool MultiplyColorEffect::picturePaint(System& system, int picture, PaintData& data,
                                       EffectPipe& self) {
    multiplyColor(data, color_);
    return picturePaintFrom(self.next, system, picture, data);
}

}  // namespace kova
}  // namespace tarn
