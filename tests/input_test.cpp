// Input from the host's entry points to the nodes: queued until update, routed
// along the focused path innermost first, with the pressed look of Select,
// and message records recycled through the free list.
#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

// Logs the events and (optionally) the updates that reach it.
class InputProbe : public Node {
    KOVA_RUNTIME_CLASS(InputProbe)
public:
    using Node::onEvent;
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override {
        if (log) {
            std::string line = label + " " + Event::name(data.type);
            if (data.type >= Event::ButtonPress && data.type <= Event::UnicodeReleaseOutside) {
                line += " " + std::to_string(Node::onEvent(system, rect, mode, data) ? 1 : 0);
                line += " " + argument;
            }
            log->push_back(line);
        }
        bool press = data.type == Event::ButtonPress;
        if (press && postOnPress) {
            postOnPress = false;
            system.postMessage(Event::UnicodePress, 9, 33.0f, 1.0f, 0.0f);
        }
        return press && takesPress;
    }
    // The dispatcher's view of the arguments, kept for the log line.
    bool onButtonPress(System&, Rectangle&, Mode&, int button, int inputIndex,
                       int repeatCount) override {
        argument = std::to_string(button) + " " + std::to_string(inputIndex) + " " +
                   std::to_string(repeatCount);
        return false;
    }
    bool onButtonRelease(System&, Rectangle&, Mode&, int button, int inputIndex) override {
        argument = std::to_string(button) + " " + std::to_string(inputIndex);
        return false;
    }
    bool onButtonReleaseOutside(System& system, Rectangle& rect, Mode& mode, int button,
                                int inputIndex) override {
        return onButtonRelease(system, rect, mode, button, inputIndex);
    }
    bool onUnicodePress(System& system, Rectangle& rect, Mode& mode, int character, int inputIndex,
                        int repeatCount) override {
        return onButtonPress(system, rect, mode, character, inputIndex, repeatCount);
    }
    bool onUnicodeRelease(System& system, Rectangle& rect, Mode& mode, int character,
                          int inputIndex) override {
        return onButtonRelease(system, rect, mode, character, inputIndex);
    }
    bool onUnicodeReleaseOutside(System& system, Rectangle& rect, Mode& mode, int character,
                                 int inputIndex) override {
        return onButtonRelease(system, rect, mode, character, inputIndex);
    }
    bool onUpdate(System&, Mode&, Rectangle&, float elapsed) override {
        if (log && logUpdates) log->push_back(label + " update" + (elapsed == 0.0f ? " 0" : ""));
        return true;
    }

    std::vector<std::string>* log = nullptr;
    std::string label;
    std::string argument;
    bool takesPress = false;
    bool logUpdates = false;
    bool postOnPress = false;
};
KOVA_IMPLEMENT_CLASS_NAMED(InputProbe, "kova_test::InputProbe", &Node::absoluteClass)

// Governs a region of the screen with a mode of its own, the way region
// owners drive their modes: inside when the parent's pointer is inside and
// the pointer lies in the area, enabled while the parent is not disabled.
class RegionProbe : public InputProbe {
    KOVA_RUNTIME_CLASS(RegionProbe)
public:
    Mode* mode() override { return &own; }
    bool iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override {
        Coordinate2& at = system.pointerPosition();
        bool inside = mode.isInside() && at.x >= area.x && at.x <= area.x + area.width &&
                      at.y >= area.y && at.y <= area.y + area.height;
        own.update(system, this, child, area, elapsed, inside, mode.targetLevel() >= 1.0f);
        if (child && !child->iterateUpdate(system, own, area, elapsed)) return false;
        return Node::iterateUpdate(system, mode, rect, elapsed);
    }
    void iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) override {
        iterator.iterateChild(system, child, area, own);
        Node::iterateIterator(system, mode, rect, iterator);
    }
    bool onStream(System& system, Stream& stream) override {
        return Node::onStream(system, stream) &&
               stream.streamChildNode(system, child, "Child", nullptr);
    }
    Mode own{1.0f, 1.0f, false};
    Rectangle area{0.0f, 0.0f, 100.0f, 100.0f, 0.0f};
    Node* child = nullptr;
};
KOVA_IMPLEMENT_CLASS_NAMED(RegionProbe, "kova_test::RegionProbe", &InputProbe::absoluteClass)

using Events = std::vector<std::string>;

class InputTest : public HostTest<> {
protected:
    // Root chain a -> r, where region r governs b -> c. The pointer starts at
    // (0, 0), on the region's corner.
    void SetUp() override {
        HostTest::SetUp();
        a = probe<InputProbe>(host.firstNode(), "a");
        r = probe<RegionProbe>(a->nextNode(0), "r");
        b = probe<InputProbe>(r->child, "b");
        c = probe<InputProbe>(b->nextNode(0), "c");
        EXPECT_TRUE(host.update(1.0f));
        EXPECT_EQ(log, Events({"b GainFocus", "c GainFocus", "b PointerIn", "c PointerIn"}));
        EXPECT_TRUE(host.update(1.0f));  // levels settle at 2
        log.clear();
    }
    template <class T>
    T* probe(Node*& slot, const char* label) {
        T* node = make<T>(slot);
        node->label = label;
        node->log = &log;
        return node;
    }
    Events frame(float elapsed = 0.0f) {
        log.clear();
        EXPECT_TRUE(host.update(elapsed));
        return log;
    }
    void logUpdates(bool on = true) {
        for (InputProbe* p : {a, static_cast<InputProbe*>(r), b, c})
            p->logUpdates = on;
    }
    int freeCount() { return host.messageManager()->freeCount(); }
    int queuedCount() { return host.messageManager()->queuedCount(); }

    std::vector<std::string> log;
    InputProbe* a = nullptr;
    RegionProbe* r = nullptr;
    InputProbe* b = nullptr;
    InputProbe* c = nullptr;
};

TEST_F(InputTest, SelectPressRoutesInnermostFirstAndDrivesThePressedLook) {
    EXPECT_EQ(r->own.storedTarget(), -3.0f);  // focused, pointer inside
    EXPECT_EQ(r->own.currentLevel(), 2.0f);
    EXPECT_TRUE(r->own.hasFocus());

    EXPECT_TRUE(host.buttonPress(Button::Select, 2, 1));
    EXPECT_TRUE(log.empty());  // nothing is delivered before update
    EXPECT_EQ(queuedCount(), 1);
    logUpdates();
    EXPECT_EQ(frame(0.5f),
              Events({"a update", "b update", "c update", "r update", "c ButtonPress 0 1 2 1",
                      "b ButtonPress 0 1 2 1", "r ButtonPress 0 1 2 1", "a ButtonPress 0 1 2 1",
                      "a update 0", "b update 0", "c update 0", "r update 0"}));
    EXPECT_EQ(queuedCount(), 0);
    EXPECT_EQ(host.mode().storedTarget(), -4.0f);  // pressed, pointer inside
    EXPECT_EQ(r->own.storedTarget(), -4.0f);
    EXPECT_EQ(r->own.currentLevel(), 2.0f);

    logUpdates(false);
    EXPECT_EQ(frame(0.1f), Events());
    EXPECT_FLOAT_EQ(r->own.currentLevel(), 2.3f);
    EXPECT_FLOAT_EQ(host.mode().currentLevel(), 2.3f);
    EXPECT_EQ(r->own.storedTarget(), -4.0f);  // update keeps the pressed level

    EXPECT_TRUE(host.buttonRelease(Button::Select, 2));
    EXPECT_EQ(frame(0.1f), Events({"c ButtonRelease 0 1 2", "b ButtonRelease 0 1 2",
                                   "r ButtonRelease 0 1 2", "a ButtonRelease 0 1 2"}));
    EXPECT_EQ(r->own.storedTarget(), -3.0f);
    EXPECT_EQ(host.mode().targetLevel(), 2.0f);
    EXPECT_FLOAT_EQ(r->own.currentLevel(), 2.6f);  // the frame animated before the release
    frame(0.25f);
    EXPECT_EQ(r->own.currentLevel(), 2.0f);
}

TEST_F(InputTest, FirstTakerEndsAPressButCharactersReachEveryone) {
    b->takesPress = true;
    c->takesPress = true;
    host.buttonPress(Button::Cancel, 1, 1);
    EXPECT_EQ(frame(), Events({"c ButtonPress 0 2 1 1"}));

    c->takesPress = false;
    host.buttonPress(Button::Downwards, 0, 3);
    EXPECT_EQ(frame(), Events({"c ButtonPress 0 8 0 3", "b ButtonPress 0 8 0 3"}));

    host.unicodePress(0x20AC, 4, 1);
    host.unicodeRelease(0x20AC, 4);
    EXPECT_EQ(frame(), Events({"c UnicodePress 0 8364 4 1", "b UnicodePress 0 8364 4 1",
                               "r UnicodePress 0 8364 4 1", "a UnicodePress 0 8364 4 1",
                               "c UnicodeRelease 0 8364 4", "b UnicodeRelease 0 8364 4",
                               "r UnicodeRelease 0 8364 4", "a UnicodeRelease 0 8364 4"}));
    // Characters never press anything.
    EXPECT_EQ(r->own.targetLevel(), 2.0f);
}

TEST_F(InputTest, PostedInOrderEachWithItsOwnUpdatePass) {
    logUpdates();
    host.buttonPress(Button::Upwards, 0, 1);
    host.buttonPress(Button::Leftwards, 0, 1);
    c->takesPress = true;
    frame();
    Events routed(log.end() - 10, log.end());
    EXPECT_EQ(routed, Events({"c ButtonPress 0 6 0 1", "a update 0", "b update 0", "c update 0",
                              "r update 0", "c ButtonPress 0 5 0 1", "a update 0", "b update 0",
                              "c update 0", "r update 0"}));

    // A message posted by a handler is worked off in the same update.
    logUpdates(false);
    c->postOnPress = true;
    host.buttonPress(Button::Home, 0, 1);
    EXPECT_EQ(frame(),
              Events({"c ButtonPress 0 9 0 1", "c UnicodePress 0 33 9 1", "b UnicodePress 0 33 9 1",
                      "r UnicodePress 0 33 9 1", "a UnicodePress 0 33 9 1"}));
    EXPECT_EQ(queuedCount(), 0);
}

TEST_F(InputTest, RepeatsAndTheFocusLockLeaveThePressedLookAlone) {
    host.buttonPress(Button::Select, 0, 2);  // an automatic repeat
    frame();
    EXPECT_EQ(r->own.targetLevel(), 2.0f);
    EXPECT_EQ(host.mode().targetLevel(), 2.0f);
    host.buttonPress(Button::Start, 0, 1);  // not Select
    frame();
    EXPECT_EQ(r->own.targetLevel(), 2.0f);

    host.increaseLockCount();
    host.buttonPress(Button::Select, 0, 1);
    EXPECT_EQ(frame(), Events({"c ButtonPress 0 1 0 1", "b ButtonPress 0 1 0 1",
                               "r ButtonPress 0 1 0 1", "a ButtonPress 0 1 0 1"}));
    EXPECT_EQ(r->own.targetLevel(), 2.0f);
    host.decreaseLockCount();

    host.buttonPress(Button::Select, 0, 1);
    frame();
    EXPECT_EQ(r->own.targetLevel(), 3.0f);
    host.increaseLockCount();
    host.buttonRelease(Button::Select, 0);
    frame();
    EXPECT_EQ(r->own.targetLevel(), 2.0f);  // the release deselects under the lock too
    EXPECT_EQ(host.mode().targetLevel(), 2.0f);
    host.decreaseLockCount();

    // Releasing another button leaves a pressed region pressed.
    host.buttonPress(Button::Select, 0, 1);
    host.buttonRelease(Button::Back, 0);
    frame();
    EXPECT_EQ(r->own.targetLevel(), 3.0f);
}

TEST_F(InputTest, UnfocusedRegionsHearNothingAndReleasesOutside) {
    EXPECT_TRUE(host.pointerMove(500.0f, 500.0f));
    EXPECT_EQ(frame(), Events({"b LostFocus", "c LostFocus", "b PointerOut", "c PointerOut"}));
    host.buttonPress(Button::Select, 3, 1);
    host.unicodePress('x', 3, 1);
    EXPECT_EQ(frame(), Events({"r ButtonPress 0 1 3 1", "a ButtonPress 0 1 3 1",
                               "r UnicodePress 0 120 3 1", "a UnicodePress 0 120 3 1"}));
    EXPECT_EQ(r->own.targetLevel(), 1.0f);  // the walk did not enter the region
    host.buttonRelease(Button::Select, 3);
    frame();

    // Back inside, then the lock holds the focus while the pointer leaves:
    // the region's nodes hear releases as happening outside.
    host.pointerMove(50.0f, 50.0f);
    EXPECT_EQ(frame(), Events({"b GainFocus", "c GainFocus", "b PointerIn", "c PointerIn"}));
    host.increaseLockCount();
    host.pointerMove(150.0f, 50.0f);
    EXPECT_EQ(frame(), Events({"b PointerOut", "c PointerOut"}));
    host.buttonRelease(Button::Select, 1);
    host.unicodeRelease('y', 1);
    EXPECT_EQ(frame(), Events({"c ButtonReleaseOutside 0 1 1", "b ButtonReleaseOutside 0 1 1",
                               "r ButtonRelease 0 1 1", "a ButtonRelease 0 1 1",
                               "c UnicodeReleaseOutside 0 121 1", "b UnicodeReleaseOutside 0 121 1",
                               "r UnicodeRelease 0 121 1", "a UnicodeRelease 0 121 1"}));
    host.pointerMove(160.0f, 50.0f);
    EXPECT_EQ(frame(), Events({"b PointerMoveOut", "c PointerMoveOut"}));
    host.decreaseLockCount();
}

TEST_F(InputTest, MessageRecordsAreRecycled) {
    EXPECT_EQ(freeCount(), 11);
    for (int i = 0; i < 12; ++i)
        host.postMessage(Event::ButtonPress, 0, static_cast<float>(Button::Tab), 1.0f, 0.0f);
    EXPECT_EQ(freeCount(), 0);
    EXPECT_EQ(queuedCount(), 12);
    frame();
    EXPECT_EQ(log.size(), 48u);
    EXPECT_EQ(freeCount(), 12);
    EXPECT_EQ(queuedCount(), 0);

    // A steady stream of input allocates nothing more.
    for (int i = 0; i < 200; ++i) {
        host.buttonPress(Button::Select, 1, 1);
        host.unicodePress('k', 1, 1);
        host.unicodeRelease('k', 1);
        host.buttonRelease(Button::Select, 1);
        frame(0.016f);
    }
    EXPECT_EQ(freeCount(), 12);

    // Types the manager does not route are only followed by the update pass.
    logUpdates();
    for (int type : {0, 3, 6, 7, 19, 22, 99, -1})
        host.postMessage(type, 0, 1.0f, 1.0f, 0.0f);
    Events events = frame();
    EXPECT_EQ(events.size(), 4u + 8u * 4u);
    for (const std::string& line : events)
        EXPECT_NE(line.find("update"), std::string::npos) << line;
    EXPECT_EQ(freeCount(), 12);
}

TEST_F(InputTest, HostileValuesAreClampedNotUndefined) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    c->takesPress = true;
    host.postMessage(Event::ButtonPress, 0, nan, 1e30f, 0.0f);
    host.postMessage(Event::ButtonPress, 0, -1e30f, -3.99f, 0.0f);
    host.postMessage(Event::UnicodePress, 0, 3e9f, nan, 0.0f);
    EXPECT_EQ(frame(),
              Events({"c ButtonPress 0 0 0 2147483647", "c ButtonPress 0 -2147483648 0 -3",
                      "c UnicodePress 0 2147483647 0 0", "b UnicodePress 0 2147483647 0 0",
                      "r UnicodePress 0 2147483647 0 0", "a UnicodePress 0 2147483647 0 0"}));
    EXPECT_EQ(r->own.targetLevel(), 2.0f);

    EXPECT_EQ(truncateToInt(2147483520.0f), 2147483520);
    EXPECT_EQ(truncateToInt(-2147483648.0f), INT_MIN);
    EXPECT_EQ(truncateToInt(2147483648.0f), INT_MAX);
    EXPECT_EQ(truncateToInt(-std::numeric_limits<float>::infinity()), INT_MIN);
    EXPECT_EQ(truncateToInt(-0.99f), 0);
}

TEST_F(InputTest, WithoutPointerOrTreeNothingIsDelivered) {
    Node* tree = host.firstNode();
    host.firstNode() = nullptr;
    host.buttonPress(Button::Select, 0, 1);
    host.unicodePress('q', 0, 1);
    EXPECT_EQ(frame(), Events());
    EXPECT_EQ(queuedCount(), 0);
    EXPECT_EQ(freeCount(), 11);
    host.firstNode() = tree;

    Pointer::clear(host, host.pointer());
    EXPECT_EQ(host.pointer(), nullptr);
    EXPECT_TRUE(host.buttonPress(Button::Select, 0, 1));
    EXPECT_TRUE(host.buttonRelease(Button::Select, 0));
    EXPECT_TRUE(host.unicodePress('a', 0, 1));
    EXPECT_TRUE(host.unicodeRelease('a', 0));
    EXPECT_EQ(queuedCount(), 0);
    EXPECT_EQ(frame(), Events());
}

}  // namespace
}  // namespace kova_test
