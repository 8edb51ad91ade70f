#include "kova/container.h"

namespace tarn {
namespace kova {

// Takes item out of its level, handing the level's current place to its
// previous sibling, or else its next one. The item keeps its parent and its
// subtree.
void Tree::takeOut(TreeObject* item) {
    TreeObject* previous = item->previous_;
    TreeObject* next = item->next_;
    if (currentChild(item->parent_) == item)
        setCurrentChild(item->parent_, previous ? previous : next);
    if (previous) previous->next_ = next;
    if (next) next->previous_ = previous;
    item->previous_ = nullptr;
    item->next_ = nullptr;
}

void Tree::swapWithNext(TreeObject* item) {
    TreeObject* next = item ? item->next_ : nullptr;
    if (!next) return;
    TreeObject* before = item->previous_;
    TreeObject* after = next->next_;
    if (before) before->next_ = next;
    next->previous_ = before;
    next->next_ = item;
    item->previous_ = next;
    item->next_ = after;
    if (after) after->previous_ = item;
}

void Tree::moveUp(int handle) {
    TreeObject* item = treeObject(handle);
    if (item) swapWithNext(item->previous_);
}

void Tree::moveDown(int handle) {
    swapWithNext(treeObject(handle));
}

// item leaves its level for target's children, going just before target's
// current child; a target without children gets item as its only one. Where
// item was current, target takes its place.
void Tree::moveInto(TreeObject* item, TreeObject* target) {
    if (!target) return;
    if (currentChild(item->parent_) == item) setCurrentChild(item->parent_, target);
    takeOut(item);
    item->parent_ = target;
    TreeObject* current = target->child_;
    if (!current) {
        target->child_ = item;
        return;
    }
    item->previous_ = current->previous_;
    item->next_ = current;
    if (current->previous_) current->previous_->next_ = item;
    current->previous_ = item;
}

void Tree::moveIntoNext(int handle) {
    TreeObject* item = treeObject(handle);
    if (item) moveInto(item, item->next_);
}

void Tree::moveIntoPrevious(int handle) {
    TreeObject* item = treeObject(handle);
    if (item) moveInto(item, item->previous_);
}

// item becomes the sibling right after its parent.
void Tree::moveOut(int handle) {
    TreeObject* item = treeObject(handle);
    TreeObject* parent = item ? item->parent_ : nullptr;
    if (!parent) return;
    takeOut(item);
    item->parent_ = parent->parent_;
    item->next_ = parent->next_;
    if (parent->next_) parent->next_->previous_ = item;
    parent->next_ = item;
    item->previous_ = parent;
}

void Tree::setFocus(int handle) {
    TreeObject* item = treeObject(handle);
    if (item) setCurrentChild(item->parent_, item);
}

}  // namespace kova
}  // namespace tarn
