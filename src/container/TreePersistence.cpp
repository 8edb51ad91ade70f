#include "kova/container.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

// The stored form of a tree, starting at the root:
//   Item(x)     = flag, then when x exists: x's fields, Item(x's current
//                 child), Previous(x's previous sibling), Next(x's next sibling)
//   Previous(x) = the same without the Next part
//   Next(x)     = the same without the Previous part
// so a level is its current item, then its earlier items walking left, a
// false flag, its later items walking right and a false flag, each item
// followed by the level below it. The walks below keep to that order in
// loops: along a level they remember which way they walk, and they leave a
// finished level through the parent link.

namespace {

// Where a walk stands in a level: on its current item, among the items
// before it (walking left) or among those after it (walking right).
enum LevelPhase { AtCurrent, Leftwards, Rightwards };

class ItemVisitor {
public:
    virtual ~ItemVisitor() = default;
    virtual bool visit(TreeObject* item) = 0;
    virtual bool flag(bool) { return true; }
};

TreeObject* currentOfLevel(TreeObject* root, TreeObject* item) {
    return item->parent() ? item->parent()->child() : root;
}

// Whether item lies before current in their level. Both directions are
// searched together, so the cost is the distance to current or to the
// level's nearer end.
bool liesBefore(TreeObject* item, TreeObject* current) {
    TreeObject* left = item->previousSibling();
    TreeObject* right = item->nextSibling();
    for (;;) {
        if (right == current) return true;
        if (left == current || !right) return false;
        if (!left) return true;
        left = left->previousSibling();
        right = right->nextSibling();
    }
}

// Only met when climbing back to an item whose level was left for its
// children.
LevelPhase phaseOf(TreeObject* root, TreeObject* item) {
    TreeObject* current = currentOfLevel(root, item);
    if (item == current) return AtCurrent;
    return liesBefore(item, current) ? Leftwards : Rightwards;
}

// After item's subtree: reports the flags that follow it and moves item to
// the next item of the walk, climbing out of finished levels; null at the end.
bool stepPastSubtree(TreeObject* root, ItemVisitor& visitor, TreeObject*& item, LevelPhase& phase) {
    for (;;) {
        if (phase != Rightwards) {
            TreeObject* previous = item->previousSibling();
            if (!visitor.flag(previous != nullptr)) return false;
            if (previous) {
                item = previous;
                phase = Leftwards;
                return true;
            }
            item = currentOfLevel(root, item);
        }
        TreeObject* next = item->nextSibling();
        if (!visitor.flag(next != nullptr)) return false;
        if (next) {
            item = next;
            phase = Rightwards;
            return true;
        }
        item = item->parent();
        if (!item) return true;
        phase = phaseOf(root, item);
    }
}

bool walkItems(TreeObject* root, ItemVisitor& visitor) {
    if (!visitor.flag(root != nullptr)) return false;
    TreeObject* item = root;
    LevelPhase phase = AtCurrent;
    while (item) {
        if (!visitor.visit(item)) return false;
        TreeObject* child = item->child();
        if (!visitor.flag(child != nullptr)) return false;
        if (child) {
            item = child;
            phase = AtCurrent;
        } else if (!stepPastSubtree(root, visitor, item, phase)) {
            return false;
        }
    }
    return true;
}

class ItemWriter : public ItemVisitor {
public:
    ItemWriter(System& system, OStream& out) : system_(system), out_(out) {}
    bool visit(TreeObject* item) override { return item->onSave(system_, out_); }
    bool flag(bool present) override { return out_.streamBool(present, "Bool"); }

private:
    System& system_;
    OStream& out_;
};

class ItemStreamer : public ItemVisitor {
public:
    ItemStreamer(System& system, Stream& stream) : system_(system), stream_(stream) {}
    bool visit(TreeObject* item) override { return item->onStream(system_, stream_); }

private:
    System& system_;
    Stream& stream_;
};

// Reads one presence flag. Every stream of the engine overwrites it; the
// starting value only matters to streams that adjust what they are given
// (generators, editors), which then make a tree of one item rather than an
// endless one.
bool readFlag(IStream& in, bool startingValue, bool& present) {
    present = startingValue;
    return in.streamBool(present, "Bool");
}

}  // namespace

bool Tree::onStream(System& system, Stream& stream) {
    if (!Object::onStream(system, stream)) return false;
    ItemStreamer streamer(system, stream);
    return walkItems(root_, streamer);
}

bool Tree::onSave(System& system, OStream& stream) {
    ItemWriter writer(system, stream);
    return walkItems(root_, writer);
}

bool Tree::onLoad(System& system, IStream& stream) {
    if (root_) {
        ClearStream clearing(false);
        destroyLevel(system, clearing, root_, false);
    }
    return readItems(system, stream);
}

bool Tree::onClear(System& system, Stream& stream) {
    if (!Object::onClear(system, stream)) return false;
    return !root_ || destroyLevel(system, stream, root_, true);
}

// Items are linked as they are read, so a read that fails leaves the items
// read so far in the tree.
bool Tree::readItems(System& system, IStream& in) {
    bool present = false;
    if (!readFlag(in, false, present)) return false;
    if (!present) return true;
    TreeObject* item = makeItem(system, nullptr, nullptr, nullptr);
    if (!item) return false;
    root_ = item;
    int phase = AtCurrent;
    while (item) {
        if (!item->onLoad(system, in) || !readFlag(in, true, present)) return false;
        if (present) {  // the first item read into a level is its current one
            TreeObject* child = makeItem(system, item, nullptr, nullptr);
            if (!child) return false;
            item->child_ = child;
            item = child;
            phase = AtCurrent;
        } else if (!readFollowingItem(system, in, item, phase)) {
            return false;
        }
    }
    return true;
}

// After item's subtree: reads the flags that follow it and makes the item
// they announce, climbing out of finished levels; null at the end. While a
// level is read its earlier items are added at its left end and its later
// ones at its right end, so an item climbed back to shows its phase by its
// links: the current item, the leftmost so far, or the rightmost.
bool Tree::readFollowingItem(System& system, IStream& in, TreeObject*& item, int& phase) {
    bool present = false;
    for (;;) {
        TreeObject* parent = item->parent_;
        if (phase != Rightwards) {
            if (!readFlag(in, true, present)) return false;
            if (present) {
                item = makeItem(system, parent, nullptr, item);
                phase = Leftwards;
                return item != nullptr;
            }
            item = currentChild(parent);
        }
        if (!readFlag(in, true, present)) return false;
        if (present) {
            item = makeItem(system, parent, item, nullptr);
            phase = Rightwards;
            return item != nullptr;
        }
        item = parent;
        if (!item) return true;
        if (item == currentChild(item->parent_)) {
            phase = AtCurrent;
        } else {
            phase = item->previous_ ? Rightwards : Leftwards;
        }
    }
}

}  // namespace kova
}  // namespace tarn
