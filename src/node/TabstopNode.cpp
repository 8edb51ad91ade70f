#include "kova/data.h"
#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(TabstopNode, Node)
KOVA_IMPLEMENT_CLASS(VariableTabstopNode, TabstopNode)

bool TabstopNode::isEnabled(System&) {
    return true;
}

// The area is kept for readers only; the searches take the rectangle their
// own walk hands the node.
bool TabstopNode::onUpdate(System&, Mode&, Rectangle& rect, float) {
    area_ = rect;
    return true;
}

bool TabstopNode::isTabstop(Node* node) {
    return node && node->actualClass()->is(TabstopNode::absoluteClass());
}

Coordinate2 TabstopNode::centre(const Rectangle& rect) {
    Coordinate2 c;
    c.x = rect.x + rect.width * 0.5f;
    c.y = rect.y + rect.height * 0.5f;
    return c;
}

// Exactly 0 disables; any other value, also a tiny or negative one, enables.
bool VariableTabstopNode::isEnabled(System& system) {
    return variable_ && variable_->value(system) != 0.0f;
}

bool VariableTabstopNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) &&
           stream.streamData(system, variable_, "Variable", nullptr);
}

}  // namespace kova
}  // namespace tarn
