#include "LayoutSupport.h"
#include "kova/data.h"
#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(StickyNode, Node)

namespace {
const float StickyLevel = 4.0f;
}

bool StickyNode::dataEqualsValue(System& system) {
    return variable_ && data_ && variable_->value(system) == data_->value(system);
}

// Kept for hosts and tools that want to know how a screen was loaded; the
// node's own behaviour never reads it.
bool StickyNode::onLoad(System& system, IStream& stream) {
    if (!Node::onLoad(system, stream)) return false;
    equalAtLoad_ = dataEqualsValue(system);
    return true;
}

// Like the disable node, the node is its own speed node and its mode governs
// the next chain; the pointer is inside where the received mode says so.
bool StickyNode::iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return true;  // the part beyond the limit is left alone
    bool inside = mode.isInside();
    bool enabled = mode.targetLevel() >= 1.0f;
    if (dataEqualsValue(system))
        ownMode_.update(system, this, next_, rect, elapsed, inside, enabled, StickyLevel);
    else
        ownMode_.update(system, this, next_, rect, elapsed, inside, enabled);
    return Node::iterateUpdate(system, ownMode_, rect, elapsed);
}

void StickyNode::iteratePaint(System& system, Mode&, Rectangle& rect, Rectangle* clip,
                              EffectPipe& pipe) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    EffectPipe element = ownModeElement(system, pipe, ownMode_, this);
    Node::iteratePaint(system, ownMode_, rect, clip, pipe.effect ? element : pipe);
}

void StickyNode::iterateIterator(System& system, Mode&, Rectangle& rect, Iterator& iterator) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    iterator.iterateNext(system, next_, rect, ownMode_);
}

bool StickyNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) &&
           stream.streamData(system, variable_, "Variable", nullptr) &&
           stream.streamData(system, data_, "Data", nullptr);
}

}  // namespace kova
}  // namespace tarn
