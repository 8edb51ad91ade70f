#include "EffectPass.h"
#include "kova/effect.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(VertexColorEffect, Effect)
KOVA_IMPLEMENT_CLASS(MultiplyVertexColorEffect, VertexColorEffect)

namespace {

const char* const cornerLabels[VertexColorEffect::CornerCount][4] = {
    {"Top left red", "Top left green", "Top left blue", "Top left alpha"},
    {"Top right red", "Top right green", "Top right blue", "Top right alpha"},
    {"Bottom right red", "Bottom right green", "Bottom right blue", "Bottom right alpha"},
    {"Bottom left red", "Bottom left green", "Bottom left blue", "Bottom left alpha"},
};

// Vertex i is corner i: both run top left, top right, bottom right, bottom
// left.
void setCorners(PaintData& data, const Color* corners) {
    for (int i = 0; i < VertexColorEffect::CornerCount; ++i) {
        data.vertex[i].red = corners[i].red;
        data.vertex[i].green = corners[i].green;
        data.vertex[i].blue = corners[i].blue;
        data.vertex[i].alpha = corners[i].alpha;
    }
}

void multiplyCorners(PaintData& data, const Color* corners) {
    for (int i = 0; i < VertexColorEffect::CornerCount; ++i) {
        data.vertex[i].red *= corners[i].red;
        data.vertex[i].green *= corners[i].green;
        data.vertex[i].blue *= corners[i].blue;
        data.vertex[i].alpha *= corners[i].alpha;
    }
}

}  // namespace

Color& VertexColorEffect::corner(int index) {
    if (index < 0 || index >= CornerCount) index = BottomLeft;
    return corner_[index];
}

bool VertexColorEffect::charPaint(System& system, int character, int font, int index,
                                  PaintData& data, EffectPipe& self) {
    setCorners(data, corner_);
    return charPaintFrom(self.next, system, character, font, index, data);
}

bool VertexColorEffect::picturePaint(System& system, int picture, PaintData& data,
                                     EffectPipe& self) {
    setCorners(data, corner_);
    return picturePaintFrom(self.next, system, picture, data);
}

bool VertexColorEffect::onStream(System& system, Stream& stream) {
    if (!Effect::onStream(system, stream)) return false;
    for (int i = 0; i < CornerCount; ++i) {
        Color& c = corner_[i];
        if (!stream.streamFloat(c.red, cornerLabels[i][0]) ||
            !stream.streamFloat(c.green, cornerLabels[i][1]) ||
            !stream.streamFloat(c.blue, cornerLabels[i][2]) ||
            !stream.streamFloat(c.alpha, cornerLabels[i][3]))
            return false;
    }
    return true;
}

bool MultiplyVertexColorEffect::charPaint(System& system, int character, int font, int index,
                                          PaintData& data, EffectPipe& self) {
    multiplyCorners(data, corner_);
    return charPaintFrom(self.next, system, character, font, index, data);
}

bool MultiplyVertexColorEffect::picturePaint(System& system, int picture, PaintData& data,
                                             EffectPipe& self) {
    multiplyCorners(data, corner_);
    return picturePaintFrom(self.next, system, picture, data);
}

}  // namespace kova
}  // namespace tarn
