#include "kova/action.h"
#include "kova/container.h"
#include "kova/data.h"
#include "kova/event.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(NavigateTree, Tree)

bool NavigateTree::onLoad(System& system, IStream& stream) {
    if (!Tree::onLoad(system, stream)) return false;
    cursor_ = rootItem();
    return true;
}

TreeObject* NavigateTree::createTreeObject(System& system, TreeObject* parent, TreeObject* previous,
                                           TreeObject* next, TreeObject* child) {
    void* memory = Memory::operator new(sizeof(NavigateTreeObject));
    if (!memory) return nullptr;
    return adoptItem(system, new (memory) NavigateTreeObject(parent, previous, next, child));
}

// Items are deleted after their children, so a cursor inside a deleted
// subtree climbs out of it item by item.
void NavigateTree::deleteTreeObject(System& system, TreeObject*& item) {
    if (item && item == cursor_) cursor_ = item->parent();
    Tree::deleteTreeObject(system, item);
}

// Every item of this tree is made by createTreeObject above.
NavigateTreeObject* NavigateTree::navigateTreeObject(int handle) {
    return static_cast<NavigateTreeObject*>(treeObject(handle));
}

int NavigateTree::copyDescription(System& system, int handle, char* buffer, int size) {
    if (buffer && size > 0) buffer[0] = 0;
    NavigateTreeObject* item = navigateTreeObject(handle);
    if (!item || !item->description()) return 0;
    return item->description()->stringCopy(system, buffer, size);
}

// ---- Navigation ----------------------------------------------------------------

bool NavigateTree::moveFocusOut() {
    TreeObject* at = cursor();
    if (!at || !at->parent()) return false;
    cursor_ = at->parent();
    return true;
}

bool NavigateTree::moveFocusIn() {
    TreeObject* at = cursor();
    if (!at || !at->child()) return false;
    cursor_ = at->child();
    return true;
}

bool NavigateTree::makeCurrent(TreeObject* item) {
    if (!item || item == currentChild(item->parent())) return false;
    setCurrentChild(item->parent(), item);
    return true;
}

// The level navigated is the cursor's children; without a cursor there is
// none.
bool NavigateTree::moveFocusNext() {
    TreeObject* at = cursor();
    TreeObject* current = at ? at->child() : nullptr;
    return current && makeCurrent(current->nextSibling());
}

bool NavigateTree::moveFocusPrevious() {
    TreeObject* at = cursor();
    TreeObject* current = at ? at->child() : nullptr;
    return current && makeCurrent(current->previousSibling());
}

bool NavigateTree::moveFocusFirst() {
    TreeObject* at = cursor();
    return at && makeCurrent(firstOf(at->child()));
}

bool NavigateTree::moveFocusLast() {
    TreeObject* at = cursor();
    return at && makeCurrent(lastOf(at->child()));
}

bool NavigateTree::moveFocusIndex(int index) {
    TreeObject* at = cursor();
    if (!at || index < 0) return false;
    TreeObject* item = firstOf(at->child());
    for (int i = 0; i < index && item; ++i)
        item = item->nextSibling();
    return makeCurrent(item);
}

// The action sees a first press of a button on input index 0.
bool NavigateTree::callFocusAction(System& system, Rectangle& rect, Mode& mode) {
    NavigateTreeObject* item = static_cast<NavigateTreeObject*>(cursor());
    if (!item || !item->action()) return false;
    EventData press;
    press.type = Event::ButtonPress;
    press.inputIndex = 0;
    press.first = 1.0f;
    press.second = 1.0f;
    press.third = 0.0f;
    return item->action()->onEvent(system, rect, mode, press);
}

}  // namespace kova
}  // namespace tarn
