// Trees of items: building and editing levels, the stored form (exact bytes,
// own files, damaged input), the navigation cursor and its actions, and
// trees too deep or too long for a walk that recursed per item.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {

// An action that notes each record it runs with in the host's calls.
class TreeTestAction : public Action {
    KOVA_RUNTIME_CLASS(TreeTestAction)
public:
    bool onEvent(System& system, Rectangle&, Mode&, EventData& data) override {
        static_cast<TestHost&>(system).calls.push_back(
            "run " + std::to_string(data.type) + " " + std::to_string(data.inputIndex) + " " +
            std::to_string(data.first) + " " + std::to_string(data.second) + " " +
            std::to_string(data.third));
        return true;
    }
};
KOVA_IMPLEMENT_CLASS_NAMED(TreeTestAction, "kova_test::TreeTestAction", &Action::absoluteClass)

// Refers to a tree, and keeps a file of its own when named.
class TreeHolder : public Named<Object> {
    KOVA_RUNTIME_CLASS(TreeHolder)
public:
    bool isStreamOwner() override { return true; }
    bool onStream(System& system, Stream& stream) override {
        return stream.streamTree(system, tree, "Tree", NavigateTree::absoluteClass());
    }
    Tree* tree = nullptr;
};
KOVA_IMPLEMENT_CLASS_NAMED(TreeHolder, "kova_test::TreeHolder", &Object::absoluteClass)

using Names = std::map<int, std::string>;

// Each level from its first item, the current one starred, children in
// brackets; every link is checked against its opposite on the way.
std::string levelText(Tree& tree, int current, const Names& names) {
    std::string out;
    for (int h = tree.firstSibling(current); h; h = tree.nextSibling(h)) {
        if (!out.empty()) out += " ";
        auto found = names.find(h);
        out += found == names.end() ? "?" : found->second;
        if (h == current) out += "*";
        EXPECT_EQ(tree.parent(h), tree.parent(current)) << out;
        if (int next = tree.nextSibling(h)) {
            EXPECT_EQ(tree.previousSibling(next), h) << out;
        }
        if (int child = tree.child(h)) {
            EXPECT_EQ(tree.parent(child), h) << out;
            out += "(" + levelText(tree, child, names) + ")";
        }
    }
    return out;
}

std::string layout(Tree& tree, const Names& names) {
    return levelText(tree, tree.root(), names);
}

Bytes saved(System& system, Tree& tree) {
    FileOStream out;
    EXPECT_TRUE(tree.onSave(system, out));
    return out.bytes();
}

// Objects whose run-time class is Object itself: tree items.
int itemCount() {
    return Object::absoluteClass()->classInstanceCount();
}

class TreeTest : public HostTest<FileHost> {
protected:
    // An item with the given label as a new last child of parent (0: top).
    int add(Tree& tree, int parent, const std::string& label) {
        int handle = tree.insertChildItemLast(host, parent);
        EXPECT_NE(handle, 0);
        names[handle] = label;
        return handle;
    }
    void describe(NavigateTree& tree, int handle, const char* text) {
        make<StringData>(tree.navigateTreeObject(handle)->description())->set(host, text);
    }
    void giveAction(NavigateTree& tree, int handle) {
        make<TreeTestAction>(tree.navigateTreeObject(handle)->action());
    }
    Names names;
};

TEST_F(TreeTest, BuildsLevelsThatRememberTheirCurrentItem) {
    Tree* tree = make<Tree>();
    EXPECT_EQ(tree->root(), 0);
    EXPECT_EQ(tree->treeObject(0), nullptr);
    EXPECT_EQ(tree->treeObject(7), nullptr);
    EXPECT_EQ(tree->insertItemAfter(host, 0), 0);
    EXPECT_EQ(tree->insertItemBefore(host, 0), 0);
    EXPECT_EQ(tree->insertChildItemLast(host, 99), 0);  // no such item
    EXPECT_EQ(tree->firstSibling(0), 0);
    EXPECT_EQ(tree->child(0), 0);
    EXPECT_TRUE(tree->isStreamOwner());

    // The first item of a level becomes its current one; later ones go to
    // the ends and leave it current.
    int b = add(*tree, 0, "b");
    EXPECT_EQ(tree->root(), b);
    int c = add(*tree, 0, "c");
    int a = tree->insertChildItemFirst(host, 0);
    names[a] = "a";
    EXPECT_EQ(layout(*tree, names), "a b* c");
    EXPECT_EQ(tree->root(), b);

    int d = add(*tree, b, "d");
    names[tree->insertItemBefore(host, d)] = "e";
    int f = tree->insertItemAfter(host, d);
    names[f] = "f";
    names[tree->insertChildItemFirst(host, f)] = "g";
    EXPECT_EQ(layout(*tree, names), "a b*(e d* f(g*)) c");
    EXPECT_EQ(tree->parent(a), 0);
    EXPECT_EQ(tree->firstSibling(f), tree->previousSibling(d));
    EXPECT_EQ(tree->lastSibling(d), f);
    EXPECT_EQ(tree->treeObject(f)->handle(), f);
    EXPECT_EQ(tree->treeObject(f)->parent(), tree->treeObject(b));
    EXPECT_EQ(itemCount(), 7);

    tree->setFocus(f);
    tree->setFocus(c);
    EXPECT_EQ(layout(*tree, names), "a b(e d f*(g*)) c*");

    // A plain tree describes nothing.
    char buffer[4] = "xyz";
    EXPECT_EQ(tree->copyDescription(host, c, buffer, 4), 0);
    EXPECT_STREQ(buffer, "");

    Object::clear(host, tree);
    EXPECT_EQ(itemCount(), 0);
}

TEST_F(TreeTest, RemovingKeepsTheLevelLinkedAndReleasesTheSubtree) {
    NavigateTree* tree = make<NavigateTree>();
    int a = add(*tree, 0, "a");
    int b = add(*tree, 0, "b");
    add(*tree, 0, "c");
    tree->setFocus(b);
    int x = add(*tree, b, "x");
    int y = add(*tree, b, "y");
    int z = add(*tree, b, "z");
    tree->setFocus(z);
    add(*tree, y, "y1");
    describe(*tree, y, "Why");
    giveAction(*tree, y);
    StringData* shared = new StringData("Shared", "Label");
    ASSERT_EQ(host.registerData(shared, nullptr), shared);
    tree->navigateTreeObject(x)->description() = shared;
    EXPECT_EQ(layout(*tree, names), "a b*(x y(y1*) z*) c");

    // The current item hands its place to its previous sibling.
    EXPECT_TRUE(tree->removeHandle(host, z));
    EXPECT_EQ(layout(*tree, names), "a b*(x y*(y1*)) c");
    EXPECT_EQ(tree->treeObject(z), nullptr);

    // Its whole subtree goes with it, with the objects the items own.
    EXPECT_EQ(StringData::absoluteClass()->classInstanceCount(), 2);
    EXPECT_TRUE(tree->removeHandle(host, y));
    EXPECT_EQ(layout(*tree, names), "a b*(x*) c");
    EXPECT_EQ(StringData::absoluteClass()->classInstanceCount(), 1);
    EXPECT_EQ(TreeTestAction::absoluteClass()->classInstanceCount(), 0);

    // The middle of three leaves the other two linked both ways; a named
    // description stays with the name directory.
    EXPECT_TRUE(tree->removeHandle(host, b));
    EXPECT_EQ(layout(*tree, names), "a* c");
    EXPECT_EQ(host.findNamedObject("Label"), shared);
    EXPECT_EQ(itemCount(), 2);

    // A first item that is current hands its place to its next sibling.
    EXPECT_TRUE(tree->removeHandle(host, a));
    EXPECT_EQ(layout(*tree, names), "c*");
    EXPECT_TRUE(tree->removeHandle(host, 0));
    EXPECT_TRUE(tree->removeHandle(host, a));  // gone already
    EXPECT_TRUE(tree->removeHandle(host, tree->root()));
    EXPECT_EQ(tree->root(), 0);
    EXPECT_EQ(itemCount(), 0);

    // Freed handles are given out again.
    int again = tree->insertChildItemFirst(host, 0);
    EXPECT_GE(again, 1);
    EXPECT_LE(again, 7);
    Object::clear(host, tree);
}

TEST_F(TreeTest, MovesItemsWithinAndBetweenLevels) {
    Tree* tree = make<Tree>();
    int a = add(*tree, 0, "a");
    int b = add(*tree, 0, "b");
    int c = add(*tree, 0, "c");
    int d = add(*tree, 0, "d");
    tree->setFocus(c);

    tree->moveUp(c);
    EXPECT_EQ(layout(*tree, names), "a c* b d");
    tree->moveUp(a);    // first already
    tree->moveDown(d);  // last already
    tree->moveUp(0);
    tree->moveDown(a);
    EXPECT_EQ(layout(*tree, names), "c* a b d");

    // Into a sibling without children: the only and current child.
    tree->moveIntoNext(a);
    EXPECT_EQ(layout(*tree, names), "c* b(a*) d");
    // Into one with children: just before its current child.
    tree->moveIntoPrevious(d);
    EXPECT_EQ(layout(*tree, names), "c* b(d a*)");
    // The current item hands its place to the sibling it moves into.
    tree->moveIntoNext(c);
    EXPECT_EQ(layout(*tree, names), "b*(d c a*)");
    EXPECT_EQ(tree->root(), b);
    tree->moveIntoNext(a);  // no next sibling
    tree->moveIntoPrevious(d);
    tree->moveIntoNext(0);
    EXPECT_EQ(layout(*tree, names), "b*(d c a*)");

    // Out of a level: right after the former parent, whose next sibling
    // stays reachable both ways.
    int e = add(*tree, 0, "e");
    tree->moveOut(c);
    EXPECT_EQ(layout(*tree, names), "b*(d a*) c e");
    EXPECT_EQ(tree->previousSibling(e), c);
    EXPECT_EQ(tree->nextSibling(b), c);
    // The current child moving out hands its place to its previous sibling,
    // or else its next one.
    tree->moveOut(a);
    EXPECT_EQ(layout(*tree, names), "b*(d*) a c e");
    tree->moveOut(d);
    EXPECT_EQ(layout(*tree, names), "b* d a c e");
    tree->moveOut(d);  // top level already
    EXPECT_EQ(layout(*tree, names), "b* d a c e");
    Object::clear(host, tree);
}

TEST_F(TreeTest, StoresEachLevelAsCurrentThenEarlierThenLaterItems) {
    Tree* tree = make<Tree>();
    EXPECT_EQ(saved(host, *tree), (Bytes{0}));
    MemoryIStream empty({0});
    EXPECT_TRUE(tree->onLoad(host, empty));
    EXPECT_EQ(tree->root(), 0);

    // a b* c: b, then a as its previous, then c as its next.
    add(*tree, 0, "a");
    int b = add(*tree, 0, "b");
    add(*tree, 0, "c");
    tree->setFocus(b);
    EXPECT_EQ(saved(host, *tree), (Bytes{1, 0, 1, 0, 0, 1, 0, 0}));

    // With children under the items on both sides of the current one.
    add(*tree, tree->firstSibling(b), "x");
    add(*tree, tree->lastSibling(b), "y");
    Bytes bytes = saved(host, *tree);
    EXPECT_EQ(bytes, (Bytes{1, 0, 1, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0}));

    Tree* loaded = make<Tree>();
    MemoryIStream in(bytes);
    EXPECT_TRUE(loaded->onLoad(host, in));
    EXPECT_EQ(in.left(), 0);
    Names shape;
    int root = loaded->root();
    shape[root] = "b";
    shape[loaded->firstSibling(root)] = "a";
    shape[loaded->lastSibling(root)] = "c";
    shape[loaded->child(loaded->firstSibling(root))] = "x";
    shape[loaded->child(loaded->lastSibling(root))] = "y";
    EXPECT_EQ(layout(*loaded, shape), "a(x*) b* c(y*)");

    // Reading again replaces what the tree held; any non-zero flag is true.
    MemoryIStream twos({2, 0, 0, 0});
    EXPECT_TRUE(loaded->onLoad(host, twos));
    EXPECT_NE(loaded->root(), 0);
    EXPECT_EQ(loaded->nextSibling(loaded->root()), 0);
    EXPECT_EQ(itemCount(), 6);
    Object::clear(host, loaded);
    Object::clear(host, tree);
    EXPECT_EQ(itemCount(), 0);
}

TEST_F(TreeTest, ANamedTreeKeepsAFileOfItsOwn) {
    NavigateTree* tree = new NavigateTree();
    tree->setName("Main");
    ASSERT_EQ(host.registerObject(tree, "Menus"), tree);
    int m = add(*tree, 0, "m");
    add(*tree, m, "p");
    int q = add(*tree, m, "q");
    tree->setFocus(q);
    describe(*tree, m, "Go");
    TreeHolder* holder = new TreeHolder();
    holder->setName("Holder");
    holder->tree = tree;
    ASSERT_EQ(host.registerObject(holder, nullptr), holder);
    ASSERT_TRUE(host.save());

    // The tree's fields are its items; a description is a full record.
    Bytes expected = fileHeader({"tarn::kova::NavigateTree", "tarn::kova::StringData"});
    appendU16(expected, 1);
    append(expected, {1});    // m
    appendU32(expected, 14);  // its description
    append(expected, {0, 0, 2, 0, 2, 0, 0, 0, 'G', 'o'});
    append(expected, {8, 0, 0, 0, 0, 0, 0, 0});  // no action
    append(expected, {1});                       // q, m's current child
    append(expected, {8, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0});
    append(expected, {0, 1});  // no child; p before it
    append(expected, {8, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0});
    append(expected, {0, 0, 0, 0, 0});  // p's child, p's previous, q's next, m's two
    EXPECT_EQ(host.files["Menus/Main"], expected);
    // The holder refers to it by name.
    Bytes holderFile = fileHeader({"kova_test::TreeHolder", "Menus/Main"});
    append(holderFile, {1, 0, 8, 0, 0, 0, 2, 0, 0, 0});
    EXPECT_EQ(host.files["Holder"], holderFile);

    // Loading the holder loads the tree's own file, with its current items
    // and the cursor on the root.
    FileHost other;
    other.files = host.files;
    other.init();
    Object* loaded = nullptr;
    ASSERT_TRUE(Object::loadNewStream(other, loaded, "Holder"));
    EXPECT_EQ(other.opened, (std::vector<std::string>{"Holder", "Menus/Main"}));
    Tree* copy = static_cast<TreeHolder*>(loaded)->tree;
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->actualClass(), NavigateTree::absoluteClass());
    EXPECT_EQ(other.findNamedObject("Menus/Main"), copy);
    NavigateTree& navigate = *static_cast<NavigateTree*>(copy);
    EXPECT_EQ(navigate.focusHandle(), navigate.root());
    Names shape;
    shape[copy->root()] = "m";
    shape[copy->child(copy->root())] = "q";
    shape[copy->previousSibling(copy->child(copy->root()))] = "p";
    EXPECT_EQ(layout(*copy, shape), "m*(p q*)");
    char text[8];
    EXPECT_EQ(copy->copyDescription(other, copy->root(), text, 8), 2);
    EXPECT_STREQ(text, "Go");

    // Saving the copy gives the same bytes.
    other.files.clear();
    ASSERT_TRUE(other.save());
    EXPECT_EQ(other.files["Menus/Main"], expected);
    other.exit();
}

TEST_F(TreeTest, ReplacingANamedDescriptionReachesTheItems) {
    NavigateTree* tree = new NavigateTree();
    tree->setName("Tree");
    ASSERT_EQ(host.registerObject(tree, nullptr), tree);
    int top = add(*tree, 0, "top");
    int deep = add(*tree, add(*tree, top, "mid"), "deep");
    StringData* first = new StringData("First", "Label");
    host.registerData(first, nullptr);
    tree->navigateTreeObject(deep)->description() = first;
    StringData* second = new StringData("Second", "Label");
    EXPECT_EQ(host.reRegisterObject(second, nullptr, true, false), nullptr);
    EXPECT_EQ(tree->navigateTreeObject(deep)->description(), second);
    char text[8];
    EXPECT_EQ(tree->copyDescription(host, deep, text, 8), 6);
    EXPECT_STREQ(text, "Second");
}

TEST_F(TreeTest, NavigatesTheCursorsLevelAndRunsTheFocusedAction) {
    NavigateTree* tree = make<NavigateTree>();
    Rectangle rect;
    Mode mode;
    EXPECT_EQ(tree->focusHandle(), 0);
    EXPECT_FALSE(tree->moveFocusIn());
    EXPECT_FALSE(tree->moveFocusNext());
    EXPECT_FALSE(tree->callFocusAction(host, rect, mode));

    int r = add(*tree, 0, "r");
    int a = add(*tree, r, "a");
    int b = add(*tree, r, "b");
    int c = add(*tree, r, "c");
    int b1 = add(*tree, b, "b1");
    add(*tree, b, "b2");
    describe(*tree, a, "Alpha");
    describe(*tree, b, "Beta");
    giveAction(*tree, b);

    // A tree built in code navigates from its root, as a loaded one does.
    EXPECT_EQ(tree->focusHandle(), r);
    EXPECT_FALSE(tree->moveFocusOut());
    EXPECT_FALSE(tree->moveFocusFirst());  // a is first already
    EXPECT_FALSE(tree->moveFocusPrevious());
    EXPECT_TRUE(tree->moveFocusNext());
    EXPECT_EQ(tree->child(r), b);
    EXPECT_TRUE(tree->moveFocusLast());
    EXPECT_EQ(tree->child(r), c);
    EXPECT_FALSE(tree->moveFocusLast());
    EXPECT_FALSE(tree->moveFocusNext());
    EXPECT_TRUE(tree->moveFocusPrevious());
    EXPECT_EQ(tree->child(r), b);
    EXPECT_FALSE(tree->moveFocusIndex(1));  // b already
    EXPECT_FALSE(tree->moveFocusIndex(3));
    EXPECT_FALSE(tree->moveFocusIndex(-1));
    EXPECT_TRUE(tree->moveFocusIndex(0));
    EXPECT_EQ(tree->child(r), a);
    EXPECT_TRUE(tree->moveFocusNext());
    EXPECT_EQ(tree->child(r), b);
    EXPECT_EQ(tree->focusHandle(), r);

    // The cursor's own action runs, with a first press on input index 0.
    EXPECT_FALSE(tree->callFocusAction(host, rect, mode));  // r has none
    EXPECT_TRUE(tree->moveFocusIn());
    EXPECT_EQ(tree->focusHandle(), b);
    host.calls.clear();
    EXPECT_TRUE(tree->callFocusAction(host, rect, mode));
    EXPECT_EQ(host.calls, std::vector<std::string>{"run 1 0 1.000000 1.000000 0.000000"});
    EXPECT_TRUE(tree->moveFocusIn());
    EXPECT_EQ(tree->focusHandle(), b1);
    EXPECT_FALSE(tree->moveFocusIn());
    EXPECT_FALSE(tree->callFocusAction(host, rect, mode));
    EXPECT_FALSE(tree->moveFocusNext());  // b1 has no children to move among
    EXPECT_EQ(host.calls.size(), 1u);

    // Descriptions, cut to the buffer.
    char text[8] = "garbage";
    EXPECT_EQ(tree->copyDescription(host, a, text, 8), 5);
    EXPECT_STREQ(text, "Alpha");
    EXPECT_EQ(tree->copyDescription(host, a, text, 3), 3);
    EXPECT_STREQ(text, "Al");
    EXPECT_EQ(tree->copyDescription(host, c, text, 8), 0);
    EXPECT_STREQ(text, "");
    std::strcpy(text, "x");
    EXPECT_EQ(tree->copyDescription(host, 0, text, 8), 0);
    EXPECT_STREQ(text, "");

    // Removing the cursor's branch moves the cursor out of it.
    EXPECT_TRUE(tree->removeHandle(host, b));
    EXPECT_EQ(tree->focusHandle(), r);
    EXPECT_TRUE(tree->moveFocusIn());
    EXPECT_EQ(tree->focusHandle(), a);
    EXPECT_TRUE(tree->moveFocusOut());
    EXPECT_FALSE(tree->moveFocusOut());
    EXPECT_TRUE(tree->removeHandle(host, r));
    EXPECT_EQ(tree->focusHandle(), 0);
    EXPECT_FALSE(tree->callFocusAction(host, rect, mode));
    EXPECT_EQ(itemCount(), 0);
    Object::clear(host, tree);
}

TEST_F(TreeTest, DamagedStoredFormsStopWhereTheyFail) {
    // Three levels, then the stream ends: the items read stay linked.
    Tree* tree = make<Tree>();
    MemoryIStream cut({1, 1, 1});
    EXPECT_FALSE(tree->onLoad(host, cut));
    int root = tree->root();
    ASSERT_NE(root, 0);
    EXPECT_EQ(tree->parent(tree->child(tree->child(root))), tree->child(root));
    EXPECT_EQ(itemCount(), 3);

    // A navigate item whose description record is cut short.
    NavigateTree* navigate = make<NavigateTree>();
    MemoryIStream shortRecord({1, 8, 0, 0});
    EXPECT_FALSE(navigate->onLoad(host, shortRecord));
    EXPECT_EQ(itemCount(), 4);
    Object::clear(host, navigate);
    Object::clear(host, tree);
    EXPECT_EQ(itemCount(), 0);
}

// 200000 levels or siblings: a walk that recursed per item would run out of
// stack (and the sanitizer build makes every frame larger).
TEST_F(TreeTest, DeepAndLongTreesAreWalkedInLoops) {
    const int kCount = 200000;
    NavigateTree* deep = make<NavigateTree>();
    int handle = 0;
    for (int i = 0; i < kCount; ++i)
        handle = deep->insertChildItemFirst(host, handle);
    describe(*deep, handle, "Bottom");
    Bytes bytes = saved(host, *deep);
    // Per item: its flag, two null records (6 bytes each outside an object
    // file) and two flags for its empty sibling sides; then the bottom's
    // empty child flag, and the description's record in place of a null one.
    EXPECT_EQ(bytes.size(), static_cast<std::size_t>(kCount) * 15 + 1 + 32);

    NavigateTree* copy = make<NavigateTree>();
    MemoryIStream in(bytes);
    EXPECT_TRUE(copy->onLoad(host, in));
    int depth = 0;
    int bottom = 0;
    for (int h = copy->root(); h; h = copy->child(h)) {
        ++depth;
        bottom = h;
    }
    EXPECT_EQ(depth, kCount);
    char text[8];
    EXPECT_EQ(copy->copyDescription(host, bottom, text, 8), 6);
    EXPECT_EQ(saved(host, *copy), bytes);

    // The clearing walk frees the description at the bottom too.
    Object::clear(host, copy);
    Object::clear(host, deep);
    EXPECT_EQ(itemCount(), 0);
    EXPECT_EQ(StringData::absoluteClass()->classInstanceCount(), 0);

    Tree* longTree = make<Tree>();
    int middle = 0;
    int last = 0;
    for (int i = 0; i < kCount; ++i) {
        int item =
            i ? longTree->insertItemAfter(host, last) : longTree->insertChildItemFirst(host, 0);
        last = item;
        if (i == kCount / 2) middle = item;
    }
    longTree->setFocus(middle);
    bytes = saved(host, *longTree);
    EXPECT_EQ(bytes.size(), static_cast<std::size_t>(kCount) * 2 + 2);
    Tree* longCopy = make<Tree>();
    MemoryIStream longIn(bytes);
    EXPECT_TRUE(longCopy->onLoad(host, longIn));
    int before = 0;
    for (int h = longCopy->previousSibling(longCopy->root()); h; h = longCopy->previousSibling(h))
        ++before;
    EXPECT_EQ(before, kCount / 2);
    EXPECT_EQ(saved(host, *longCopy), bytes);
    Object::clear(host, longCopy);
    Object::clear(host, longTree);
    EXPECT_EQ(itemCount(), 0);
}

}  // namespace kova_test
