#include "kova/node.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(ClipNode, Node)

// The chain is painted inside the node's area and the clip it received. An
// area wholly outside the received clip cannot narrow it, and the received
// clip stays in force.
void ClipNode::iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                            EffectPipe& pipe) {
    NodeWalkScope scope(system);
    if (scope.tooDeep() || !next_) return;
    Rectangle narrowed = clip ? *clip : rect;
    if (clip) narrowed.clipTo(rect);
    next_->iteratePaint(system, mode, rect, &narrowed, pipe);
}

}  // namespace kova
}  // namespace tarn
