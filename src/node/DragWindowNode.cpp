#include "kova/node.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(DragWindowNode, WindowNode)

// Select grabs the window where the pointer is; the drag state is not kept in
// files, so a loaded window never starts out dragging.
bool DragWindowNode::onButtonPress(System& system, Rectangle&, Mode&, int button, int, int) {
    if (button != Button::Select) return false;
    lastPointer_ = system.pointerPosition();
    dragging_ = true;
    return true;
}

bool DragWindowNode::onButtonRelease(System&, Rectangle&, Mode&, int button, int) {
    if (button != Button::Select) return false;
    dragging_ = false;
    return true;
}

// The window moves by as much as the pointer did since it was last seen.
bool DragWindowNode::onPointerMove(System& system, Rectangle&, Mode&) {
    if (!dragging_) return false;
    Coordinate2& at = system.pointerPosition();
    position().x += at.x - lastPointer_.x;
    position().y += at.y - lastPointer_.y;
    lastPointer_ = at;
    return true;
}

// A pointer that leaves the window while Select is held still drags it.
bool DragWindowNode::onPointerMoveOutside(System& system, Rectangle& rect, Mode& mode) {
    return onPointerMove(system, rect, mode);
}

}  // namespace kova
}  // namespace tarn
