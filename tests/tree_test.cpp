// Trees of items: building and editing levels, the stored form (exact bytes,
// own files, damaged input), the navigation cursor and its actions, and
// trees too deep or too long for a walk that recursed per item.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {

// An action that notes each record it runs with in the host's calls.
class TreeTestAction : public Action {
    KOVA_RUNTIME_CLASS(TreeTestAction)
public:
    bool onEvent(System& system, Rectangle&, Mode&, EventData& e) override {
        char run[64];
        std::snprintf(run, sizeof(run), "run %d %d %g %g %g", e.type, e.inputIndex, e.first,
                      e.second, e.third);
        return static_cast<TestHost&>(system).calls.push_back(run), true;
    }
};
KOVA_IMPLEMENT_CLASS_NAMED(TreeTestAction, "kova_test::TreeTestAction", &Action::absoluteClass)

// Items are named by their handles as letters: a is 1, b is 2 and so on,
// and "-" is no item.
int h(char letter) {
    return letter == '-' ? 0 : letter - 'a' + 1;
}
char letter(int handle) {
    return static_cast<char>(handle ? 'a' + handle - 1 : '-');
}

// Each level from its first item, the current one starred, children in
// brackets; every link is checked against its opposite on the way.
std::string levelText(Tree& tree, int current) {
    std::string out;
    for (int item = tree.firstSibling(current); item; item = tree.nextSibling(item)) {
        out +=
            (out.empty() ? "" : " ") + std::string(1, letter(item)) + (item == current ? "*" : "");
        EXPECT_EQ(tree.parent(item), tree.parent(current)) << out;
        int next = tree.nextSibling(item), child = tree.child(item);
        EXPECT_EQ(next ? tree.previousSibling(next) : tree.lastSibling(current), item) << out;
        if (child) out += "(" + levelText(tree, child) + ")";
        EXPECT_EQ(child ? tree.parent(child) : item, item) << out;
    }
    return out;
}

std::string layout(Tree& tree) {
    return levelText(tree, tree.root());
}

// Builds a tree from such a text: items are made as the last children of
// their parents in reading order, so the letters come in alphabetical order.
void build(System& system, Tree& tree, const std::string& text) {
    std::vector<int> parents = {0};
    int last = 0;
    for (char c : text) {
        if (c == '(') parents.push_back(last);
        if (c == ')') parents.pop_back();
        if (c == '*') tree.setFocus(last);
        if (std::isalpha(c)) last = tree.insertChildItemLast(system, parents.back());
    }
    EXPECT_EQ(layout(tree), text);
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
    void TearDown() override {
        Object::clear(host, tree);
        Object::clear(host, plain);
        HostTest::TearDown();
    }
    void describe(int item, const char* text) {
        make<StringData>(tree->navigateTreeObject(item)->description())->set(host, text);
    }
    NavigateTree* tree = make<NavigateTree>();
    Tree* plain = make<Tree>();
};

TEST_F(TreeTest, BuildsLevelsThatRememberTheirCurrentItem) {
    EXPECT_EQ((std::vector<int>{
                  plain->root(), plain->insertItemAfter(host, 0), plain->insertItemBefore(host, 0),
                  plain->insertChildItemLast(host, 9), plain->firstSibling(0), plain->child(0)}),
              std::vector<int>(6, 0));
    EXPECT_EQ(plain->treeObject(7), nullptr);
    // The first item of a level becomes its current one; later ones go to
    // its ends or beside an item, and leave it current.
    EXPECT_EQ((std::vector<int>{
                  plain->insertChildItemLast(host, 0), plain->insertChildItemLast(host, 0),
                  plain->insertChildItemFirst(host, 0), plain->insertChildItemFirst(host, h('a')),
                  plain->insertItemBefore(host, h('d')), plain->insertItemAfter(host, h('d')),
                  plain->insertChildItemFirst(host, h('f'))}),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(layout(*plain), "c a*(e d* f(g*)) b");
    EXPECT_EQ(plain->treeObject(h('f'))->parent(), plain->treeObject(h('a')));
    EXPECT_EQ(plain->treeObject(h('f'))->handle(), h('f'));
    plain->setFocus(h('f'));
    plain->setFocus(h('b'));
    EXPECT_EQ(layout(*plain), "c a(e d f*(g*)) b*");
    char buffer[4] = "xyz";  // a plain tree describes nothing
    EXPECT_EQ(plain->copyDescription(host, h('b'), buffer, 4), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(itemCount(), 7);
}

// Rows: "removed item -> layout", in order.
TEST_F(TreeTest, RemovingKeepsTheLevelLinkedAndReleasesTheSubtree) {
    build(host, *tree, "a b*(c d(e*) f*) g");
    describe(h('d'), "Why");
    make<TreeTestAction>(tree->navigateTreeObject(h('d'))->action());
    StringData* shared = new StringData("Shared", "Label");
    ASSERT_EQ(host.registerData(shared, nullptr), shared);
    tree->navigateTreeObject(h('c'))->description() = shared;
    expectRows({"f -> a b*(c d*(e*)) g", "d -> a b*(c*) g", "b -> a* g", "a -> g*", "- -> g*",
                "a -> g*", "g -> "},
               [&](const std::string& item) {
                   EXPECT_TRUE(tree->removeHandle(host, h(item[0])));
                   return layout(*tree);
               });
    // The subtrees went with their items, and so did what the items owned;
    // a named description stays with the name directory.
    EXPECT_EQ(itemCount(), 0);
    EXPECT_EQ(StringData::absoluteClass()->classInstanceCount(), 1);
    EXPECT_EQ(TreeTestAction::absoluteClass()->classInstanceCount(), 0);
    EXPECT_EQ(host.findNamedObject("Label"), shared);
    EXPECT_EQ(tree->treeObject(h('f')), nullptr);
    EXPECT_EQ(tree->insertChildItemFirst(host, 0), h('g'));  // the last handle freed comes first
}

// Rows: "move item -> layout", in order; "-" is no item.
TEST_F(TreeTest, MovesItemsWithinAndBetweenLevels) {
    build(host, *plain, "a b c* d");
    expectRows({"moveUp c -> a c* b d", "moveUp a -> a c* b d", "moveDown d -> a c* b d",
                "moveUp - -> a c* b d", "moveDown a -> c* a b d",
                // Into a sibling without children: its only and current child;
                // into one with children: just before its current child.
                "moveIntoNext a -> c* b(a*) d", "moveIntoPrevious d -> c* b(d a*)",
                // The current item hands its place to the sibling it moves into.
                "moveIntoNext c -> b*(d c a*)", "moveIntoNext a -> b*(d c a*)",
                "moveIntoPrevious d -> b*(d c a*)", "moveIntoNext - -> b*(d c a*)",
                "add e -> b*(d c a*) e",
                // Out of a level: right after the former parent; the current
                // child hands its place to its previous sibling, or its next.
                "moveOut c -> b*(d a*) c e", "moveOut a -> b*(d*) a c e", "moveOut d -> b* d a c e",
                "moveOut d -> b* d a c e",
                // Even when it has a previous sibling to hand it to.
                "focus a -> b d a* c e", "moveIntoNext a -> b d c*(a*) e"},
               [&](const std::string& row) {
                   std::string move = row.substr(0, row.find(' '));
                   int item = h(row[move.size() + 1]);
                   if (move == "add") plain->insertChildItemLast(host, 0);
                   if (move == "focus") plain->setFocus(item);
                   if (move == "moveUp") plain->moveUp(item);
                   if (move == "moveDown") plain->moveDown(item);
                   if (move == "moveIntoNext") plain->moveIntoNext(item);
                   if (move == "moveIntoPrevious") plain->moveIntoPrevious(item);
                   if (move == "moveOut") plain->moveOut(item);
                   return layout(*plain);
               });
}

// Rows: "move -> result, cursor, the cursor's current child", in order.
TEST_F(TreeTest, NavigatesTheCursorsLevelAndRunsTheFocusedAction) {
    Rectangle rect;
    Mode mode;
    auto navigate = [&](const std::string& row) {
        std::istringstream in(row);
        std::string move;
        int index = 0;
        in >> move >> index;
        bool moved = move == "out"     ? tree->moveFocusOut()
                     : move == "in"    ? tree->moveFocusIn()
                     : move == "next"  ? tree->moveFocusNext()
                     : move == "prev"  ? tree->moveFocusPrevious()
                     : move == "first" ? tree->moveFocusFirst()
                     : move == "last"  ? tree->moveFocusLast()
                     : move == "index" ? tree->moveFocusIndex(index)
                                       : tree->callFocusAction(host, rect, mode);
        int cursor = tree->focusHandle(), child = tree->child(cursor);
        return std::string(moved ? "true " : "false ") + letter(cursor) + " " + letter(child);
    };
    expectRows({"in -> false - -", "next -> false - -", "run -> false - -"}, navigate);
    // A tree built in code navigates from its root, as a loaded one does.
    build(host, *tree, "a*(b* c(d* e) f)");
    describe(h('b'), "Alpha");
    describe(h('c'), "Beta");
    make<TreeTestAction>(tree->navigateTreeObject(h('c'))->action());
    expectRows({"out -> false a b",     "first -> false a b",    "prev -> false a b",
                "next -> true a c",     "last -> true a f",      "last -> false a f",
                "next -> false a f",    "prev -> true a c",      "index 1 -> false a c",
                "index 3 -> false a c", "index -1 -> false a c", "index 0 -> true a b",
                "next -> true a c",     "run -> false a c",      "in -> true c d",
                "run -> true c d",      "in -> true d -",        "in -> false d -",
                "run -> false d -",     "next -> false d -"},
               navigate);
    // The action sees a first press of a button on input index 0.
    EXPECT_EQ(host.calls, std::vector<std::string>{"run 1 0 1 1 0"});

    // Descriptions, cut to the buffer.
    char text[8] = "garbage";
    EXPECT_EQ(tree->copyDescription(host, h('b'), text, 8), 5);
    EXPECT_STREQ(text, "Alpha");
    EXPECT_EQ(tree->copyDescription(host, h('b'), text, 3), 3);
    EXPECT_STREQ(text, "Al");
    EXPECT_EQ(
        tree->copyDescription(host, h('f'), text, 8) + tree->copyDescription(host, 0, text, 8), 0);
    EXPECT_STREQ(text, "");

    // Removing the cursor's branch moves the cursor out of it.
    EXPECT_TRUE(tree->removeHandle(host, h('c')));
    expectRows({"run -> false a b", "in -> true b -", "out -> true a b", "out -> false a b"},
               navigate);
    EXPECT_TRUE(tree->removeHandle(host, h('a')));
    expectRows({"run -> false - -"}, navigate);
}

// A level is stored as its current item, its earlier items walking left and
// its later items walking right, each followed by the level below it.
TEST_F(TreeTest, StoresEachLevelAsCurrentThenEarlierThenLaterItems) {
    EXPECT_EQ(saved(host, *plain), (Bytes{0}));
    MemoryIStream empty({0});
    EXPECT_TRUE(plain->onLoad(host, empty));
    build(host, *plain, "a b* c");
    EXPECT_EQ(saved(host, *plain), (Bytes{1, 0, 1, 0, 0, 1, 0, 0}));
    plain->insertChildItemLast(host, h('a'));
    plain->insertChildItemLast(host, h('c'));
    Bytes bytes = saved(host, *plain);
    EXPECT_EQ(bytes, (Bytes{1, 0, 1, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0}));

    // Read back, the items take their handles in reading order.
    Tree* copy = make<Tree>();
    MemoryIStream in(bytes);
    EXPECT_TRUE(copy->onLoad(host, in));
    EXPECT_EQ(in.left(), 0);
    EXPECT_EQ(layout(*copy), "b(c*) a* d(e*)");
    // Reading again replaces what the tree held; any non-zero flag is true.
    MemoryIStream twos({2, 0, 0, 0});
    EXPECT_TRUE(copy->onLoad(host, twos));
    EXPECT_EQ(saved(host, *copy), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(itemCount(), 6);
    Object::clear(host, copy);
}

TEST_F(TreeTest, DamagedStoredFormsStopWhereTheyFail) {
    MemoryIStream cut({1, 1, 1});  // three levels, then the stream ends
    EXPECT_FALSE(plain->onLoad(host, cut));
    EXPECT_EQ(layout(*plain), "a*(b*(c*))");  // the items read stay linked
    MemoryIStream shortRecord({1, 8, 0, 0});  // a description record cut short
    EXPECT_FALSE(tree->onLoad(host, shortRecord));
    EXPECT_EQ(itemCount(), 4);
}

TEST_F(TreeTest, ANamedTreeKeepsAFileOfItsOwn) {
    auto* named = new NavigateTree();
    named->setName("Main");
    ASSERT_EQ(host.registerObject(named, "Menus"), named);
    build(host, *named, "a*(b c*)");
    make<StringData>(named->navigateTreeObject(h('a'))->description())->set(host, "Go");
    ASSERT_TRUE(host.save());
    // The tree's fields are its items: a, its description as a full record
    // and no action; c, a's current child, with two null records, no child
    // and b before it, with two null records; then b's child, b's previous,
    // c's next and a's two flags.
    Bytes expected = fileHeader({"tarn::kova::NavigateTree", "tarn::kova::StringData"}) +
                     Bytes{1, 0, 1, 14, 0, 0, 0, 0, 0, 2, 0, 2, 0, 0, 0, 'G', 'o', 8, 0, 0, 0, 0,
                           0, 0, 0, 1,  8, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0,   0,   0, 0, 0, 0, 1,
                           8, 0, 0, 0,  0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0,   0,   0, 0, 0, 0};
    EXPECT_EQ(host.files["Menus/Main"], expected);

    // Loaded, it has its current items and the cursor on the root; saved
    // again it gives the same bytes.
    FileHost other;
    other.files = host.files;
    other.init();
    Object* loaded = nullptr;
    ASSERT_TRUE(Object::loadNewStream(other, loaded, "Menus/Main"));
    auto* copy = static_cast<NavigateTree*>(loaded);
    ASSERT_EQ(other.findNamedObject("Menus/Main"), copy);
    ASSERT_EQ(copy->actualClass(), NavigateTree::absoluteClass());
    EXPECT_EQ(copy->focusHandle(), copy->root());
    EXPECT_EQ(layout(*copy), "a*(c b*)");  // handles in reading order
    char text[8];
    EXPECT_EQ(copy->copyDescription(other, copy->root(), text, 8), 2);
    EXPECT_STREQ(text, "Go");
    other.files.clear();
    ASSERT_TRUE(other.save());
    EXPECT_EQ(other.files["Menus/Main"], expected);
    other.exit();
}

TEST_F(TreeTest, ReplacingANamedDescriptionReachesTheItems) {
    auto* named = new NavigateTree();
    named->setName("Tree");
    ASSERT_EQ(host.registerObject(named, nullptr), named);
    build(host, *named, "a*(b*(c*))");
    StringData* first = new StringData("First", "Label");
    ASSERT_EQ(host.registerData(first, nullptr), first);
    named->navigateTreeObject(h('c'))->description() = first;
    EXPECT_EQ(host.reRegisterObject(new StringData("Second", "Label"), nullptr, true, false),
              nullptr);
    char text[8];
    EXPECT_EQ(named->copyDescription(host, h('c'), text, 8), 6);
    EXPECT_STREQ(text, "Second");
}

// 200000 levels or siblings: a walk that recursed per item would run out of
// stack (and the sanitizer build makes every frame larger).
TEST_F(TreeTest, DeepAndLongTreesAreWalkedInLoops) {
    const int count = 200000;
    int item = 0;
    for (int i = 0; i < count; ++i)
        item = tree->insertChildItemFirst(host, item);
    describe(item, "Bottom");
    Bytes bytes = saved(host, *tree);
    // Per item: its flag, two null records (6 bytes each outside an object
    // file) and two flags for its empty sibling sides; then the bottom's
    // empty child flag, and the description's record in place of a null one.
    EXPECT_EQ(bytes.size(), static_cast<std::size_t>(count) * 15 + 1 + 32);
    NavigateTree* copy = make<NavigateTree>();
    MemoryIStream in(bytes);
    EXPECT_TRUE(copy->onLoad(host, in));
    EXPECT_EQ(saved(host, *copy), bytes);
    char text[8];
    EXPECT_EQ(copy->copyDescription(host, count, text, 8), 6);  // the last read is the bottom
    Object::clear(host, copy);  // the clearing walk frees the description at the bottom too
    EXPECT_EQ(StringData::absoluteClass()->classInstanceCount(), 1);

    for (int i = 0; i < count; ++i)
        item = i ? plain->insertItemAfter(host, item) : plain->insertChildItemFirst(host, 0);
    plain->setFocus(count / 2);
    bytes = saved(host, *plain);
    EXPECT_EQ(bytes.size(), static_cast<std::size_t>(count) * 2 + 2);
    Tree* longCopy = make<Tree>();
    MemoryIStream longIn(bytes);
    EXPECT_TRUE(longCopy->onLoad(host, longIn));
    EXPECT_EQ(saved(host, *longCopy), bytes);
    Object::clear(host, longCopy);
}

}  // namespace kova_test
