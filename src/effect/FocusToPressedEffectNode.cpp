#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(FocusToPressedEffectNode, EffectNode)
KOVA_IMPLEMENT_CLASS(ExtendedFocusToPressedEffectNode, FocusToPressedEffectNode)

// Only the way between focused and pressed is shown; a region held at the
// pressed level (3) looks as it does when focused.
void FocusToPressedEffectNode::iteratePaint(System& system, Mode& mode, Rectangle& rect,
                                            Rectangle* clip, EffectPipe& pipe) {
    float level = mode.currentLevel();
    paintApplying(system, mode, rect, clip, pipe, between(level, 2.0f), level - 2.0f);
}

void ExtendedFocusToPressedEffectNode::iteratePaint(System& system, Mode& mode, Rectangle& rect,
                                                    Rectangle* clip, EffectPipe& pipe) {
    float level = mode.currentLevel();
    float strength = minValue_ + (maxValue_ - minValue_) * (level - 2.0f);
    paintApplying(system, mode, rect, clip, pipe, between(level, 2.0f), strength);
}

bool ExtendedFocusToPressedEffectNode::onStream(System& system, Stream& stream) {
    return FocusToPressedEffectNode::onStream(system, stream) &&
           stream.streamFloat(minValue_, "Min value") && stream.streamFloat(maxValue_, "Max value");
}

}  // namespace kova
}  // namespace tarn
