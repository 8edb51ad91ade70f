// The pointer between host input and the message queue: its position, its
// graphical node, and the player numbers a DynamicIndexPointer gives pads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

// Sits at the root and logs the input index every button event arrives with.
class PlayerProbe : public Node {
    KOVA_RUNTIME_CLASS(PlayerProbe)
public:
    bool onEvent(System&, Rectangle&, Mode& mode, EventData& data) override {
        if (data.type >= Event::ButtonPress && data.type <= Event::UnicodeReleaseOutside)
            seen.push_back(std::string(Event::name(data.type)) + " " +
                           std::to_string(data.inputIndex));
        lastMode = mode;
        return false;
    }
    bool onUpdate(System&, Mode& mode, Rectangle& rect, float elapsed) override {
        updates.push_back(elapsed);
        lastRect = rect;
        lastMode = mode;
        return !refuseUpdate;
    }
    void onPaint(System&, Mode& mode, Rectangle& rect, Rectangle* clip, EffectPipe& pipe) override {
        ++paints;
        lastRect = rect;
        lastMode = mode;
        lastClip = clip;
        lastPipe = pipe;
    }
    std::vector<std::string> seen;
    std::vector<float> updates;
    int paints = 0;
    bool refuseUpdate = false;
    Rectangle lastRect;
    Mode lastMode;
    Rectangle* lastClip = nullptr;
    EffectPipe lastPipe;
};
KOVA_IMPLEMENT_CLASS_NAMED(PlayerProbe, "kova_test::PlayerProbe", &Node::absoluteClass)

class PointerTest : public HostTest<> {
protected:
    void SetUp() override {
        HostTest::SetUp();
        root = make<PlayerProbe>(host.firstNode());
        host.update(0.0f);  // the root mode takes the focus
    }
    DynamicIndexPointer* useDynamicPointer() {
        EXPECT_TRUE(Pointer::clear(host, host.pointer()));
        return make<DynamicIndexPointer>(host.pointer());
    }
    // Presses and releases Select on the given pads; returns the events seen.
    std::vector<std::string> presses(std::initializer_list<int> pads) {
        root->seen.clear();
        for (int pad : pads)
            host.buttonPress(Button::Select, pad, 1);
        host.update(0.0f);
        return root->seen;
    }
    std::vector<int> order(DynamicIndexPointer& pointer) {
        std::vector<int> players;
        for (int pad = 0; pad < 4; ++pad)
            players.push_back(pointer.playerOfPad(pad));
        return players;
    }

    using Seen = std::vector<std::string>;
    PlayerProbe* root = nullptr;
};

TEST_F(PointerTest, LockedPadsBecomePlayersInOrderOfFirstUse) {
    DynamicIndexPointer* pointer = useDynamicPointer();
    EXPECT_STREQ(pointer->actualClass()->fullName(), "tarn::kova::DynamicIndexPointer");
    EXPECT_STREQ(pointer->actualClass()->parentClass()->name(), "Pointer");
    EXPECT_FALSE(pointer->isLocked());
    EXPECT_EQ(order(*pointer), std::vector<int>({100, 100, 100, 100}));

    pointer->lock(true);
    EXPECT_EQ(presses({3, 1, 3, 2}),
              Seen({"ButtonPress 1", "ButtonPress 2", "ButtonPress 1", "ButtonPress 3"}));
    EXPECT_EQ(order(*pointer), std::vector<int>({2, 3, 1, 100}));
    EXPECT_EQ(pointer->assignedCount(), 3);
    EXPECT_EQ(pointer->lastPadIndex(), 1);
    EXPECT_EQ(pointer->padIndex(0), 2);
    EXPECT_EQ(pointer->padIndex(2), 1);
    EXPECT_EQ(pointer->padIndex(3), 0);  // nobody is player 4

    // Releases go out under the player number; a pad that never pressed has
    // none. Characters are not remapped.
    root->seen.clear();
    host.buttonRelease(Button::Select, 3);
    host.buttonRelease(Button::Select, 4);
    host.unicodePress('z', 3, 1);
    host.unicodeRelease('z', 4);
    host.update(0.0f);
    EXPECT_EQ(root->seen,
              Seen({"ButtonRelease 1", "ButtonRelease 100", "UnicodePress 3", "UnicodeRelease 4"}));

    // Player 1 leaves: players 2 and 3 move up.
    EXPECT_TRUE(pointer->removeLockedPadIndex(2));
    EXPECT_EQ(order(*pointer), std::vector<int>({1, 2, 100, 100}));
    EXPECT_EQ(pointer->assignedCount(), 2);
    EXPECT_TRUE(pointer->removeLockedPadIndex(2));  // has no number: nothing changes
    EXPECT_TRUE(pointer->removeLockedPadIndex(9));
    EXPECT_TRUE(pointer->removeLockedPadIndex(-1));
    EXPECT_EQ(order(*pointer), std::vector<int>({1, 2, 100, 100}));
    EXPECT_EQ(presses({4, 3}), Seen({"ButtonPress 3", "ButtonPress 4"}));

    // Input index 0 is no pad: posted as player 1, and it clears the table.
    EXPECT_EQ(presses({0}), Seen({"ButtonPress 1"}));
    EXPECT_EQ(order(*pointer), std::vector<int>({100, 100, 100, 100}));
    EXPECT_EQ(pointer->lastPadIndex(), 0);
    EXPECT_TRUE(pointer->isLocked());
    EXPECT_EQ(presses({2}), Seen({"ButtonPress 1"}));
    EXPECT_EQ(order(*pointer), std::vector<int>({100, 1, 100, 100}));

    // Indexes beyond the four pads are treated like index 0.
    EXPECT_EQ(presses({7, -3}), Seen({"ButtonPress 1", "ButtonPress 1"}));
    root->seen.clear();
    host.buttonRelease(Button::Select, 7);
    host.update(0.0f);
    EXPECT_EQ(root->seen, Seen({"ButtonRelease 1"}));

    pointer->lock(true);
    EXPECT_EQ(order(*pointer), std::vector<int>({100, 100, 100, 100}));
    EXPECT_EQ(pointer->assignedCount(), 0);
}

TEST_F(PointerTest, UnlockedEveryPadIsPlayerOne) {
    DynamicIndexPointer* pointer = useDynamicPointer();
    EXPECT_EQ(presses({4}), Seen({"ButtonPress 1"}));
    EXPECT_EQ(pointer->padIndex(0), 3);
    EXPECT_EQ(pointer->lastPadIndex(), 3);
    EXPECT_EQ(order(*pointer), std::vector<int>({100, 100, 100, 1}));
    EXPECT_EQ(pointer->assignedCount(), 1);
    EXPECT_EQ(presses({2, 1}), Seen({"ButtonPress 1", "ButtonPress 1"}));
    EXPECT_EQ(order(*pointer), std::vector<int>({1, 100, 100, 100}));
    root->seen.clear();
    host.buttonRelease(Button::Cancel, 3);
    host.update(0.0f);
    EXPECT_EQ(root->seen, Seen({"ButtonRelease 1"}));

    // Locking starts with an empty table; unlocking does too.
    pointer->lock(true);
    EXPECT_EQ(presses({2}), Seen({"ButtonPress 1"}));
    pointer->lock(false);
    EXPECT_EQ(order(*pointer), std::vector<int>({100, 100, 100, 100}));
    EXPECT_FALSE(pointer->isLocked());

    // The extra hooks carry no behaviour.
    pointer->lockPadIndex(2);
    pointer->unlockPadIndex();
    EXPECT_EQ(order(*pointer), std::vector<int>({100, 100, 100, 100}));

    FieldRecorder recorder;
    pointer->lock(true);
    presses({3});
    EXPECT_TRUE(pointer->onRegister(host, recorder));
    EXPECT_EQ(recorder.fields,
              std::vector<std::string>({"int 'Index order' 100", "int 'Index order' 100",
                                        "int 'Index order' 1", "int 'Index order' 100",
                                        "bool 'Is locked' true"}));
}

TEST_F(PointerTest, PositionGraphicalNodeAndNullPointer) {
    Pointer* pointer = host.pointer();
    ASSERT_NE(pointer, nullptr);
    EXPECT_STREQ(pointer->actualClass()->fullName(), "tarn::kova::Pointer");
    EXPECT_EQ(pointer->width(), 20.0f);
    EXPECT_EQ(pointer->height(), 20.0f);

    // The old position follows at the next update.
    EXPECT_TRUE(host.pointerMove(5.0f, 7.0f));
    EXPECT_EQ(host.pointerOldPosition().x, 0.0f);

    Node* node = nullptr;
    PlayerProbe* graphic = make<PlayerProbe>(node);
    pointer->setGraphicalNode(host, graphic);
    EXPECT_TRUE(host.update(0.25f));
    EXPECT_EQ(host.pointerOldPosition().x, 5.0f);
    EXPECT_EQ(host.pointerOldPosition().y, 7.0f);
    EXPECT_EQ(graphic->updates, std::vector<float>({0.25f}));
    EXPECT_EQ(valuesOf(graphic->lastRect), (Floats{5.0f, 7.0f, 20.0f, 20.0f, 0.0f}));
    EXPECT_EQ(graphic->lastMode.storedTarget(), 1.0f);
    EXPECT_EQ(graphic->lastMode.storedCurrent(), 1.0f);

    host.pointerMove(-3.0f, 2.0f);
    EXPECT_TRUE(host.paint());
    EXPECT_EQ(graphic->paints, 1);
    EXPECT_EQ(graphic->lastRect.x, -3.0f);
    EXPECT_EQ(graphic->lastClip, nullptr);
    EXPECT_EQ(graphic->lastPipe.next, nullptr);
    EXPECT_EQ(graphic->lastPipe.effect, nullptr);
    EXPECT_EQ(graphic->lastPipe.showDirection, 0.0f);
    EXPECT_EQ(graphic->lastPipe.showLevel, 1.0f);
    EXPECT_EQ(graphic->lastPipe.modeLevel, 1.0f);
    EXPECT_EQ(graphic->lastPipe.effectLevel, 1.0f);

    // A failing graphical node ends the frame before the host's last hook.
    graphic->refuseUpdate = true;
    host.calls.clear();
    EXPECT_FALSE(host.update(0.0f));
    EXPECT_EQ(host.calls, std::vector<std::string>({"onPreUpdate"}));

    // Replacing the graphical node releases the old one.
    EXPECT_EQ(PlayerProbe::absoluteClass()->classInstanceCount(), 2);
    pointer->setGraphicalNode(host, nullptr);
    EXPECT_EQ(PlayerProbe::absoluteClass()->classInstanceCount(), 1);
    EXPECT_TRUE(host.update(0.0f));

    // Without a pointer every entry point succeeds and nothing changes.
    EXPECT_TRUE(Pointer::move(host, nullptr, 40.0f, 41.0f));
    EXPECT_EQ(host.pointerPosition().x, -3.0f);
    EXPECT_TRUE(Pointer::update(host, nullptr, 1.0f));
    EXPECT_TRUE(Pointer::paint(host, nullptr));
    EXPECT_TRUE(Pointer::buttonPress(host, nullptr, 1, 0, 1));
    EXPECT_TRUE(Pointer::buttonRelease(host, nullptr, 1, 0));
    EXPECT_TRUE(Pointer::unicodePress(host, nullptr, 1, 0, 1));
    EXPECT_TRUE(Pointer::unicodeRelease(host, nullptr, 1, 0));
    EXPECT_EQ(host.messageManager()->queuedCount(), 0);
    Pointer* none = nullptr;
    EXPECT_TRUE(Pointer::clear(host, none));
}

}  // namespace
}  // namespace kova_test
