#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(SplitNode, Node)

// Slot 1 is the split node; every other index names the ordinary next node.
Node*& SplitNode::nextNode(int index) {
    return index == 1 ? split_ : next_;
}

void SplitNode::setNextNode(int index, Node* node) {
    (index == 1 ? split_ : next_) = node;
}

// The split branch comes first everywhere, so the node's own chain is painted
// above it.
void SplitNode::iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    iterator.iterateChild(system, split_, rect, mode);
    iterator.iterateNext(system, next_, rect, mode);
}

void SplitNode::iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                             EffectPipe& pipe) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    if (split_) split_->iteratePaint(system, mode, rect, clip, pipe);
    Node::iteratePaint(system, mode, rect, clip, pipe);
}

bool SplitNode::iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return true;  // the part beyond the limit is left alone
    if (split_ && !split_->iterateUpdate(system, mode, rect, elapsed)) return false;
    return Node::iterateUpdate(system, mode, rect, elapsed);
}

bool SplitNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) &&
           stream.streamChildNode(system, split_, "Split node", nullptr);
}

}  // namespace kova
}  // namespace tarn
