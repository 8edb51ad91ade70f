#include "EffectPass.h"
#include "kova/effect.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(BlendFuncEffect, Effect)

int BlendFuncEffect::nextBlendFuncIndex(int index) {
    return PaintData::blendFuncName(index) ? index + 1 : 0;
}

bool BlendFuncEffect::charPaint(System& system, int character, int font, int index, PaintData& data,
                                EffectPipe& self) {
    data.sourceBlendFunc = source_;
    data.destinationBlendFunc = destination_;
    return charPaintFrom(self.next, system, character, font, index, data);
}

bool BlendFuncEffect::picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) {
    data.sourceBlendFunc = source_;
    data.destinationBlendFunc = destination_;
    return picturePaintFrom(self.next, system, picture, data);
}

bool BlendFuncEffect::onStream(System& system, Stream& stream) {
    return Effect::onStream(system, stream) &&
           stream.streamIndex(source_, &BlendFuncEffect::nextBlendFuncIndex,
                              &PaintData::blendFuncName, "Source blend func") &&
           stream.streamIndex(destination_, &BlendFuncEffect::nextBlendFuncIndex,
                              &PaintData::blendFuncName, "Destination blend func");
}

}  // namespace kova
}  // namespace tarn
