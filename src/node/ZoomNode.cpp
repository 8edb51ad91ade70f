#include "kova/data.h"
#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(ZoomNode, Node)

// The zoom node only deepens its chain; it has no look or update of its own.
Rectangle ZoomNode::zoomed(System& system, const Rectangle& rect) {
    Rectangle deeper = rect;
    if (z_) deeper.z += z_->value(system);
    return deeper;
}

void ZoomNode::iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) {
    NodeWalkScope scope(system);
    if (scope.tooDeep() || !next_) return;
    Rectangle deeper = zoomed(system, rect);
    iterator.iterateNext(system, next_, deeper, mode);
}

void ZoomNode::iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                            EffectPipe& pipe) {
    NodeWalkScope scope(system);
    if (scope.tooDeep() || !next_) return;
    Rectangle deeper = zoomed(system, rect);
    next_->iteratePaint(system, mode, deeper, clip, pipe);
}

bool ZoomNode::iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    NodeWalkScope scope(system);
    if (scope.tooDeep() || !next_) return true;
    Rectangle deeper = zoomed(system, rect);
    return next_->iterateUpdate(system, mode, deeper, elapsed);
}

bool ZoomNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) && stream.streamData(system, z_, "Z", nullptr);
}

}  // namespace kova
}  // namespace tarn
