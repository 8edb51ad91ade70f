#include "LayoutSupport.h"
#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(TransformNode, Node)

// Slot 1 is the transformed node; every other index names the next node.
Node*& TransformNode::nextNode(int index) {
    return index == 1 ? transformed_ : next_;
}

void TransformNode::setNextNode(int index, Node* node) {
    (index == 1 ? transformed_ : next_) = node;
}

// The position is relative to the received area's top left corner and the
// size replaces the received one; the depth is kept.
Rectangle TransformNode::childArea(const Rectangle& rect) const {
    return Rectangle{rect.x + position_.x, rect.y + position_.y, size_.x, size_.y, rect.z};
}

void TransformNode::iterateIterator(System& system, Mode& mode, Rectangle& rect,
                                    Iterator& iterator) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    Rectangle child = childArea(rect);
    iterator.iterateChild(system, transformed_, child, ownMode_);
    iterator.iterateNext(system, next_, rect, mode);
}

// The node's own look fills the child area under the received mode; a
// transform places but never clips.
void TransformNode::iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                                 EffectPipe& pipe) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    Rectangle child = childArea(rect);
    onPaint(system, mode, child, clip, pipe);
    if (transformed_) {
        EffectPipe element = ownModeElement(system, pipe, ownMode_, this);
        transformed_->iteratePaint(system, ownMode_, child, clip, pipe.effect ? element : pipe);
    }
    if (next_) next_->iteratePaint(system, mode, rect, clip, pipe);
}

// The node is its own speed node; the rate reads no node state.
bool TransformNode::iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return true;  // the part beyond the limit is left alone
    Rectangle child = childArea(rect);
    bool inside = mode.isInside() && pointerWithin(system, child);
    bool enabled = mode.targetLevel() >= 1.0f;
    ownMode_.update(system, this, transformed_, child, elapsed, inside, enabled);
    if (transformed_ && !transformed_->iterateUpdate(system, ownMode_, child, elapsed)) {
        return false;
    }
    return Node::iterateUpdate(system, mode, rect, elapsed);
}

bool TransformNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) && position_.stream(stream, "X", "Y") &&
           size_.stream(stream, "Width", "Height") &&
           stream.streamChildNode(system, transformed_, "Transformed node", nullptr);
}

}  // namespace kova
}  // namespace tarn
