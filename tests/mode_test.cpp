// The node base and its walks, and modes: levels over elapsed time, the
// events a mode sends to the nodes it governs, and the moving-out walks.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

// Logs every event and walk that reaches it into one shared list.
class ModeProbe : public Node {
    KOVA_RUNTIME_CLASS(ModeProbe)
public:
    bool onEvent(System&, Rectangle& rect, Mode&, EventData& data) override {
        if (log) log->push_back(label + " " + Event::name(data.type));
        seenRect = rect;
        return true;  // results of mode events are ignored
    }
    bool onUpdate(System&, Mode&, Rectangle&, float) override {
        if (log) log->push_back(label + " update");
        return !refuseUpdate;
    }
    void onPaint(System&, Mode&, Rectangle&, Rectangle*, EffectPipe&) override {
        if (log) log->push_back(label + " paint");
    }
    std::vector<std::string>* log = nullptr;
    std::string label;
    bool refuseUpdate = false;
    Rectangle seenRect;
};
KOVA_IMPLEMENT_CLASS_NAMED(ModeProbe, "kova_test::ModeProbe", &Node::absoluteClass)

// A probe that owns a mode of its own and governs one child chain.
class GoverningProbe : public ModeProbe {
    KOVA_RUNTIME_CLASS(GoverningProbe)
public:
    Mode* mode() override { return &own; }
    void iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) override {
        iterator.iterateChild(system, child, rect, own);
        Node::iterateIterator(system, mode, rect, iterator);
    }
    bool onStream(System& system, Stream& stream) override {
        return Node::onStream(system, stream) &&
               stream.streamChildNode(system, child, "Child", nullptr);
    }
    Mode own{2.0f, 2.0f, true};
    Node* child = nullptr;
};
KOVA_IMPLEMENT_CLASS_NAMED(GoverningProbe, "kova_test::GoverningProbe", &ModeProbe::absoluteClass)

class ModeTest : public HostTest<> {
protected:
    void TearDown() override {
        Node::clear(host, subtree);
        HostTest::TearDown();
    }
    template <class T = ModeProbe>
    T* probe(Node*& slot, const char* label) {
        T* node = make<T>(slot);
        node->label = label;
        node->log = &log;
        return node;
    }
    // Updates with the seven-argument form and returns the events it sent.
    std::vector<std::string> update(Mode& mode, float elapsed, bool inside, bool enabled,
                                    Node* to = nullptr) {
        log.clear();
        mode.update(host, nullptr, to ? to : subtree, rect, elapsed, inside, enabled);
        return log;
    }
    std::vector<std::string> update8(Mode& mode, float elapsed, bool inside, bool enabled,
                                     float level) {
        log.clear();
        mode.update(host, nullptr, subtree, rect, elapsed, inside, enabled, level);
        return log;
    }
    void movePointer(float x, float y) {
        host.pointerOldPosition() = host.pointerPosition();
        host.pointerPosition() = Coordinate2{x, y};
    }

    using Events = std::vector<std::string>;
    Node* subtree = nullptr;
    Rectangle rect{5.0f, 6.0f, 7.0f, 8.0f, 0.0f};
    std::vector<std::string> log;
};

TEST_F(ModeTest, EncodingOfLevelsAndFlags) {
    Mode mode(2.0f, 1.0f, true);
    EXPECT_EQ(mode.storedTarget(), -3.0f);
    EXPECT_EQ(mode.storedCurrent(), 1.0f);
    EXPECT_TRUE(mode.setFocus(host, true));
    EXPECT_EQ(mode.storedCurrent(), -2.0f);
    EXPECT_EQ(mode.currentLevel(), 1.0f);
    EXPECT_EQ(mode.targetLevel(), 2.0f);
    EXPECT_TRUE(mode.isInside());
    EXPECT_TRUE(mode.hasFocus());
    EXPECT_FALSE(mode.setFocus(host, true));  // nothing to change
    EXPECT_EQ(mode.storedCurrent(), -2.0f);

    Mode zero(0.0f, 0.0f, true);  // level 0 with the flag set is -1
    EXPECT_EQ(zero.storedTarget(), -1.0f);
    EXPECT_EQ(zero.targetLevel(), 0.0f);
    Mode copy;
    copy.set(mode);
    EXPECT_EQ(copy.storedTarget(), -3.0f);
    EXPECT_EQ(copy.storedCurrent(), -2.0f);

    host.increaseLockCount();
    EXPECT_FALSE(mode.setFocus(host, false));  // the lock refuses
    EXPECT_TRUE(mode.isLockedFocus(host));
    EXPECT_FALSE(zero.isLockedFocus(host));
    host.decreaseLockCount();
    EXPECT_FALSE(mode.isLockedFocus(host));
    EXPECT_TRUE(mode.setFocus(host, false));
    EXPECT_EQ(mode.storedCurrent(), 1.0f);

    EXPECT_EQ(Node::modeSpeed(2.0f, 1.0f), 3.0f);
    EXPECT_EQ(Node::modeSpeed(1.0f, 2.0f), -3.0f);
    EXPECT_EQ(Node::modeSpeed(1.0f, 1.0f), 0.0f);
    EXPECT_EQ(mode.paintDirection(host, nullptr), 3.0f);
    EXPECT_EQ(Mode(0.0f, 3.0f, false).paintDirection(host, nullptr), -3.0f);
    EXPECT_EQ(Mode(3.0f, 3.0f, true).paintDirection(host, nullptr), 0.0f);
}

TEST_F(ModeTest, PointerEntersAndLevelFollowsOverTime) {
    ModeProbe* first = probe(subtree, "a");
    probe(first->nextNode(0), "b");
    Mode mode(1.0f, 1.0f, false);
    EXPECT_EQ(update(mode, 0.0f, true, true),
              Events({"a GainFocus", "b GainFocus", "a PointerIn", "b PointerIn"}));
    EXPECT_EQ(first->seenRect.width, 7.0f);
    EXPECT_EQ(mode.storedTarget(), -3.0f);  // 2 with the pointer inside
    EXPECT_EQ(mode.currentLevel(), 1.0f);
    EXPECT_TRUE(mode.hasFocus());

    // The pointer stays and does not move: nothing to tell.
    EXPECT_EQ(update(mode, 0.1f, true, true), Events());
    EXPECT_FLOAT_EQ(mode.currentLevel(), 1.3f);
    EXPECT_TRUE(mode.hasFocus());
    EXPECT_EQ(update(mode, 0.3f, true, true), Events());
    EXPECT_EQ(mode.currentLevel(), 2.0f);  // exactly, no overshoot
    EXPECT_EQ(update(mode, 5.0f, true, true), Events());
    EXPECT_EQ(mode.currentLevel(), 2.0f);

    movePointer(1.0f, 0.0f);
    EXPECT_EQ(update(mode, 0.0f, true, true), Events({"a PointerMove", "b PointerMove"}));

    // Leaving: focus follows, 2 drops to 1, and the level falls.
    EXPECT_EQ(update(mode, 0.0f, false, true),
              Events({"a LostFocus", "b LostFocus", "a PointerOut", "b PointerOut"}));
    EXPECT_EQ(mode.storedTarget(), 1.0f);
    EXPECT_FALSE(mode.hasFocus());
    EXPECT_EQ(update(mode, 0.2f, false, true), Events());  // moved, but nobody cares
    EXPECT_FLOAT_EQ(mode.currentLevel(), 1.4f);
    EXPECT_EQ(update(mode, 1.0f, false, true), Events());
    EXPECT_EQ(mode.currentLevel(), 1.0f);

    // A NaN frame time moves nothing.
    Mode rising(2.0f, 1.0f, true);
    update(rising, std::numeric_limits<float>::quiet_NaN(), true, true);
    EXPECT_EQ(rising.currentLevel(), 1.0f);
}

TEST_F(ModeTest, FocusLockKeepsFocusAndEvents) {
    probe(subtree, "a");
    Mode mode(1.0f, 1.0f, false);
    host.increaseLockCount();
    EXPECT_EQ(update(mode, 0.0f, true, true), Events({"a PointerIn"}));
    EXPECT_FALSE(mode.hasFocus());
    EXPECT_EQ(mode.storedTarget(), -3.0f);
    host.decreaseLockCount();

    // Focused, then the lock holds the focus while the pointer leaves.
    EXPECT_EQ(update(mode, 0.0f, true, true), Events({"a GainFocus"}));
    host.increaseLockCount();
    EXPECT_EQ(update(mode, 0.0f, false, true), Events({"a PointerOut"}));
    EXPECT_TRUE(mode.hasFocus());
    EXPECT_EQ(mode.storedTarget(), 1.0f);
    EXPECT_EQ(update(mode, 0.0f, false, true), Events());
    movePointer(3.0f, 4.0f);
    EXPECT_EQ(update(mode, 0.0f, false, true), Events({"a PointerMoveOut"}));

    // Disabling a focused mode under the lock: LostFocus and Disable are sent,
    // the focus flag stays.
    EXPECT_EQ(update(mode, 0.0f, true, false), Events({"a LostFocus", "a Disable"}));
    EXPECT_TRUE(mode.hasFocus());
    EXPECT_TRUE(mode.isLockedFocus(host));
    EXPECT_EQ(mode.storedTarget(), -1.0f);  // level 0, flag = inside
    // Already disabled: only LostFocus again, since the lock still holds it.
    EXPECT_EQ(update(mode, 0.0f, false, false), Events({"a LostFocus"}));
    EXPECT_EQ(mode.storedTarget(), 0.0f);
    host.decreaseLockCount();
    EXPECT_EQ(update(mode, 0.0f, false, false), Events({"a LostFocus"}));
    EXPECT_FALSE(mode.hasFocus());
    EXPECT_EQ(update(mode, 0.0f, false, false), Events());
}

TEST_F(ModeTest, EnablingPressedAndStickyLevels) {
    probe(subtree, "a");
    Mode disabled(0.0f, 0.0f, false);
    EXPECT_EQ(update(disabled, 0.0f, false, true), Events({"a Enable"}));
    EXPECT_EQ(disabled.storedTarget(), 1.0f);
    EXPECT_FALSE(disabled.hasFocus());
    Mode entering(0.0f, 0.0f, false);
    EXPECT_EQ(update(entering, 0.5f, true, true),
              Events({"a Enable", "a GainFocus", "a PointerIn"}));
    EXPECT_EQ(entering.storedTarget(), -3.0f);
    EXPECT_EQ(entering.currentLevel(), 0.0f);  // animated before it changed target

    // A pressed region stays pressed whether the pointer comes or goes.
    Mode pressed(3.0f, 3.0f, false);
    pressed.setFocus(host, true);
    EXPECT_EQ(update(pressed, 0.0f, true, true), Events({"a PointerIn"}));
    EXPECT_EQ(pressed.storedTarget(), -4.0f);
    EXPECT_EQ(update(pressed, 0.0f, false, true), Events({"a LostFocus", "a PointerOut"}));
    EXPECT_EQ(pressed.storedTarget(), 3.0f);
    EXPECT_EQ(update(pressed, 0.0f, true, true), Events({"a GainFocus", "a PointerIn"}));
    EXPECT_EQ(pressed.targetLevel(), 3.0f);
    EXPECT_EQ(update(pressed, 0.0f, true, false), Events({"a LostFocus", "a Disable"}));
    EXPECT_EQ(pressed.storedTarget(), -1.0f);
    EXPECT_EQ(update(pressed, 0.5f, true, false), Events());
    EXPECT_FLOAT_EQ(pressed.currentLevel(), 1.5f);

    // The eight-argument form sets the target it is given.
    Mode sticky(1.0f, 1.0f, false);
    EXPECT_EQ(update8(sticky, 0.0f, true, true, 4.0f), Events({"a GainFocus", "a PointerIn"}));
    EXPECT_EQ(sticky.storedTarget(), -5.0f);
    EXPECT_EQ(update8(sticky, 1.0f, true, true, 4.0f), Events());
    EXPECT_EQ(sticky.currentLevel(), 4.0f);
    movePointer(9.0f, 9.0f);
    EXPECT_EQ(update8(sticky, 0.0f, true, true, 4.0f), Events({"a PointerMove"}));
    Mode stickyInside = sticky;
    EXPECT_EQ(update(stickyInside, 0.0f, true, true), Events({"a PointerMove"}));
    EXPECT_EQ(stickyInside.storedTarget(), -3.0f);  // back to 2
    Mode stickyOutside = sticky;
    EXPECT_EQ(update(stickyOutside, 0.0f, false, true), Events({"a LostFocus", "a PointerOut"}));
    EXPECT_EQ(stickyOutside.storedTarget(), 1.0f);

    // Eight arguments, leaving: no lowering of level 2, the given level wins.
    Mode leaving(2.0f, 2.0f, true);
    leaving.setFocus(host, true);
    EXPECT_EQ(update8(leaving, 0.0f, false, true, 2.0f), Events({"a LostFocus", "a PointerOut"}));
    EXPECT_EQ(leaving.storedTarget(), 2.0f);
    // Eight arguments from disabled: no Enable step.
    Mode off(0.0f, 0.0f, false);
    EXPECT_EQ(update8(off, 0.0f, false, true, 1.0f), Events());
    EXPECT_EQ(off.storedTarget(), 1.0f);
    EXPECT_EQ(update8(off, 0.0f, false, false, 1.0f), Events({"a Disable"}));
    EXPECT_EQ(off.storedTarget(), 0.0f);
}

TEST_F(ModeTest, WithoutSubtreeLevelsChangeAlikeAndNothingIsSent) {
    probe(subtree, "a");
    Mode with(1.0f, 1.0f, false);
    Mode without(1.0f, 1.0f, false);
    Node* none = nullptr;
    const bool steps[][2] = {{true, true},  {true, true},  {false, true},
                             {true, false}, {false, true}, {true, true}};
    for (const auto& step : steps) {
        update(with, 0.1f, step[0], step[1]);
        log.clear();
        without.update(host, nullptr, none, rect, 0.1f, step[0], step[1]);
        EXPECT_TRUE(log.empty());
        EXPECT_EQ(with.storedTarget(), without.storedTarget());
        EXPECT_EQ(with.storedCurrent(), without.storedCurrent());
    }
}

TEST_F(ModeTest, EventsStopAtNestedModes) {
    // a -> g(own mode; child d) -> c : the walk enters a's references, but
    // not those of g, so neither d nor the node after g hears the event.
    ModeProbe* a = probe(subtree, "a");
    GoverningProbe* g = probe<GoverningProbe>(a->nextNode(0), "g");
    probe(g->child, "d");
    probe(g->nextNode(0), "c");
    Mode mode(1.0f, 1.0f, false);
    EXPECT_EQ(update(mode, 0.0f, false, false), Events({"a Disable", "g Disable"}));
    // Starting at the governing node itself, its references are entered.
    EXPECT_EQ(update(mode, 0.0f, false, true, g), Events({"g Enable", "d Enable", "c Enable"}));
}

TEST_F(ModeTest, MovingOutAndMovedOut) {
    GoverningProbe* top = probe<GoverningProbe>(subtree, "top");
    top->own = Mode(3.0f, 3.0f, true);
    top->own.setFocus(host, true);
    GoverningProbe* inner = probe<GoverningProbe>(top->child, "inner");
    inner->own = Mode(0.0f, 0.5f, true);
    Mode outer(2.0f, 2.0f, true);

    MovingOutIterator moving;
    moving.iterate(host, subtree, rect, outer);
    EXPECT_EQ(outer.storedTarget(), 1.0f);
    EXPECT_EQ(outer.currentLevel(), 2.0f);  // left to fall over time
    EXPECT_EQ(top->own.storedTarget(), 1.0f);
    EXPECT_EQ(top->own.currentLevel(), 3.0f);
    EXPECT_EQ(inner->own.storedTarget(), -1.0f);  // disabled: untouched

    Mode pressed(3.0f, 2.5f, true);
    pressed.setFocus(host, true);
    top->own = pressed;
    Mode settling(1.0f, 1.7f, false);
    MovedOutIterator moved;
    moved.iterate(host, subtree, rect, settling);
    EXPECT_EQ(settling.storedTarget(), 1.0f);
    EXPECT_EQ(settling.storedCurrent(), 1.0f);
    EXPECT_EQ(top->own.storedTarget(), 1.0f);
    EXPECT_EQ(top->own.storedCurrent(), -2.0f);  // level 1, focus kept
    EXPECT_EQ(inner->own.storedTarget(), -1.0f);
    EXPECT_EQ(inner->own.currentLevel(), 0.5f);
    EXPECT_TRUE(log.empty());
}

TEST_F(ModeTest, NodeWalksAndSlots) {
    ModeProbe* a = probe(subtree, "a");
    ModeProbe* b = probe(a->nextNode(0), "b");
    probe(b->nextNode(0), "c");
    Mode mode;
    EffectPipe pipe;
    a->iteratePaint(host, mode, rect, nullptr, pipe);
    EXPECT_EQ(log, Events({"a paint", "b paint", "c paint"}));
    log.clear();
    EXPECT_TRUE(a->iterateUpdate(host, mode, rect, 0.5f));
    EXPECT_EQ(log, Events({"a update", "b update", "c update"}));
    log.clear();
    b->refuseUpdate = true;
    EXPECT_FALSE(a->iterateUpdate(host, mode, rect, 0.5f));
    EXPECT_EQ(log, Events({"a update", "b update"}));

    EXPECT_EQ(a->nextNodeCount(), 1);
    EXPECT_EQ(&a->nextNode(5), &a->nextNode(0));
    EXPECT_EQ(a->nextNode(5), b);
    EXPECT_EQ(a->nextNodeClassRequirement(3), Node::absoluteClass());
    EXPECT_EQ(a->mode(), nullptr);

    // Only node classes may be created into a node reference.
    Node* kept = b;
    EXPECT_FALSE(Node::create(host, kept, Action::absoluteClass()));
    EXPECT_FALSE(Node::create(host, kept, nullptr));
    EXPECT_EQ(kept, b);
    EXPECT_EQ(ModeProbe::absoluteClass()->classInstanceCount(), 3);

    // The visitor walk hands over the next-node slot itself, also when empty.
    struct SlotCollector : Iterator {
        void iterateNext(System&, Node*& node, Rectangle&, Mode&) override {
            slots.push_back(&node);
        }
        std::vector<Node**> slots;
    } collector;
    a->iterateIterator(host, mode, rect, collector);
    ModeProbe* c = static_cast<ModeProbe*>(b->nextNode(0));
    c->iterateIterator(host, mode, rect, collector);
    ASSERT_EQ(collector.slots.size(), 2u);
    EXPECT_EQ(collector.slots[0], &a->nextNode(0));
    EXPECT_EQ(collector.slots[1], &c->nextNode(0));
    EXPECT_EQ(*collector.slots[1], nullptr);

    // setNextNode stores without releasing what was there.
    a->setNextNode(7, c);
    EXPECT_EQ(a->nextNode(0), c);
    a->setNextNode(0, b);
    EXPECT_EQ(ModeProbe::absoluteClass()->classInstanceCount(), 3);
}

}  // namespace
}  // namespace kova_test
