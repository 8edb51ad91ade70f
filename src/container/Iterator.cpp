#include "kova/container.h"

#include "kova/node.h"

namespace tarn {
namespace kova {

void Iterator::iterate(System& system, Node*& node, Rectangle& rect, Mode& mode) {
    iterateNext(system, node, rect, mode);
}

void Iterator::iterateNext(System&, Node*&, Rectangle&, Mode&) {}

void Iterator::iterateChild(System& system, Node*& node, Rectangle& rect, Mode& mode) {
    iterate(system, node, rect, mode);
}

bool Iterator::sendEvent(System& system, Node* node, Rectangle& rect, Mode& mode, EventData& data) {
    return node->onEvent(system, rect, mode, data);
}

}  // namespace kova
}  // namespace tarn
