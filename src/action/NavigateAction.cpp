#include "kova/action.h"
#include "kova/container.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(NavigateAction, Action)
KOVA_IMPLEMENT_CLASS(NavigateNextSiblingAction, NavigateAction)
KOVA_IMPLEMENT_CLASS(NavigatePreviousSiblingAction, NavigateAction)
KOVA_IMPLEMENT_CLASS(NavigateParentAction, NavigateAction)
KOVA_IMPLEMENT_CLASS(NavigateChildAction, NavigateAction)
KOVA_IMPLEMENT_CLASS(NavigateFirstSiblingAction, NavigateAction)
KOVA_IMPLEMENT_CLASS(NavigateLastSiblingAction, NavigateAction)
KOVA_IMPLEMENT_CLASS(NavigateSiblingIndexAction, NavigateAction)
KOVA_IMPLEMENT_CLASS(NavigateRunAction, NavigateAction)
KOVA_IMPLEMENT_CLASS(NavigateRunAndChildAction, NavigateAction)
KOVA_IMPLEMENT_CLASS(NavigateChildAndRunAction, NavigateAction)
KOVA_IMPLEMENT_CLASS(NavigateParentAndRunAction, NavigateAction)

// A file may put any tree class in the slot; only a navigate tree has a
// cursor to move.
NavigateTree* NavigateAction::navigateTree() {
    if (!actionTree_ || !actionTree_->actualClass()->is(NavigateTree::absoluteClass()))
        return nullptr;
    return static_cast<NavigateTree*>(actionTree_);
}

bool NavigateAction::onStream(System& system, Stream& stream) {
    return Action::onStream(system, stream) &&
           stream.streamTree(system, actionTree_, "Action tree", nullptr);
}

// Every variant reports false: moving through a tree never consumes the
// event, and the result of a run item's action is not passed on.

bool NavigateNextSiblingAction::onEvent(System&, Rectangle&, Mode&, EventData&) {
    if (NavigateTree* tree = navigateTree()) tree->moveFocusNext();
    return false;
}

bool NavigatePreviousSiblingAction::onEvent(System&, Rectangle&, Mode&, EventData&) {
    if (NavigateTree* tree = navigateTree()) tree->moveFocusPrevious();
    return false;
}

bool NavigateParentAction::onEvent(System&, Rectangle&, Mode&, EventData&) {
    if (NavigateTree* tree = navigateTree()) tree->moveFocusOut();
    return false;
}

bool NavigateChildAction::onEvent(System&, Rectangle&, Mode&, EventData&) {
    if (NavigateTree* tree = navigateTree()) tree->moveFocusIn();
    return false;
}

bool NavigateFirstSiblingAction::onEvent(System&, Rectangle&, Mode&, EventData&) {
    if (NavigateTree* tree = navigateTree()) tree->moveFocusFirst();
    return false;
}

bool NavigateLastSiblingAction::onEvent(System&, Rectangle&, Mode&, EventData&) {
    if (NavigateTree* tree = navigateTree()) tree->moveFocusLast();
    return false;
}

bool NavigateSiblingIndexAction::onEvent(System&, Rectangle&, Mode&, EventData&) {
    if (NavigateTree* tree = navigateTree()) tree->moveFocusIndex(index_);
    return false;
}

bool NavigateSiblingIndexAction::onStream(System& system, Stream& stream) {
    return NavigateAction::onStream(system, stream) && stream.streamInt(index_, "Index");
}

bool NavigateRunAction::onEvent(System& system, Rectangle& rect, Mode& mode, EventData&) {
    if (NavigateTree* tree = navigateTree()) tree->callFocusAction(system, rect, mode);
    return false;
}

// The item's action runs even when the cursor cannot move into the item.
bool NavigateRunAndChildAction::onEvent(System& system, Rectangle& rect, Mode& mode, EventData&) {
    if (NavigateTree* tree = navigateTree()) {
        tree->callFocusAction(system, rect, mode);
        tree->moveFocusIn();
    }
    return false;
}

bool NavigateChildAndRunAction::onEvent(System& system, Rectangle& rect, Mode& mode, EventData&) {
    NavigateTree* tree = navigateTree();
    if (tree && tree->moveFocusIn()) tree->callFocusAction(system, rect, mode);
    return false;
}

bool NavigateParentAndRunAction::onEvent(System& system, Rectangle& rect, Mode& mode, EventData&) {
    NavigateTree* tree = navigateTree();
    if (tree && tree->moveFocusOut()) tree->callFocusAction(system, rect, mode);
    return false;
}

}  // namespace kova
}  // namespace tarn
