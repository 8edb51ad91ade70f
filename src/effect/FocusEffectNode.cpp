#include "kova/node.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(FocusEffectNode, EffectNode)
KOVA_IMPLEMENT_CLASS(NotFocusEffectNode, EffectNode)

// The focus flag switches at once, so these looks do not fade; the level
// based nodes are there for that.
void FocusEffectNode::iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                                   EffectPipe& pipe) {
    paintApplying(system, mode, rect, clip, pipe, mode.hasFocus(), 1.0f);
}

void NotFocusEffectNode::iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                                      EffectPipe& pipe) {
    paintApplying(system, mode, rect, clip, pipe, !mode.hasFocus(), 1.0f);
}

}  // namespace kova
}  // namespace tarn
