// Focus and tab stops: where direction buttons, Tab and a tab-stop number put
// the pointer over a grid of tab stops, the remembering managers around a
// screen's hide and show, the focus node, and the navigation, focus and event
// actions, down to the positions the host is told.
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace kova_test {
namespace {

// A 0 x 0 screen at the origin: the rectangles nodes receive are in the
// pointer's numbers.
class GridHost : public TestHost {
public:
    GridHost() : TestHost(0.0f, 0.0f) {}
};

// Keeps the index each move reports; -2 until one does.
class IndexManager : public TabstopManagerNode {
    KOVA_RUNTIME_CLASS(IndexManager)
public:
    void onIndexSet(System&, int index) override { told = index; }
    int told = -2;
};
KOVA_IMPLEMENT_CLASS_NAMED(IndexManager, "kova_test::FocusIndexManager",
                           &TabstopManagerNode::absoluteClass)

// A float variable holding v, as text.
std::string number(float v) {
    return "FloatData { \"Value <do not edit>\": " + printed(v) + " }";
}

// The grid in walk order, each stop placed by a transform of size 0. A
// variable tab stop switched off holds a plain stop 3 above it in its own
// chain. The enabled stops, numbered 0 to 8, are (0,0) (10,2) [(-2,0) off]
// (-2,-3) (5,0) (2,2) (3,4) (0,5) (-4,3) (0,-8), the last one variable.
std::string gridText() {
    const char* plain = "TabstopNode { Next node: null }";
    auto place = [](float x, float y, const std::string& node, const std::string& next) {
        return "TransformNode { Next node: " + next + " X: " + printed(x) + " Y: " + printed(y) +
               " Width: 0 Height: 0 Transformed node: " + node + " }";
    };
    const std::string off = "VariableTabstopNode { Next node: " + place(0, -3, plain, "null") +
                            " Variable: " + number(0) + " }";
    const std::string on = "VariableTabstopNode { Next node: null Variable: " + number(1) + " }";
    const std::pair<Floats, std::string> stops[] = {
        {{0, 0}, plain}, {{10, 2}, plain}, {{-2, 0}, off},   {{5, 0}, plain}, {{2, 2}, plain},
        {{3, 4}, plain}, {{0, 5}, plain},  {{-4, 3}, plain}, {{0, -8}, on}};
    std::string chain = "null";
    for (int i = 8; i >= 0; --i)
        chain = place(stops[i].first[0], stops[i].first[1], stops[i].second, chain);
    return chain;
}

// The text's root as a node.
Node* node(System& system, const std::string& text) {
    return static_cast<Node*>(readObject(system, text));
}

Floats at(const Coordinate2& c) {
    return {c.x, c.y};
}

EventData record(int type, int inputIndex = 1, float first = 1.0f, float second = 1.0f) {
    return EventData{type, inputIndex, first, second, 0.0f};
}

using FocusTest = HostTest<GridHost>;

// Direction buttons and Tab through a manager (told -2: not taken), and
// numbers through SetTabstopAction (button 0, the number in its variable).
TEST_F(FocusTest, TabStopMovesOverAGrid) {
    host.firstNode() = node(host, "kova_test::FocusIndexManager { Next node: " + gridText() + " }");
    auto* manager = static_cast<IndexManager*>(host.firstNode());
    Object* action = readObject(host, "SetTabstopAction { \"Tabstop index\": " + number(0) + " }");
    auto* select = static_cast<SetTabstopAction*>(action);
    Data* number = select->tabstopIndex();
    // clang-format off
    const struct { Floats from; int button; float index; bool locked; Floats to; int told; } rows[] = {
        // The diagonal (2,2) is nearer but in no direction; (-2,0) is off.
        {{0, 0}, Button::Rightwards, 0, false, {5, 0}, 3}, {{0, 0}, Button::Leftwards, 0, false, {-4, 3}, 7},
        {{0, 0}, Button::Upwards, 0, false, {-2, -3}, 2},  // inside the off stop
        {{0, 0}, Button::Downwards, 0, false, {3, 4}, 5},  // ties with (0,5)
        {{20, 0}, Button::Rightwards, 0, false, {20, 0}, -1}, {{0, 0}, Button::Rightwards, 0, true, {0, 0}, -2},
        {{0, 0}, Button::Select, 0, false, {0, 0}, -2}, {{0, 0}, Button::Tab, 0, false, {10, 2}, -1},
        {{10, 2}, Button::Tab, 0, false, {-2, -3}, -1},  // past the off stop
        {{0, -8}, Button::Tab, 0, false, {0, 0}, -1},    // wraps from the last
        {{-2, 0}, Button::Tab, 0, false, {0, 0}, -1},    // on no enabled stop
        {{9, 9}, 0, 2.9f, false, {-2, 0}, -2},           // numbers count off stops
        {{9, 9}, 0, 3, false, {-2, -3}, -2}, {{9, 9}, 0, 10, false, {9, 9}, -2},  // one past the last
        {{9, 9}, 0, 1e10f, false, {9, 9}, -2}, {{9, 9}, 0, -1, false, {9, 9}, -2}};
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        host.pointerPosition() = Coordinate2{row.from[0], row.from[1]};
        host.hostPointer = Coordinate2{-1, -1};
        manager->told = -2;
        number->set(host, row.index);
        EventData press = record(Event::ButtonPress);
        if (row.locked) host.increaseLockCount();
        bool taken = row.button ? manager->onButtonPress(host, host.clipRect(), host.mode(),
                                                         row.button, 1, 1)
                                : select->onEvent(host, host.clipRect(), host.mode(), press);
        if (row.locked) host.decreaseLockCount();
        Floats told = taken || !row.button ? row.to : Floats{-1, -1};  // what the host heard
        EXPECT_EQ((Floats{1.0f * taken, host.pointerPosition().x, host.pointerPosition().y,
                          1.0f * manager->told, host.hostPointer.x, host.hostPointer.y}),
                  (Floats{1.0f * (row.told != -2), row.to[0], row.to[1], 1.0f * row.told, told[0],
                          told[1]}));
    }
    EXPECT_TRUE(Object::clear(host, action));
}

// The remembering managers on a screen that a path node hides and shows, in
// one chain: one without a variable (it does nothing), the plain one, the
// extended one. Each step puts the pointer somewhere, acts, and reads the
// pointer and the index each keeps. Presses reach only the innermost one; a
// move that finds no stop (Right from (20,0)) tells -1, which is not kept.
TEST_F(FocusTest, RememberingManagersSaveOnHideAndRestoreOnShow) {
    enum { Show, Hide, Right, WaitShow, Gain, PreHide };
    // clang-format off
    // after: the pointer, and the index the plain and the extended manager keep.
    const struct { int step; Floats pointer, after; } steps[] = {
        {Show, {50, 50}, {0, 0, 0, 0}}, {Right, {0, 0}, {5, 0, 0, 3}}, {Right, {20, 0}, {20, 0, 0, 3}},
        {Hide, {-4, 3}, {-4, 3, 7, 7}}, {Show, {100, 100}, {-4, 3, 7, 7}}, {WaitShow, {100, 100}, {100, 100, 7, 7}},
        {Gain, {100, 100}, {-4, 3, 7, 7}}, {PreHide, {9, 9}, {9, 9, 8, 8}},  // none: the last
        {PreHide, {0, 0}, {0, 0, 8, 8}}, {WaitShow, {100, 100}, {0, -8, 8, 8}}};
    // clang-format on
    PathNode* path = make<PathNode>(host.firstNode());
    Node* screens[2] = {
        node(host,
             "NameNode \"A\" { Next node: ExtendedRememberingTabstopManagerNode { Next node: "
             "RememberingTabstopManagerNode { Next node: ExtendedRememberingTabstopManagerNode "
             "{ Next node: " +
                 gridText() + " Index: " + number(0) + " } } Index: null } }"),
        node(host, "NameNode \"B\" { Next node: null }")};
    Node* first = screens[0]->nextNode(0);
    auto* idle = static_cast<ExtendedRememberingTabstopManagerNode*>(first);
    auto* plain = static_cast<RememberingTabstopManagerNode*>(idle->nextNode(0));
    auto* extended = static_cast<ExtendedRememberingTabstopManagerNode*>(plain->nextNode(0));
    for (const auto& s : steps) {
        SCOPED_TRACE(&s - steps);
        host.pointerPosition() = Coordinate2{s.pointer[0], s.pointer[1]};
        if (s.step == Show || s.step == Hide) {
            path->setPath(static_cast<NameNode*>(screens[s.step]), 0, 0, 0, 0, false);
        } else if (s.step == Right) {
            host.buttonPress(Button::Rightwards, 1, 1);
        } else {
            EventData data = record(s.step == Gain       ? Event::GainFocus
                                    : s.step == WaitShow ? Event::PreWaitShow
                                                         : Event::PreHide);
            for (Node* manager : {first, idle->nextNode(0), plain->nextNode(0)})
                EXPECT_FALSE(manager->onEvent(host, host.clipRect(), *path->mode(), data));
        }
        EXPECT_TRUE(host.update(0.0f));
        EXPECT_EQ((Floats{host.pointerPosition().x, host.pointerPosition().y, 1.0f * plain->index(),
                          extended->indexVariable()->value(host)}),
                  s.after);
    }
    EXPECT_EQ(host.log.text, "");
}

// Each action with one record, from the pointer at (1,2), the lock at 0 and
// the last-input variable at 7.
TEST_F(FocusTest, FocusAndEventActions) {
    // clang-format off
    const std::string texts[] = {
        "SetFocusAction { x: " + number(30) + " y: null }", "SetFocusAction { x: " + number(30) + " y: " + number(40) + " }",
        "SetFocusAction { x: null y: null }", "LockFocusAction {}", "UnlockFocusAction {}", "RemoveEventAction {}",
        "LastInputIndexAction { \"Last input index\": IntData { \"Value <do not edit>\": 7 } }",
        "LastInputIndexAction { \"Last input index\": null }", "SetTabstopAction { \"Tabstop index\": null }"};
    // clang-format on
    Object* actions[9] = {};
    for (int i = 0; i < 9; ++i)
        actions[i] = readObject(host, texts[i]);
    Data* lastIndex = static_cast<LastInputIndexAction*>(actions[6])->lastInputIndex();
    // The tree: a focus node at x 0 -> a manager -> the grid -> a tail.
    host.firstNode() = node(
        host, "FocusNode { Next node: kova_test::FocusIndexManager { Next node: " + gridText() +
                  " } \"Focus X\": " + number(0) + " \"Focus Y\": null }");
    auto* manager = static_cast<IndexManager*>(host.firstNode()->nextNode(0));
    Node** tail = &manager->nextNode(0);
    while (*tail)
        tail = &(*tail)->nextNode(0);

    const EventData press = record(Event::ButtonPress, 3),
                    repeat = record(Event::ButtonPress, 3, 1, 2),
                    release = record(Event::ButtonRelease, 3, 1, 0),
                    unindexed = record(Event::ButtonPress, 0),
                    update = record(Event::Update, 0, 0.1f, 0);
    // clang-format off
    const struct { int action; EventData record; bool result; Floats pointer; int lock; float last; } rows[] = {
        {0, press, false, {30, 2}, 0, 7},  {1, press, false, {30, 40}, 0, 7},
        {2, press, false, {1, 2}, 0, 7},   {3, press, false, {1, 2}, 1, 7},
        {3, repeat, false, {1, 2}, 0, 7},  {3, release, false, {1, 2}, 0, 7},
        {4, update, false, {1, 2}, -1, 7}, {5, press, true, {1, 2}, 0, 7},
        {6, press, false, {1, 2}, 0, 2},   {6, unindexed, false, {1, 2}, 0, 7},
        {7, press, false, {1, 2}, 0, 7},   {8, press, false, {0, 0}, 0, 7},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        host.pointerPosition() = Coordinate2{1, 2};
        host.hostPointer = Coordinate2{-1, -1};
        lastIndex->set(host, 7.0f);
        EventData data = row.record;
        auto* action = static_cast<Action*>(actions[row.action]);
        EXPECT_EQ(action->onEvent(host, host.clipRect(), host.mode(), data), row.result);
        EXPECT_EQ(at(host.pointerPosition()), row.pointer);
        bool moves = row.action <= 2 || row.action == 8;
        EXPECT_EQ(at(host.hostPointer), moves ? row.pointer : (Floats{-1, -1}));
        EXPECT_EQ(host.focusLockCount(), row.lock);
        EXPECT_EQ(lastIndex->value(host), row.last);
        if (host.focusLockCount() > 0) host.decreaseLockCount();
        if (host.focusLockCount() < 0) host.increaseLockCount();
    }
    for (Object*& action : actions)
        EXPECT_TRUE(Object::clear(host, action));

    // Below the focus node the pointer stands at (0, y) for updates and
    // searches; elsewhere it stays where the host put it.
    host.pointerMove(100.0f, 0.0f);
    EXPECT_TRUE(host.update(0.1f));
    EXPECT_EQ(manager->nextNode(0)->mode()->targetLevel(), 2.0f);  // the stop at (0,0)
    EXPECT_TRUE(host.paint());
    EXPECT_EQ(at(host.pointerPosition()), (Floats{100, 0}));
    // A routed press: Rightwards from (0,0), where (100,0) has nothing to the
    // right; the host is told, then the focus node puts the pointer back. A
    // RemoveEventAction after the manager then takes presses first.
    host.buttonPress(Button::Rightwards, 1, 1);
    EXPECT_TRUE(host.update(0.0f));
    EXPECT_EQ(manager->told, 3);
    EXPECT_EQ(at(host.hostPointer), (Floats{5, 0}));
    EXPECT_EQ(at(host.pointerPosition()), (Floats{100, 0}));
    *tail = node(host, "ActionNode { Next node: null Action: RemoveEventAction {} }");
    manager->told = -2;
    host.buttonPress(Button::Rightwards, 1, 1);
    EXPECT_TRUE(host.update(0.0f));
    EXPECT_EQ(manager->told, -2);
    EXPECT_EQ(host.log.text, "");

    // Closed into a loop, moves, numbers, updates and paints stop at the
    // depth limit and say so once.
    (*tail)->nextNode(0) = host.firstNode();
    EXPECT_TRUE(manager->onButtonPress(host, host.clipRect(), host.mode(), Button::Tab, 1, 1));
    Object* select = readObject(host,
                                "SetTabstopAction { \"Tabstop index\": FloatData { "
                                "\"Value <do not edit>\": 1000000000 } }");
    EventData data = press;
    EXPECT_FALSE(static_cast<Action*>(select)->onEvent(host, host.clipRect(), host.mode(), data));
    EXPECT_TRUE(host.update(0.1f) && host.paint());
    EXPECT_EQ(host.log.text,
              "Kova: Error: Node tree deeper than 4096 nodes; is a node its own descendant?\r\n");
    (*tail)->nextNode(0) = nullptr;
    EXPECT_TRUE(Object::clear(host, select));
}

// The root item T (0) holds A (1), B (2) and C (3); B holds D (4) and E (5).
// A state is the cursor item and the current item of its level (-1: none);
// an item's action puts the pointer's x at the item's number, so the pointer
// tells which one ran. Every variant reports false and does nothing without a
// navigate tree.
TEST_F(FocusTest, NavigateActionsMoveThroughATree) {
    NavigateTree* tree = nullptr;
    EXPECT_TRUE(host.setObjectName(make<NavigateTree>(tree), "Menu"));
    Tree* plain = nullptr;
    EXPECT_TRUE(host.setObjectName(make<Tree>(plain), "Plain"));
    int item[6];
    for (int i = 0; i < 6; ++i) {
        item[i] = tree->insertChildItemLast(host, i == 0 ? 0 : item[i < 4 ? 0 : 2]);
        auto* run = make<SetFocusAction>(tree->navigateTreeObject(item[i])->action());
        make<FloatData>(run->x())->set(host, static_cast<float>(i));
    }
    auto handle = [&](int i) { return i < 0 ? 0 : item[i]; };
    // clang-format off
    const struct { const char* cls; int cursor, current, endCursor, endCurrent; float ran; } rows[] = {
        // The sibling index action goes to index 2; run-and-child runs also without a child.
        {"NavigateAction", 0, 1, 0, 1, -1}, {"NavigateNextSiblingAction", 0, 1, 0, 2, -1},
        {"NavigatePreviousSiblingAction", 0, 2, 0, 1, -1}, {"NavigateFirstSiblingAction", 0, 3, 0, 1, -1},
        {"NavigateLastSiblingAction", 0, 1, 0, 3, -1}, {"NavigateSiblingIndexAction", 0, 1, 0, 3, -1},
        {"NavigateChildAction", 0, 2, 2, 4, -1}, {"NavigateParentAction", 2, 5, 0, 2, -1},
        {"NavigateRunAction", 2, 5, 2, 5, 2}, {"NavigateRunAndChildAction", 0, 2, 2, 4, 0},
        {"NavigateRunAndChildAction", 1, -1, 1, -1, 1}, {"NavigateChildAndRunAction", 0, 2, 2, 4, 2},
        {"NavigateChildAndRunAction", 1, -1, 1, -1, -1}, {"NavigateParentAndRunAction", 2, 4, 0, 2, 0},
        {"NavigateParentAndRunAction", 0, 1, 0, 1, -1}};
    // clang-format on
    EventData press = record(Event::ButtonPress);
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        Action* action = nullptr;
        ASSERT_TRUE(Object::create(host, action, RuntimeClass::findClass(row.cls)));
        if (action->actualClass() == NavigateSiblingIndexAction::absoluteClass())
            static_cast<NavigateSiblingIndexAction*>(action)->index() = 2;
        for (Tree* t : {static_cast<Tree*>(nullptr), plain, static_cast<Tree*>(tree)}) {
            static_cast<NavigateAction*>(action)->actionTree() = t;
            // To the root, D current below B, into the cursor item, current set.
            while (tree->moveFocusOut()) {
            }
            tree->setFocus(item[4]);
            tree->setFocus(handle(row.cursor ? row.cursor : row.current));
            if (row.cursor) tree->moveFocusIn();
            tree->setFocus(handle(row.current));
            host.pointerPosition() = Coordinate2{-1, -1};
            EXPECT_FALSE(action->onEvent(host, host.clipRect(), host.mode(), press));
            bool moves = t == tree;
            EXPECT_EQ((Floats{1.0f * tree->focusHandle(), 1.0f * tree->child(tree->focusHandle()),
                              host.pointerPosition().x}),
                      (Floats{1.0f * handle(moves ? row.endCursor : row.cursor),
                              1.0f * handle(moves ? row.endCurrent : row.current),
                              moves ? row.ran : -1.0f}));
        }
        EXPECT_TRUE(Object::clear(host, action));
    }
}

}  // namespace
}  // namespace kova_test
