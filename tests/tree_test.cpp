// Trees of items: building and editing levels, the stored form (exact bytes,
// own files, damaged input), the navigation cursor and its actions, and
// trees too deep or too long for a walk that recursed per item.
#include <cctype>
#include <cstdio>

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

class TreeTest : public HostTest<FileHost> {
protected:
    void TearDown() override {
        EXPECT_TRUE(Object::clear(host, tree) && Object::clear(host, plain));
        HostTest::TearDown();
    }
    // Items are named by their handles as letters: a is 1, b is 2 and so on;
    // "-" is no item.
    static int h(char letter) { return letter == '-' ? 0 : letter - 'a' + 1; }
    static char letter(int handle) { return static_cast<char>(handle ? 'a' + handle - 1 : '-'); }
    // Each level from its first item, the current one starred, children in
    // brackets; every link is checked against its opposite on the way.
    static std::string layout(Tree& t, int current = -1) {
        if (current < 0) current = t.root();
        std::string out;
        for (int item = t.firstSibling(current); item; item = t.nextSibling(item)) {
            out += (out.empty() ? "" : " ") + std::string(1, letter(item)) +
                   (item == current ? "*" : "");
            int next = t.nextSibling(item), child = t.child(item);
            EXPECT_EQ(t.parent(item), t.parent(current)) << out;
            EXPECT_EQ(next ? t.previousSibling(next) : t.lastSibling(current), item) << out;
            if (child) out += "(" + layout(t, child) + ")";
            EXPECT_EQ(child ? t.parent(child) : item, item) << out;
        }
        return out;
    }
    // Builds a tree from such a text: items are made as the last children of
    // their parents in reading order, so the letters come in alphabetical order.
    void build(Tree& t, const std::string& text) {
        std::vector<int> parents = {0};
        int last = 0;
        for (char c : text) {
            if (c == '(') parents.push_back(last);
            if (c == ')') parents.pop_back();
            if (c == '*') t.setFocus(last);
            if (std::isalpha(c)) last = t.insertChildItemLast(host, parents.back());
        }
        EXPECT_EQ(layout(t), text);
    }
    // Checks rows "command item -> outcome" applied to t in order. An edit
    // gives the item it made, if any, and the layout; a capitalised command
    // moves the navigation cursor and gives whether it moved (1 or 0), the
    // cursor and the cursor's current child.
    void script(Tree& t, const std::vector<std::string>& rows) {
        expectRows(rows, [&](const std::string& row) {
            std::string command = row.substr(0, row.find(' '));
            int item = h(row.back()), made = -1;
            if (command == "first") made = t.insertChildItemFirst(host, item);
            if (command == "last") made = t.insertChildItemLast(host, item);
            if (command == "before") made = t.insertItemBefore(host, item);
            if (command == "after") made = t.insertItemAfter(host, item);
            EXPECT_TRUE(command != "remove" || t.removeHandle(host, item));
            if (command == "focus") t.setFocus(item);
            if (command == "up") t.moveUp(item);
            if (command == "down") t.moveDown(item);
            if (command == "intoNext") t.moveIntoNext(item);
            if (command == "intoPrevious") t.moveIntoPrevious(item);
            if (command == "out") t.moveOut(item);
            if (std::islower(command[0]))
                return (made < 0 ? "" : std::string(1, letter(made)) + ": ") + layout(t);
            Rectangle rect;
            Mode mode;
            bool moved = command == "Out"     ? tree->moveFocusOut()
                         : command == "In"    ? tree->moveFocusIn()
                         : command == "Next"  ? tree->moveFocusNext()
                         : command == "Prev"  ? tree->moveFocusPrevious()
                         : command == "First" ? tree->moveFocusFirst()
                         : command == "Last"  ? tree->moveFocusLast()
                         : command == "Index" ? tree->moveFocusIndex(std::stoi(row.substr(6)))
                                              : tree->callFocusAction(host, rect, mode);
            int cursor = tree->focusHandle();
            return std::to_string(moved) + " " + letter(cursor) + " " + letter(tree->child(cursor));
        });
    }
    Bytes saved(Tree& t) {
        FileOStream out;
        return t.onSave(host, out) ? out.bytes() : Bytes{'?'};
    }
    // The length copyDescription answers and the text it wrote.
    std::string described(Tree& t, int item, int size = 8) {
        char text[8] = "garbage";
        return std::to_string(t.copyDescription(host, item, text, size)) + " " + text + "|";
    }
    void describe(int item, const char* text) {
        make<StringData>(tree->navigateTreeObject(item)->description())->set(host, text);
    }
    // Objects whose run-time class is Object itself: tree items.
    static int itemCount() { return Object::absoluteClass()->classInstanceCount(); }

    NavigateTree* tree = make<NavigateTree>();
    Tree* plain = make<Tree>();
};

// The first item of a level becomes its current one; later ones go to its
// ends or beside an item and leave it current. Nothing goes beside no item
// or under a missing one.
TEST_F(TreeTest, BuildsLevelsThatRememberTheirCurrentItem) {
    script(*plain, {"after - -> -: ", "before - -> -: ", "last i -> -: ", "last - -> a: a*",
                    "last - -> b: a* b", "first - -> c: c a* b", "first a -> d: c a*(d*) b",
                    "before d -> e: c a*(e d*) b", "after d -> f: c a*(e d* f) b",
                    "first f -> g: c a*(e d* f(g*)) b", "focus f -> c a*(e d f*(g*)) b",
                    "focus b -> c a(e d f*(g*)) b*"});
    EXPECT_EQ(described(*plain, h('b'), 4) + std::to_string(itemCount()), "0 |7");
}

// What removed items owned goes with them, but a named description stays
// with the name directory; the last handle freed is given out first.
TEST_F(TreeTest, RemovingKeepsTheLevelLinkedAndReleasesTheSubtree) {
    build(*tree, "a b*(c d(e*) f*) g");
    describe(h('d'), "Why");
    make<TreeTestAction>(tree->navigateTreeObject(h('d'))->action());
    Data* shared = host.registerData(new StringData("Shared", "Label"), nullptr);
    tree->navigateTreeObject(h('c'))->description() = shared;
    script(*tree, {"remove f -> a b*(c d*(e*)) g", "remove d -> a b*(c*) g", "remove b -> a* g",
                   "remove a -> g*", "remove - -> g*", "remove a -> g*", "remove g -> ",
                   "first - -> g: g*"});
    EXPECT_EQ((std::vector<int>{itemCount(), StringData::absoluteClass()->classInstanceCount(),
                                TreeTestAction::absoluteClass()->classInstanceCount()}),
              (std::vector<int>{1, 1, 0}));
    EXPECT_EQ(host.findNamedObject("Label"), shared);
}

// Up and down swap with a neighbour. Into a sibling without children: its
// only and current child; into one with children: just before its current
// child. A current item moving into a sibling hands its place to that
// sibling, even when it has a previous one; moving out (to right after the
// former parent), it hands its place to its previous sibling, if any.
TEST_F(TreeTest, MovesItemsWithinAndBetweenLevels) {
    build(*plain, "a b c* d");
    script(*plain,
           {"up c -> a c* b d", "up a -> a c* b d", "down d -> a c* b d", "up - -> a c* b d",
            "down a -> c* a b d", "intoNext a -> c* b(a*) d", "intoPrevious d -> c* b(d a*)",
            "intoNext c -> b*(d c a*)", "intoNext a -> b*(d c a*)", "intoPrevious d -> b*(d c a*)",
            "intoNext - -> b*(d c a*)", "last - -> e: b*(d c a*) e", "focus c -> b*(d c* a) e",
            "out c -> b*(d* a) c e", "out a -> b*(d*) a c e", "out d -> b* d a c e",
            "out d -> b* d a c e", "focus a -> b d a* c e", "intoNext a -> b d c*(a*) e"});
}

// The action sees a first press of a button on input index 0; descriptions
// are cut to the buffer; removing the cursor's branch moves the cursor out.
TEST_F(TreeTest, NavigatesTheCursorsLevelAndRunsTheFocusedAction) {
    script(*tree, {"In -> 0 - -", "Next -> 0 - -", "Run -> 0 - -"});
    // A tree built in code navigates from its root, as a loaded one does.
    build(*tree, "a*(b* c(d* e) f)");
    describe(h('b'), "Alpha"), describe(h('c'), "Beta");
    make<TreeTestAction>(tree->navigateTreeObject(h('c'))->action());
    script(*tree, {"Out -> 0 a b",     "First -> 0 a b",   "Prev -> 0 a b",     "Next -> 1 a c",
                   "Last -> 1 a f",    "Last -> 0 a f",    "Next -> 0 a f",     "Prev -> 1 a c",
                   "Index 1 -> 0 a c", "Index 3 -> 0 a c", "Index -1 -> 0 a c", "Index 0 -> 1 a b",
                   "Next -> 1 a c",    "Run -> 0 a c",     "In -> 1 c d",       "Run -> 1 c d",
                   "In -> 1 d -",      "In -> 0 d -",      "Run -> 0 d -",      "Next -> 0 d -"});
    EXPECT_EQ(host.calls, std::vector<std::string>{"run 1 0 1 1 0"});
    EXPECT_EQ(described(*tree, h('b')) + described(*tree, h('b'), 3) + described(*tree, h('f')) +
                  described(*tree, 0),
              "5 Alpha|3 Al|0 |0 |");
    script(*tree, {"remove c -> a*(b* f)", "Run -> 0 a b", "In -> 1 b -", "Out -> 1 a b",
                   "Out -> 0 a b", "remove a -> ", "Run -> 0 - -"});
}

// A level is stored as its current item, its earlier items walking left and
// its later items walking right, each followed by the level below it. Read
// back, the items take their handles in reading order; reading again
// replaces what the tree held, and any non-zero flag is true.
TEST_F(TreeTest, StoresEachLevelAsCurrentThenEarlierThenLaterItems) {
    EXPECT_EQ(saved(*plain), (Bytes{0}));
    build(*plain, "a b* c");
    EXPECT_EQ(saved(*plain), (Bytes{1, 0, 1, 0, 0, 1, 0, 0}));
    script(*plain, {"last a -> d: a(d*) b* c", "last c -> e: a(d*) b* c(e*)"});
    Bytes bytes = saved(*plain);
    EXPECT_EQ(bytes, (Bytes{1, 0, 1, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0}));
    Tree* copy = make<Tree>();
    MemoryIStream in(bytes), twos({2, 0, 0, 0});
    EXPECT_TRUE(copy->onLoad(host, in));
    EXPECT_EQ(layout(*copy) + std::to_string(in.left()), "b(c*) a* d(e*)0");
    EXPECT_TRUE(copy->onLoad(host, twos) && saved(*copy) == Bytes({1, 0, 0, 0}));
    EXPECT_EQ(itemCount(), 6);
    Object::clear(host, copy);
}

// A stream that ends after three levels leaves the items read linked; a
// description record cut short stops the read.
TEST_F(TreeTest, DamagedStoredFormsStopWhereTheyFail) {
    MemoryIStream cut({1, 1, 1}), shortRecord({1, 8, 0, 0});
    EXPECT_FALSE(plain->onLoad(host, cut) || tree->onLoad(host, shortRecord));
    EXPECT_EQ(layout(*plain) + std::to_string(itemCount()), "a*(b*(c*))4");
}

TEST_F(TreeTest, ANamedTreeKeepsAFileOfItsOwn) {
    auto* named = new NavigateTree();
    named->setName("Main");
    ASSERT_EQ(host.registerObject(named, "Menus"), named);
    build(*named, "a*(b c*)");
    make<StringData>(named->navigateTreeObject(h('a'))->description())->set(host, "Go");
    ASSERT_TRUE(host.save());
    // The tree's fields are its items: a, its description as a full record
    // and no action; c, a's current child, with two null records, no child
    // and b before it, with two null records; then b's child, b's previous,
    // c's next and a's two flags.
    Bytes none = recordBytes(0, 0);
    Bytes expected = fileHeader({"tarn::kova::NavigateTree", "tarn::kova::StringData"}) +
                     Bytes{1, 0, 1} + recordBytes(0, 2, {2, 0, 0, 0, 'G', 'o'}) + none + Bytes{1} +
                     none + none + Bytes{0, 1} + none + none + Bytes(5, 0);
    EXPECT_EQ(host.files["Menus/Main"], expected);

    // Re-registering a named description reaches the items of named trees.
    named->navigateTreeObject(h('c'))->description() =
        host.registerData(new StringData("First", "Label"), nullptr);
    EXPECT_EQ(host.reRegisterObject(new StringData("Second", "Label"), nullptr, true, false),
              nullptr);
    EXPECT_EQ(described(*named, h('c')), "6 Second|");
}

// 200000 levels or siblings: a walk that recursed per item would run out of
// stack (and the sanitizer build makes every frame larger).
TEST_F(TreeTest, DeepAndLongTreesAreWalkedInLoops) {
    const int count = 200000;
    for (int i = 0, deep = 0, wide = 0; i < count; ++i) {
        deep = tree->insertChildItemFirst(host, deep);
        wide = i ? plain->insertItemAfter(host, wide) : plain->insertChildItemFirst(host, 0);
    }
    describe(count, "Bottom");
    plain->setFocus(count / 2);
    // Deep, per item: its flag, two null records (6 bytes each outside an
    // object file) and two flags for its empty sibling sides; then the
    // bottom's empty child flag, and the description's record in place of a
    // null one. Long: each item's flag and empty child flag, and two ends.
    // The last item read is the bottom; clearing frees its description.
    for (Tree* t : {static_cast<Tree*>(tree), plain}) {
        Bytes bytes = saved(*t);
        EXPECT_EQ(bytes.size(), t == tree ? count * 15 + 33u : count * 2 + 2u);
        Object* copy = nullptr;
        ASSERT_TRUE(Object::create(host, copy, t->actualClass()));
        MemoryIStream in(bytes);
        EXPECT_TRUE(copy->onLoad(host, in) && saved(*static_cast<Tree*>(copy)) == bytes);
        EXPECT_EQ(described(*static_cast<Tree*>(copy), count), t == tree ? "6 Bottom|" : "0 |");
        Object::clear(host, copy);
    }
    EXPECT_EQ(StringData::absoluteClass()->classInstanceCount(), 1);
}

}  // namespace kova_test
