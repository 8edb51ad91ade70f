#include "LayoutSupport.h"
#include "kova/data.h"
#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(DisableNode, Node)

// No variable never disables; a variable of 0 does.
void DisableNode::recomputeEnabled(System& system) {
    enabled_ = !disableData_ || disableData_->value(system) != 0.0f;
}

bool DisableNode::onLoad(System& system, IStream& stream) {
    if (!Node::onLoad(system, stream)) return false;
    recomputeEnabled(system);
    return true;
}

// The node is its own speed node (the rate reads no node state) and its
// mode governs the next chain. The pointer counts as inside wherever the
// received mode says so: the node has no area of its own.
bool DisableNode::iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return true;  // the part beyond the limit is left alone
    recomputeEnabled(system);
    bool enabled = enabled_ && mode.targetLevel() >= 1.0f;
    ownMode_.update(system, this, next_, rect, elapsed, mode.isInside(), enabled);
    return Node::iterateUpdate(system, ownMode_, rect, elapsed);
}

void DisableNode::iteratePaint(System& system, Mode&, Rectangle& rect, Rectangle* clip,
                               EffectPipe& pipe) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    EffectPipe element = ownModeElement(system, pipe, ownMode_, this);
    Node::iteratePaint(system, ownMode_, rect, clip, pipe.effect ? element : pipe);
}

// A disabled chain cannot take the focus, so the focused and hidden searches
// (tab stops among them) do not find it; a walk over everything still does.
void DisableNode::iterateIterator(System& system, Mode&, Rectangle& rect, Iterator& iterator) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    if (enabled_ || iterator.searchMode() == Iterator::SearchAll)
        iterator.iterateNext(system, next_, rect, ownMode_);
}

bool DisableNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) &&
           stream.streamData(system, disableData_, "Disable data", nullptr);
}

}  // namespace kova
}  // namespace tarn
