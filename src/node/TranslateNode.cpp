#include "LayoutSupport.h"
#include "kova/data.h"
#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(TranslateNode, Node)

// A missing variable moves nothing along its axis.
Rectangle TranslateNode::moved(System& system, const Rectangle& rect) {
    Rectangle area = rect;
    if (x_) area.x += x_->value(system);
    if (y_) area.y += y_->value(system);
    return area;
}

void TranslateNode::iterateIterator(System& system, Mode&, Rectangle& rect, Iterator& iterator) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    Rectangle area = moved(system, rect);
    iterator.iterateNext(system, next_, area, ownMode_);
}

void TranslateNode::iteratePaint(System& system, Mode&, Rectangle& rect, Rectangle* clip,
                                 EffectPipe& pipe) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    Rectangle area = moved(system, rect);
    EffectPipe element = ownModeElement(system, pipe, ownMode_, this);
    Node::iteratePaint(system, ownMode_, area, clip, pipe.effect ? element : pipe);
}

// The pointer is tested against the area where the node stands before it is
// moved, so a displacement that slides the region away from the pointer does
// not take the focus from it. The node itself is the first node its mode
// governs: it and its chain are walked under that mode. The node is its own
// speed node; the rate reads no node state.
bool TranslateNode::iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return true;  // the part beyond the limit is left alone
    Rectangle area = moved(system, rect);
    bool inside = mode.isInside() && pointerWithin(system, rect);
    bool enabled = mode.targetLevel() >= 1.0f;
    ownMode_.update(system, this, this, area, elapsed, inside, enabled);
    return Node::iterateUpdate(system, ownMode_, area, elapsed);
}

bool TranslateNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) && stream.streamData(system, x_, "X", nullptr) &&
           stream.streamData(system, y_, "Y", nullptr);
}

}  // namespace kova
}  // namespace tarn
