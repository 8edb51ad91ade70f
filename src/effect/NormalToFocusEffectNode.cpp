#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(NormalToFocusEffectNode, EffectNode)
KOVA_IMPLEMENT_CLASS(ExtendedNormalToFocusEffectNode, NormalToFocusEffectNode)

// Only the way up or down is shown: a region that has arrived at focused
// (level 2) looks normal again, and FocusEffectNode gives the settled look.
void NormalToFocusEffectNode::iteratePaint(System& system, Mode& mode, Rectangle& rect,
                                           Rectangle* clip, EffectPipe& pipe) {
    float level = mode.currentLevel();
    paintApplying(system, mode, rect, clip, pipe, between(level, 1.0f), level - 1.0f);
}

void ExtendedNormalToFocusEffectNode::iteratePaint(System& system, Mode& mode, Rectangle& rect,
                                                   Rectangle* clip, EffectPipe& pipe) {
    float level = mode.currentLevel();
    float strength = minValue_ + (maxValue_ - minValue_) * (level - 1.0f);
    paintApplying(system, mode, rect, clip, pipe, between(level, 1.0f), strength);
}

bool ExtendedNormalToFocusEffectNode::onStream(System& system, Stream& stream) {
    return NormalToFocusEffectNode::onStream(system, stream) &&
           stream.streamFloat(minValue_, "Min value") && stream.streamFloat(maxValue_, "Max value");
}

}  // namespace kova
}  // namespace tarn
