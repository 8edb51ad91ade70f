#include "kova/node.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(TabstopManagerNode, Node)

// Direction buttons and Tab are taken whether or not a tab stop was found,
// except while the focus is locked.
bool TabstopManagerNode::onButtonPress(System& system, Rectangle& rect, Mode& mode, int button, int,
                                       int) {
    if (system.focusLockCount() > 0) return false;
    if (button != Button::Leftwards && button != Button::Upwards && button != Button::Rightwards &&
        button != Button::Downwards && button != Button::Tab) {
        return false;
    }
    // Leaving the scope moves the pointer; the index is told first.
    TabstopIterator search(system, system.pointerPosition(), button);
    search.iterate(system, next_, rect, mode);
    onIndexSet(system, search.bestIndex());
    return true;
}

void TabstopManagerNode::onIndexSet(System&, int) {}

// The pointer is placed directly: the host's pointer is not moved.
void TabstopManagerNode::restoreFocus(System& system, Rectangle& rect, Mode& mode, int index) {
    FindTabstopIndexCoordinateIterator search(system, index);
    search.iterate(system, next_, rect, mode);
    system.pointerPosition() = search.coordinate();
}

int TabstopManagerNode::focusedIndex(System& system, Rectangle& rect, Mode& mode) {
    FindTabstopCoordinateIndexIterator search(system.pointerPosition());
    search.iterate(system, next_, rect, mode);
    return search.index();
}

}  // namespace kova
}  // namespace tarn
