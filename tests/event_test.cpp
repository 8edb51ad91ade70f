// Events and their way to the nodes: the type table, what each matcher
// accepts, the dispatcher's handler calls, input queued until update and
// routed along the focused path innermost first, the pressed look of Select,
// the pointer and the player numbers it gives pads, and modes: levels over
// elapsed time and the events a mode sends to the nodes it governs.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

using Events = std::vector<std::string>;
const float kNan = std::numeric_limits<float>::quiet_NaN();

// Logs into a shared list every event that reaches it, as "label handler
// arguments" through the dispatcher, every update ("label update", " 0" for a
// zero-time one) when asked, and every paint; it may take presses, post a
// character on its first press, or scribble on its record.
class Probe : public Node {
    KOVA_RUNTIME_CLASS(Probe)
public:
    using Node::onEvent;
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override {
        seenRect = rect;
        Node::onEvent(system, rect, mode, data);
        bool press = data.type == Event::ButtonPress;
        if (press && postOnPress) {
            postOnPress = false;
            system.postMessage(Event::UnicodePress, 9, 33.0f, 1.0f, 0.0f);
        }
        if (scribble) data.type = 0;  // a handler that scribbles on its record
        return press && takesPress;
    }
    bool onEvent(System&, EventData& data) override {
        return log("event " + std::to_string(data.type));
    }
    bool onButtonPress(System&, Rectangle&, Mode&, int button, int input, int repeat) override {
        return log("press " + numbers({button, input, repeat}));
    }
    bool onButtonRelease(System&, Rectangle&, Mode&, int button, int input) override {
        return log("release " + numbers({button, input}));
    }
    bool onButtonReleaseOutside(System&, Rectangle&, Mode&, int button, int input) override {
        return log("releaseOutside " + numbers({button, input}));
    }
    bool onUnicodePress(System&, Rectangle&, Mode&, int character, int input, int repeat) override {
        return log("char " + numbers({character, input, repeat}));
    }
    bool onUnicodeRelease(System&, Rectangle&, Mode&, int character, int input) override {
        return log("charRelease " + numbers({character, input}));
    }
    bool onUnicodeReleaseOutside(System&, Rectangle&, Mode&, int character, int input) override {
        return log("charReleaseOutside " + numbers({character, input}));
    }
    bool onGainFocus(System&, Rectangle&, Mode&) override { return log("GainFocus"); }
    bool onLostFocus(System&, Rectangle&, Mode&) override { return log("LostFocus"); }
    bool onPointerIn(System&, Rectangle&, Mode&) override { return log("PointerIn"); }
    bool onPointerOut(System&, Rectangle&, Mode&) override { return log("PointerOut"); }
    bool onPointerMove(System&, Rectangle&, Mode&) override { return log("PointerMove"); }
    bool onPointerMoveOutside(System&, Rectangle&, Mode&) override {
        return log("PointerMoveOutside");
    }
    bool onPreShow(System&, Rectangle&, Mode&) override { return log("PreShow"); }
    bool onPostShow(System&, Rectangle&, Mode&) override { return log("PostShow"); }
    bool onPreHide(System&, Rectangle&, Mode&) override { return log("PreHide"); }
    bool onPostHide(System&, Rectangle&, Mode&) override { return log("PostHide"); }
    bool onPreWaitShow(System&, Rectangle&, Mode&) override { return log("PreWaitShow"); }
    bool onPreWaitHide(System&, Rectangle&, Mode&) override { return log("PreWaitHide"); }
    bool onDisable(System&, Rectangle&, Mode&) override { return log("Disable"); }
    bool onEnable(System&, Rectangle&, Mode&) override { return log("Enable"); }
    bool onUpdate(System&, Mode&, Rectangle& rect, float elapsed) override {
        if (logUpdates) log(elapsed == 0.0f ? "update 0" : "update");
        seenRect = rect;
        updates.push_back(elapsed);
        return !refuseUpdate;
    }
    void onPaint(System&, Mode&, Rectangle& rect, Rectangle* clip, EffectPipe& pipe) override {
        log("paint");
        seenRect = rect;
        seenClip = clip;
        seenPipe = pipe;
    }

    bool log(const std::string& line) {
        if (lines) lines->push_back(label + " " + line);
        return result;
    }
    static std::string numbers(std::initializer_list<int> values) {
        std::string out;
        for (int value : values)
            out += (out.empty() ? "" : " ") + std::to_string(value);
        return out;
    }
    Events* lines = nullptr;
    std::string label;
    bool result = true;
    bool takesPress = false;
    bool postOnPress = false;
    bool scribble = false;
    bool logUpdates = false;
    bool refuseUpdate = false;
    Floats updates;
    Rectangle seenRect;
    Rectangle* seenClip = nullptr;
    EffectPipe seenPipe;
};
KOVA_IMPLEMENT_CLASS_NAMED(Probe, "kova_test::Probe", &Node::absoluteClass)

// Governs a child chain with a mode of its own, handed to walks before its
// next node. In a host's update it drives its mode as region owners do:
// inside when the parent's pointer is inside and lies in the area, enabled
// while the parent is not disabled.
class RegionProbe : public Probe {
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
KOVA_IMPLEMENT_CLASS_NAMED(RegionProbe, "kova_test::RegionProbe", &Probe::absoluteClass)

class EventTest : public HostTest<> {
protected:
    template <class T = Probe>
    T* probe(Node*& slot, const char* label) {
        T* node = make<T>(slot);
        node->label = label;
        node->lines = &log;
        return node;
    }
    Events frame(float elapsed = 0.0f) {
        log.clear();
        EXPECT_TRUE(host.update(elapsed));
        return log;
    }
    Events log;
};

TEST_F(EventTest, TypeAndButtonNames) {
    std::string names;
    for (int type : {0, 3, 12, 19, 22, 23, -1})
        names += std::string(Event::name(type) ? Event::name(type) : "-") + "|";
    for (int button : {0, 15, 21, 28, 29, -1})
        names += std::string(Button::buttonName(button) ? Button::buttonName(button) : "-") + "|";
    EXPECT_EQ(names,
              "No event|ButtonReleaseOutside|PointerMoveOut|Quit|Update|-|-|"
              "No button|Backspace|User function 1|User function 8|-|-|");
    EXPECT_STREQ(AnyKeyEvent::string(3), "released outside");
    EXPECT_EQ(AnyKeyEvent::string(0), nullptr);
    // The numbers an editor offers: each next one, 0 after the last.
    EXPECT_EQ((std::vector<int>{TypeEvent::nextIndex(0), TypeEvent::nextIndex(22),
                                TypeEvent::nextIndex(23), AnyKeyEvent::nextIndex(2),
                                AnyKeyEvent::nextIndex(3), AnyKeyEvent::nextIndex(-5),
                                ButtonEvent::eventNextIndex(2), ButtonEvent::eventNextIndex(3),
                                ButtonEvent::buttonNextIndex(28), ButtonEvent::buttonNextIndex(29),
                                UnicodeEvent::eventNextIndex(0), UnicodeEvent::eventNextIndex(5),
                                UnicodeEvent::eventNextIndex(6), UnicodeEvent::eventNextIndex(1)}),
              (std::vector<int>{1, 23, 0, 3, 0, 0, 3, 0, 29, 0, 4, 6, 0, 0}));
}

TEST_F(EventTest, MatchersAgainstRecords) {
    EventData records[] = {
        {1, 2, 1.0f, 1.0f, 0.0f},   {1, 2, 1.0f, 2.0f, 0.0f},   // Select by player 2, held
        {1, 0, 1.0f, 1.0f, 0.0f},   {2, 2, 1.0f, 0.0f, 0.0f},   // no player, released
        {1, 2, 2.0f, 1.0f, 0.0f},   {4, 1, 65.0f, 1.0f, 0.0f},  // Cancel, 'A'
        {4, 1, 65.0f, 3.0f, 0.0f},  {5, 1, 65.0f, 0.0f, 0.0f},  // 'A' held, released
        {3, 1, 1.0f, 0.0f, 0.0f},   {6, 1, 65.0f, 0.0f, 0.0f},  // both released outside
        {22, 0, 0.016f, 0.0f, 0.0f}};
    TypeEvent anyPress(0, 1), pressOfPlayer1(1, 1), pressOfPlayer3(3, 1), updates(0, 22);
    ButtonEvent select(0, 1, 1), cancel(0, 1, 2), selectReleased(0, 2, 1);
    ExtendedButtonEvent firstSelect(2, 1, 1);
    UnicodeEvent a(0, 4, 65), aReleased(1, 5, 65);
    ExtendedUnicodeEvent firstA(0, 4, 65);
    AnyKeyEvent pressed(0), released(0), outside(0), nothing(0);
    released.setKind(2);
    outside.setKind(3);
    nothing.setKind(7);
    Event plain(0), plain3(3), wrapped(259);  // the input index is stored in one byte
    // One character per record above.
    // clang-format off
    const std::pair<Event*, const char*> rows[] = {
        {&anyPress, "11101000000"}, {&pressOfPlayer1, "00000000000"},
        {&pressOfPlayer3, "00000000000"}, {&updates, "00000000001"}, {&select, "11100000000"},
        {&cancel, "00001000000"}, {&selectReleased, "00010000000"}, {&firstSelect, "10000000000"},
        {&a, "00000110000"}, {&aReleased, "00000001000"}, {&firstA, "00000100000"},
        {&pressed, "11101110000"}, {&released, "00010001000"}, {&outside, "00000000110"},
        {&nothing, "00000000000"}, {&plain, "11111111111"}, {&plain3, "00000000000"},
        {nullptr, "00000000000"},
    };
    // clang-format on
    for (const auto& row : rows) {
        std::string got;
        for (EventData& record : records)
            got += Event::check(host, row.first, record) ? '1' : '0';
        EXPECT_EQ(got, row.second) << (row.first ? row.first->actualClass()->name() : "null");
    }
    EXPECT_EQ(wrapped.inputIndex(), 3);
    FieldRecorder failing;  // a failing field stops the list there
    failing.budget = 2;
    EXPECT_FALSE(firstSelect.onStream(host, failing));
    EXPECT_EQ(failing.fields.size(), 2u);
    // Before a file says otherwise, the extended forms wait for the first press.
    EXPECT_EQ(ExtendedButtonEvent().repeatCount(), 1);
    EXPECT_EQ(ExtendedUnicodeEvent().repeatCount(), 1);
}

// Numbers are truncated to whole ints and clamped; types without a handler
// go to the catch-all, whose answer, like a handler's, is the dispatcher's.
TEST_F(EventTest, DispatcherCallsTheHandlerOfEachType) {
    Probe* probe = this->probe(host.firstNode(), "p");
    Rectangle rect;
    Mode mode;
    // clang-format off
    std::vector<EventData> records = {
        {1, 2, 3.9f, 1.0f, 0.0f}, {1, 0, -2.7f, 1e30f, 0.0f}, {1, 0, kNan, -1e30f, 0.0f},
        {2, 4, 5.0f, 0.0f, 0.0f}, {3, 1, 6.5f, 0.0f, 0.0f}, {4, 3, 65.0f, 2.0f, 0.0f},
        {5, 3, 66.0f, 0, 0}, {6, 3, 67.0f, 0, 0}, {0, 0, 0, 0, 0}, {99, 0, 0, 0, 0}, {-3, 0, 0, 0, 0}};
    // clang-format on
    for (int type = 7; type <= 22; ++type)
        records.push_back({type, 0, 0, 0, 0});
    for (EventData& record : records)
        EXPECT_TRUE(probe->Node::onEvent(host, rect, mode, record));
    std::string calls;
    for (const std::string& line : log)
        calls += line.substr(2) + ",";
    EXPECT_EQ(calls,
              "press 3 2 1,press -2 0 2147483647,press 0 0 -2147483648,release 5 4,"
              "releaseOutside 6 1,char 65 3 2,charRelease 66 3,charReleaseOutside 67 3,event 0,"
              "event 99,event -3,GainFocus,LostFocus,PointerIn,PointerOut,PointerMove,"
              "PointerMoveOutside,PreShow,PostShow,PreHide,PostHide,PreWaitShow,PreWaitHide,"
              "event 19,Disable,Enable,event 22,");
    probe->result = false;
    EXPECT_FALSE(probe->Node::onEvent(host, rect, mode, records[0]));
    // A plain node takes nothing, Quit and Update included.
    Node* plain = make<Node>();
    for (EventData& record : records)
        EXPECT_FALSE(plain->onEvent(host, rect, mode, record)) << record.type;
    Node::clear(host, plain);

    EXPECT_EQ(truncateToInt(2147483520.0f), 2147483520);
    EXPECT_EQ(truncateToInt(-2147483648.0f), INT_MIN);
    EXPECT_EQ(truncateToInt(-std::numeric_limits<float>::infinity()), INT_MIN);
    EXPECT_EQ(truncateToInt(-0.99f), 0);
}

// The event walk reaches a whole subtree parent first, entering governed
// children; the walk that sends mode events does not enter nested modes.
TEST_F(EventTest, WalksReachTheirSubtree) {
    Node* root = nullptr;
    RegionProbe* parent = probe<RegionProbe>(root, "parent");
    parent->scribble = true;
    probe(parent->child, "child")->scribble = true;
    probe(parent->nextNode(0), "next");
    EventData data{13, 0, 0.0f, 0.0f, 0.0f};
    EventIterator iterator(data);
    EXPECT_EQ(iterator.searchMode(), Iterator::SearchAll);
    iterator.iterate(host, root, host.clipRect(), host.mode());
    EXPECT_EQ(log, Events({"parent PreShow", "child PreShow", "next PreShow"}));
    EXPECT_EQ(data.type, 13);
    Node* none = nullptr;
    iterator.iterate(host, none, host.clipRect(), host.mode());
    EXPECT_EQ(log.size(), 3u);

    // Starting below the governing node, its references are not entered;
    // starting at it, they are.
    log.clear();
    Rectangle rect{5.0f, 6.0f, 7.0f, 8.0f, 0.0f};
    Probe* top = make<Probe>();
    top->nextNode(0) = root;
    top->label = "top";
    top->lines = &log;
    Mode mode(1.0f, 1.0f, false);
    mode.update(host, nullptr, top, rect, 0.0f, false, false);
    mode.update(host, nullptr, root, rect, 0.0f, false, true);
    EXPECT_EQ(log, Events({"top Disable", "parent Disable", "parent Enable", "child Enable",
                           "next Enable"}));
    EXPECT_EQ(top->seenRect.width, 7.0f);
    Node* topSlot = top;
    Node::clear(host, topSlot);
}

// Root chain a -> r, where region r governs b -> c. The pointer starts at
// (0, 0), on the region's corner.
class InputTest : public EventTest {
protected:
    void SetUp() override {
        EventTest::SetUp();
        a = probe(host.firstNode(), "a");
        r = probe<RegionProbe>(a->nextNode(0), "r");
        b = probe(r->child, "b");
        c = probe(b->nextNode(0), "c");
        EXPECT_EQ(frame(1.0f),
                  Events({"b GainFocus", "c GainFocus", "b PointerIn", "c PointerIn"}));
        frame(1.0f);  // levels settle at 2
    }
    void logUpdates(bool on = true) {
        for (Probe* p : {a, static_cast<Probe*>(r), b, c})
            p->logUpdates = on;
    }
    int freeCount() { return host.messageManager()->freeCount(); }
    int queuedCount() { return host.messageManager()->queuedCount(); }

    Probe* a = nullptr;
    RegionProbe* r = nullptr;
    Probe* b = nullptr;
    Probe* c = nullptr;
};

TEST_F(InputTest, SelectPressRoutesInnermostFirstAndDrivesThePressedLook) {
    EXPECT_EQ(r->own.storedTarget(), -3.0f);  // focused, pointer inside
    EXPECT_TRUE(host.buttonPress(Button::Select, 2, 1));
    EXPECT_EQ(queuedCount(), 1);  // nothing is delivered before update
    logUpdates();
    EXPECT_EQ(frame(0.5f), Events({"a update", "b update", "c update", "r update", "c press 1 2 1",
                                   "b press 1 2 1", "r press 1 2 1", "a press 1 2 1", "a update 0",
                                   "b update 0", "c update 0", "r update 0"}));
    EXPECT_EQ(queuedCount(), 0);
    // Pressed with the pointer inside; update keeps the pressed level.
    const struct {
        int release;  // Select released before the frame, when 1
        float elapsed, region, host, target;
    } rows[] = {{0, 0.0f, 2.0f, 2.0f, -4.0f},
                {0, 0.1f, 2.3f, 2.3f, -4.0f},
                {1, 0.1f, 2.6f, 2.6f, -3.0f},  // the frame animated before the release
                {0, 0.25f, 2.0f, 2.0f, -3.0f}};
    logUpdates(false);
    for (const auto& row : rows) {
        if (row.release) host.buttonRelease(Button::Select, 2);
        Events events = frame(row.elapsed);
        EXPECT_FLOAT_EQ(r->own.currentLevel(), row.region) << row.elapsed;
        EXPECT_FLOAT_EQ(host.mode().currentLevel(), row.host) << row.elapsed;
        EXPECT_EQ(r->own.storedTarget(), row.target);
        EXPECT_EQ(host.mode().storedTarget(), row.target);
        const Events released = {"c release 1 2", "b release 1 2", "r release 1 2",
                                 "a release 1 2"};
        EXPECT_EQ(events, row.release ? released : Events());
    }
}

// The first taker ends a press, but characters reach everyone and never
// press anything. A message posted by a handler is worked off in the same
// update, each with its own zero-time update pass.
TEST_F(InputTest, FirstTakerEndsAPressButCharactersReachEveryone) {
    b->takesPress = true;
    c->takesPress = true;
    host.buttonPress(Button::Cancel, 1, 1);
    EXPECT_EQ(frame(), Events({"c press 2 1 1"}));
    c->takesPress = false;
    host.buttonPress(Button::Downwards, 0, 3);
    EXPECT_EQ(frame(), Events({"c press 8 0 3", "b press 8 0 3"}));
    host.unicodePress(0x20AC, 4, 1);
    host.unicodeRelease(0x20AC, 4);
    EXPECT_EQ(frame(), Events({"c char 8364 4 1", "b char 8364 4 1", "r char 8364 4 1",
                               "a char 8364 4 1", "c charRelease 8364 4", "b charRelease 8364 4",
                               "r charRelease 8364 4", "a charRelease 8364 4"}));
    EXPECT_EQ(r->own.targetLevel(), 2.0f);

    logUpdates();
    c->takesPress = true;
    host.buttonPress(Button::Upwards, 0, 1);
    host.buttonPress(Button::Leftwards, 0, 1);
    Events events = frame();
    EXPECT_EQ(Events(events.end() - 10, events.end()),
              Events({"c press 6 0 1", "a update 0", "b update 0", "c update 0", "r update 0",
                      "c press 5 0 1", "a update 0", "b update 0", "c update 0", "r update 0"}));
    logUpdates(false);
    c->postOnPress = true;
    host.buttonPress(Button::Home, 0, 1);
    EXPECT_EQ(frame(), Events({"c press 9 0 1", "c char 33 9 1", "b char 33 9 1", "r char 33 9 1",
                               "a char 33 9 1"}));

    // Hostile numbers are clamped, not undefined.
    host.postMessage(Event::ButtonPress, 0, kNan, 1e30f, 0.0f);
    host.postMessage(Event::UnicodePress, 0, 3e9f, kNan, 0.0f);
    EXPECT_EQ(frame(),
              Events({"c press 0 0 2147483647", "c char 2147483647 0 0", "b char 2147483647 0 0",
                      "r char 2147483647 0 0", "a char 2147483647 0 0"}));
    EXPECT_EQ(r->own.targetLevel(), 2.0f);
}

// Repeats, other buttons and presses under the focus lock leave the pressed
// look alone; the release deselects under the lock too, and releasing
// another button leaves a pressed region pressed.
TEST_F(InputTest, RepeatsAndTheFocusLockLeaveThePressedLookAlone) {
    const struct {
        int lock;
        bool press;
        int button, repeat;
        float target;
    } rows[] = {
        {0, true, Button::Select, 2, 2},  {0, true, Button::Start, 1, 2},
        {1, true, Button::Select, 1, 2},  {0, true, Button::Select, 1, 3},
        {1, false, Button::Select, 0, 2}, {0, true, Button::Select, 1, 3},
        {0, false, Button::Back, 0, 3},
    };
    for (const auto& row : rows) {
        if (row.lock) host.increaseLockCount();
        if (row.press) host.buttonPress(row.button, 0, row.repeat);
        if (!row.press) host.buttonRelease(row.button, 0);
        Events events = frame();
        EXPECT_EQ(r->own.targetLevel(), row.target) << row.button << " " << row.lock;
        EXPECT_EQ(host.mode().targetLevel(), row.target);
        if (row.lock) host.decreaseLockCount();
        if (row.lock && row.press) {
            EXPECT_EQ(events.size(), 4u);
        }
    }
}

// Outside the region its nodes hear nothing; back inside, the lock holds the
// focus while the pointer leaves, and releases are heard as outside.
TEST_F(InputTest, UnfocusedRegionsHearNothingAndReleasesOutside) {
    EXPECT_TRUE(host.pointerMove(500.0f, 500.0f));
    EXPECT_EQ(frame(), Events({"b LostFocus", "c LostFocus", "b PointerOut", "c PointerOut"}));
    host.buttonPress(Button::Select, 3, 1);
    host.unicodePress('x', 3, 1);
    EXPECT_EQ(frame(),
              Events({"r press 1 3 1", "a press 1 3 1", "r char 120 3 1", "a char 120 3 1"}));
    EXPECT_EQ(r->own.targetLevel(), 1.0f);  // the walk did not enter the region
    host.buttonRelease(Button::Select, 3);
    frame();
    host.pointerMove(50.0f, 50.0f);
    EXPECT_EQ(frame(), Events({"b GainFocus", "c GainFocus", "b PointerIn", "c PointerIn"}));
    host.increaseLockCount();
    host.pointerMove(150.0f, 50.0f);
    EXPECT_EQ(frame(), Events({"b PointerOut", "c PointerOut"}));
    host.buttonRelease(Button::Select, 1);
    host.unicodeRelease('y', 1);
    EXPECT_EQ(frame(),
              Events({"c releaseOutside 1 1", "b releaseOutside 1 1", "r release 1 1",
                      "a release 1 1", "c charReleaseOutside 121 1", "b charReleaseOutside 121 1",
                      "r charRelease 121 1", "a charRelease 121 1"}));
    host.pointerMove(160.0f, 50.0f);
    EXPECT_EQ(frame(), Events({"b PointerMoveOutside", "c PointerMoveOutside"}));
    host.decreaseLockCount();
}

// Message records are recycled through a free list; types the manager does
// not route are only followed by the update pass; without a tree or a
// pointer nothing is delivered.
TEST_F(InputTest, MessageRecordsAreRecycled) {
    EXPECT_EQ(freeCount(), 11);
    for (int i = 0; i < 12; ++i)
        host.postMessage(Event::ButtonPress, 0, static_cast<float>(Button::Tab), 1.0f, 0.0f);
    EXPECT_EQ((std::vector<int>{freeCount(), queuedCount()}), (std::vector<int>{0, 12}));
    EXPECT_EQ(frame().size(), 48u);
    for (int i = 0; i < 200; ++i) {
        host.buttonPress(Button::Select, 1, 1);
        host.unicodePress('k', 1, 1);
        host.unicodeRelease('k', 1);
        host.buttonRelease(Button::Select, 1);
        frame(0.016f);
    }
    EXPECT_EQ((std::vector<int>{freeCount(), queuedCount()}), (std::vector<int>{12, 0}));
    logUpdates();
    for (int type : {0, 3, 6, 7, 19, 22, 99, -1})
        host.postMessage(type, 0, 1.0f, 1.0f, 0.0f);
    Events events = frame();
    EXPECT_EQ(events.size(), 4u + 8u * 4u);
    for (const std::string& line : events)
        EXPECT_NE(line.find("update"), std::string::npos) << line;
    logUpdates(false);

    Node* tree = host.firstNode();
    host.firstNode() = nullptr;
    host.buttonPress(Button::Select, 0, 1);
    host.unicodePress('q', 0, 1);
    EXPECT_EQ(frame(), Events());
    EXPECT_EQ(queuedCount(), 0);
    host.firstNode() = tree;
    Pointer::clear(host, host.pointer());
    EXPECT_TRUE(host.buttonPress(Button::Select, 0, 1));
    EXPECT_TRUE(host.buttonRelease(Button::Select, 0));
    EXPECT_TRUE(host.unicodePress('a', 0, 1));
    EXPECT_TRUE(host.unicodeRelease('a', 0));
    EXPECT_EQ(frame(), Events());
    // Without a pointer every entry point succeeds and nothing changes.
    EXPECT_TRUE(Pointer::move(host, nullptr, 40.0f, 41.0f));
    EXPECT_TRUE(Pointer::update(host, nullptr, 1.0f));
    EXPECT_TRUE(Pointer::paint(host, nullptr));
    EXPECT_EQ(queuedCount(), 0);
    EXPECT_EQ(host.pointerPosition().x, 0.0f);
}

// A locked DynamicIndexPointer makes pads players in the order of their
// first press (100: no player); releases go out under the player number,
// characters are not remapped. Input index 0 and indexes beyond the four pads
// are posted as player 1 and clear the table; unlocked, every pad is player 1.
TEST_F(EventTest, DynamicIndexPointerNumbersPlayers) {
    make<Probe>(host.firstNode())->lines = &log;
    frame();
    Pointer::clear(host, host.pointer());
    auto* pointer = make<DynamicIndexPointer>(host.pointer());
    auto players = [&] {
        std::string out;
        for (int pad = 0; pad < 4; ++pad)
            out += std::to_string(pointer->playerOfPad(pad)) + " ";
        return out;
    };
    auto input = [&](const char* what, int index) {
        if (what[0] == 'p') host.buttonPress(Button::Select, index, 1);
        if (what[0] == 'r') host.buttonRelease(Button::Select, index);
        if (what[0] == 'c') host.unicodePress('z', index, 1);
        Events events = frame();
        return events.empty() ? std::string() : events[0];
    };
    // What is put in at an input index (press, release or character, and
    // lock or unlock first), what the root hears and the players of the pads.
    // clang-format off
    const struct {
        const char* what;
        int index;
        const char *seen, *players;
    } rows[] = {
        {"press", 4, " press 1 1 1", "100 100 100 1 "},
        {"press", 2, " press 1 1 1", "100 1 100 100 "},
        {"release", 3, " release 1 1", "100 1 100 100 "},
        {"release lock", 3, " release 1 100", "100 100 100 100 "},
        {"press", 3, " press 1 1 1", "100 100 1 100 "},
        {"press", 1, " press 1 2 1", "2 100 1 100 "}, {"press", 3, " press 1 1 1", "2 100 1 100 "},
        {"press", 2, " press 1 3 1", "2 3 1 100 "}, {"release", 3, " release 1 1", "2 3 1 100 "},
        {"char", 4, " char 122 4 1", "2 3 1 100 "},
        {"press", 0, " press 1 1 1", "100 100 100 100 "},
        {"press", 2, " press 1 1 1", "100 1 100 100 "},
        {"press", 7, " press 1 1 1", "100 100 100 100 "},
        {"press", -3, " press 1 1 1", "100 100 100 100 "},
        {"release", 7, " release 1 1", "100 100 100 100 "},
        {"press unlock", 2, " press 1 1 1", "100 1 100 100 "},
    };
    // clang-format on
    for (const auto& row : rows) {
        std::string what = row.what;
        if (what.find("lock") != std::string::npos)
            pointer->lock(what.find("unlock") == std::string::npos);
        EXPECT_EQ(input(row.what, row.index), row.seen) << row.what << " " << row.index;
        EXPECT_EQ(players(), row.players) << row.what << " " << row.index;
    }
    EXPECT_FALSE(pointer->isLocked());
    pointer->lock(true);
    input("press", 3);
    input("press", 1);
    EXPECT_EQ((std::vector<int>{pointer->assignedCount(), pointer->lastPadIndex(),
                                pointer->padIndex(0), pointer->padIndex(1), pointer->padIndex(3)}),
              (std::vector<int>{2, 0, 2, 0, 0}));
    // Player 1 leaves: player 2 moves up; pads without a number change nothing.
    for (int pad : {2, 2, 9, -1})
        EXPECT_TRUE(pointer->removeLockedPadIndex(pad));
    EXPECT_EQ(players(), "1 100 100 100 ");
    pointer->lockPadIndex(2);  // the extra hooks carry no behaviour
    pointer->unlockPadIndex();
    FieldRecorder recorder;
    EXPECT_TRUE(pointer->onRegister(host, recorder));
    EXPECT_EQ(recorder.fields,
              std::vector<std::string>({"int 'Index order' 1", "int 'Index order' 100",
                                        "int 'Index order' 100", "int 'Index order' 100",
                                        "bool 'Is locked' true"}));
}

// The pointer's graphical node is updated and painted at the pointer's
// position, under a mode of its own; the old position follows at update.
TEST_F(EventTest, PointerGraphicalNode) {
    Pointer* pointer = host.pointer();
    EXPECT_EQ((Floats{pointer->width(), pointer->height()}), (Floats{20, 20}));
    EXPECT_TRUE(host.pointerMove(5.0f, 7.0f));
    EXPECT_EQ(host.pointerOldPosition().x, 0.0f);
    Node* node = nullptr;
    Probe* graphic = probe(node, "graphic");
    pointer->setGraphicalNode(host, graphic);
    EXPECT_TRUE(host.update(0.25f));
    EXPECT_EQ((Floats{host.pointerOldPosition().x, host.pointerOldPosition().y}), (Floats{5, 7}));
    EXPECT_EQ(graphic->updates, Floats({0.25f}));
    EXPECT_EQ(valuesOf(graphic->seenRect), (Floats{5.0f, 7.0f, 20.0f, 20.0f, 0.0f}));
    host.pointerMove(-3.0f, 2.0f);
    EXPECT_TRUE(host.paint());
    EXPECT_EQ(log, Events({"graphic paint"}));
    EXPECT_EQ(graphic->seenRect.x, -3.0f);
    EXPECT_EQ(graphic->seenClip, nullptr);
    const EffectPipe& pipe = graphic->seenPipe;
    EXPECT_EQ(pipe.next, nullptr);
    EXPECT_EQ(pipe.effect, nullptr);
    EXPECT_EQ((Floats{pipe.showDirection, pipe.showLevel, pipe.modeLevel, pipe.effectLevel}),
              (Floats{0, 1, 1, 1}));
    // A failing graphical node ends the frame before the host's last hook.
    graphic->refuseUpdate = true;
    host.calls.clear();
    EXPECT_FALSE(host.update(0.0f));
    EXPECT_EQ(host.calls, std::vector<std::string>({"onPreUpdate"}));
    pointer->setGraphicalNode(host, nullptr);  // releases the old one
    EXPECT_EQ(Probe::absoluteClass()->classInstanceCount(), 0);
    EXPECT_TRUE(host.update(0.0f));
}

// Modes: each row updates one mode with the seven-argument form (or, with a
// level, the eight-argument one) and lists the events it sent to a -> b.
class ModeTest : public EventTest {
protected:
    void TearDown() override {
        Node::clear(host, subtree);
        EventTest::TearDown();
    }
    Events update(Mode& mode, float elapsed, bool inside, bool enabled, float level = -1.0f) {
        log.clear();
        if (level < 0.0f)
            mode.update(host, nullptr, subtree, rect, elapsed, inside, enabled);
        else
            mode.update(host, nullptr, subtree, rect, elapsed, inside, enabled, level);
        return log;
    }
    void movePointer(float x, float y) {
        host.pointerOldPosition() = host.pointerPosition();
        host.pointerPosition() = Coordinate2{x, y};
    }
    Node* subtree = nullptr;
    Rectangle rect{5.0f, 6.0f, 7.0f, 8.0f, 0.0f};
};

TEST_F(ModeTest, EncodingOfLevelsAndFlags) {
    Mode mode(2.0f, 1.0f, true);
    EXPECT_EQ((Floats{mode.storedTarget(), mode.storedCurrent()}), (Floats{-3, 1}));
    EXPECT_TRUE(mode.setFocus(host, true));
    EXPECT_EQ((Floats{mode.storedCurrent(), mode.currentLevel(), mode.targetLevel()}),
              (Floats{-2, 1, 2}));
    EXPECT_FALSE(mode.setFocus(host, true));  // nothing to change
    Mode zero(0.0f, 0.0f, true);              // level 0 with the flag set is -1
    EXPECT_EQ((Floats{zero.storedTarget(), zero.targetLevel()}), (Floats{-1, 0}));
    EXPECT_FALSE(std::signbit(zero.targetLevel()));
    Mode copy;
    copy.set(mode);
    EXPECT_EQ((Floats{copy.storedTarget(), copy.storedCurrent()}), (Floats{-3, -2}));
    host.increaseLockCount();
    EXPECT_FALSE(mode.setFocus(host, false));  // the lock refuses
    EXPECT_TRUE(mode.isLockedFocus(host));
    EXPECT_FALSE(zero.isLockedFocus(host));
    host.decreaseLockCount();
    EXPECT_FALSE(mode.isLockedFocus(host));
    EXPECT_TRUE(mode.setFocus(host, false));
    EXPECT_EQ(mode.storedCurrent(), 1.0f);
    EXPECT_EQ((Floats{Node::modeSpeed(2, 1), Node::modeSpeed(1, 2), Node::modeSpeed(1, 1),
                      mode.paintDirection(host, nullptr),
                      Mode(0.0f, 3.0f, false).paintDirection(host, nullptr),
                      Mode(3.0f, 3.0f, true).paintDirection(host, nullptr)}),
              (Floats{3, -3, 0, 3, -3, 0}));
}

// The pointer enters and the level follows over time, exactly and without
// overshoot; leaving drops 2 to 1; a NaN frame time moves nothing. The same
// steps without a subtree change the levels alike and send nothing.
TEST_F(ModeTest, PointerEntersAndLevelFollowsOverTime) {
    probe(probe(subtree, "a")->nextNode(0), "b");
    Mode mode(1.0f, 1.0f, false), alone(1.0f, 1.0f, false);
    const struct {
        float elapsed;
        bool inside, moved;
        Events sent;
        float target, level;
    } rows[] = {
        {0, true, false, {"a GainFocus", "b GainFocus", "a PointerIn", "b PointerIn"}, -3, 1},
        {0.1f, true, false, {}, -3, 1.3f},
        {0.3f, true, false, {}, -3, 2},
        {5, true, false, {}, -3, 2},
        {0, true, true, {"a PointerMove", "b PointerMove"}, -3, 2},
        {0, false, false, {"a LostFocus", "b LostFocus", "a PointerOut", "b PointerOut"}, 1, 2},
        {kNan, false, false, {}, 1, 2},
        {0.2f, false, true, {}, 1, 1.4f},
        {1, false, false, {}, 1, 1},
    };
    Node* none = nullptr;
    for (const auto& row : rows) {
        if (row.moved) movePointer(host.pointerPosition().x + 1.0f, 0.0f);
        EXPECT_EQ(update(mode, row.elapsed, row.inside, true), row.sent) << row.elapsed;
        EXPECT_EQ(mode.storedTarget(), row.target);
        if (row.level == std::floor(row.level)) {  // reached exactly, no overshoot
            EXPECT_EQ(mode.currentLevel(), row.level) << row.elapsed;
        } else {
            EXPECT_FLOAT_EQ(mode.currentLevel(), row.level) << row.elapsed;
        }
        EXPECT_EQ(mode.hasFocus(), row.inside);
        log.clear();
        alone.update(host, nullptr, none, rect, row.elapsed, row.inside, true);
        EXPECT_TRUE(log.empty());
        EXPECT_EQ(alone.storedTarget(), mode.storedTarget());
        EXPECT_EQ(alone.storedCurrent(), mode.storedCurrent());
    }
}

// Each row updates one mode with the focus lock held (or not) and lists the
// events sent and the target left. Under the lock the focus stays, and
// LostFocus is sent again while the lock holds it. The eight-argument form
// (a level given) neither lowers level 2 nor steps through Enable.
TEST_F(ModeTest, FocusLockEnablingPressedAndGivenLevels) {
    probe(subtree, "a");
    Mode locked(1, 1, false), disabled(0, 0, false), entering(0, 0, false), pressed(3, 3, false),
        sticky(1, 1, false), leaving(2, 2, true), off(0, 0, false);
    pressed.setFocus(host, true);
    leaving.setFocus(host, true);
    const struct {
        Mode* mode;
        int lock;
        float elapsed;
        bool inside, enabled, moved;
        float level;
        Events sent;
        float target;
        int focus;  // -1: not checked
    } rows[] = {
        {&locked, 1, 0, true, true, false, -1, {"a PointerIn"}, -3, 0},
        {&locked, 0, 0, true, true, false, -1, {"a GainFocus"}, -3, 1},
        {&locked, 1, 0, false, true, false, -1, {"a PointerOut"}, 1, 1},
        {&locked, 1, 0, false, true, false, -1, {}, 1, 1},
        {&locked, 1, 0, false, true, true, -1, {"a PointerMoveOutside"}, 1, 1},
        {&locked, 1, 0, true, false, false, -1, {"a LostFocus", "a Disable"}, -1, 1},
        {&locked, 1, 0, false, false, false, -1, {"a LostFocus"}, 0, 1},
        {&locked, 0, 0, false, false, false, -1, {"a LostFocus"}, 0, 0},
        {&locked, 0, 0, false, false, false, -1, {}, 0, 0},
        {&disabled, 0, 0, false, true, false, -1, {"a Enable"}, 1, 0},
        {&entering,
         0,
         0.5f,
         true,
         true,
         false,
         -1,
         {"a Enable", "a GainFocus", "a PointerIn"},
         -3,
         1},
        {&pressed, 0, 0, true, true, false, -1, {"a PointerIn"}, -4, 1},
        {&pressed, 0, 0, false, true, false, -1, {"a LostFocus", "a PointerOut"}, 3, 0},
        {&pressed, 0, 0, true, true, false, -1, {"a GainFocus", "a PointerIn"}, -4, 1},
        {&pressed, 0, 0, true, false, false, -1, {"a LostFocus", "a Disable"}, -1, 0},
        {&pressed, 0, 0.5f, true, false, false, -1, {}, -1, 0},
        {&sticky, 0, 0, true, true, false, 4, {"a GainFocus", "a PointerIn"}, -5, 1},
        {&sticky, 0, 1, true, true, false, 4, {}, -5, 1},
        {&sticky, 0, 0, true, true, false, -1, {}, -3, 1},
        {&leaving, 0, 0, false, true, false, 2, {"a LostFocus", "a PointerOut"}, 2, 0},
        {&off, 0, 0, false, true, false, 1, {}, 1, -1},
        {&off, 0, 0, false, false, false, 1, {"a Disable"}, 0, -1},
    };
    int index = 0;
    for (const auto& row : rows) {
        if (row.lock) host.increaseLockCount();
        if (row.moved) movePointer(3.0f, 4.0f);
        Events sent = update(*row.mode, row.elapsed, row.inside, row.enabled, row.level);
        EXPECT_EQ(sent, row.sent) << "row " << index;
        EXPECT_EQ(row.mode->storedTarget(), row.target) << "row " << index;
        if (row.focus >= 0) {
            EXPECT_EQ(row.mode->hasFocus(), row.focus == 1) << "row " << index;
        }
        host.pointerOldPosition() = host.pointerPosition();
        if (row.lock) host.decreaseLockCount();
        ++index;
    }
    EXPECT_EQ(entering.currentLevel(), 0.0f);  // animated before it changed target
    EXPECT_FLOAT_EQ(pressed.currentLevel(), 1.5f);
    EXPECT_EQ(sticky.currentLevel(), 4.0f);
}

TEST_F(ModeTest, MovingOutAndMovedOut) {
    RegionProbe* top = probe<RegionProbe>(subtree, "top");
    top->own = Mode(3.0f, 3.0f, true);
    top->own.setFocus(host, true);
    RegionProbe* inner = probe<RegionProbe>(top->child, "inner");
    inner->own = Mode(0.0f, 0.5f, true);
    Mode outer(2.0f, 2.0f, true);
    MovingOutIterator moving;
    moving.iterate(host, subtree, rect, outer);
    // Targets drop to 1 and levels are left to fall; disabled is untouched.
    EXPECT_EQ((Floats{outer.storedTarget(), outer.currentLevel(), top->own.storedTarget(),
                      top->own.currentLevel(), inner->own.storedTarget()}),
              (Floats{1, 2, 1, 3, -1}));
    top->own = Mode(3.0f, 2.5f, true);
    top->own.setFocus(host, true);
    Mode settling(1.0f, 1.7f, false);
    MovedOutIterator moved;
    moved.iterate(host, subtree, rect, settling);
    // Levels are set at once; the focus is kept.
    EXPECT_EQ(
        (Floats{settling.storedTarget(), settling.storedCurrent(), top->own.storedTarget(),
                top->own.storedCurrent(), inner->own.storedTarget(), inner->own.currentLevel()}),
        (Floats{1, 1, 1, -2, -1, 0.5f}));
    EXPECT_TRUE(log.empty());
}

TEST_F(ModeTest, NodeWalksAndSlots) {
    Probe* a = probe(subtree, "a");
    Probe* b = probe(a->nextNode(0), "b");
    Probe* c = probe(b->nextNode(0), "c");
    Mode mode;
    EffectPipe pipe;
    a->iteratePaint(host, mode, rect, nullptr, pipe);
    for (Probe* p : {a, b, c})
        p->logUpdates = true;
    EXPECT_TRUE(a->iterateUpdate(host, mode, rect, 0.5f));
    b->refuseUpdate = true;
    EXPECT_FALSE(a->iterateUpdate(host, mode, rect, 0.5f));
    EXPECT_EQ(log, Events({"a paint", "b paint", "c paint", "a update", "b update", "c update",
                           "a update", "b update"}));
    EXPECT_EQ(a->nextNodeCount(), 1);
    EXPECT_EQ(&a->nextNode(5), &a->nextNode(0));
    EXPECT_EQ(a->nextNodeClassRequirement(3), Node::absoluteClass());
    EXPECT_EQ(a->mode(), nullptr);
    // Only node classes may be created into a node reference.
    Node* kept = b;
    EXPECT_FALSE(Node::create(host, kept, Action::absoluteClass()));
    EXPECT_FALSE(Node::create(host, kept, nullptr));
    EXPECT_EQ(kept, b);
    // The visitor walk hands over the next-node slot itself, also when empty.
    struct SlotCollector : Iterator {
        void iterateNext(System&, Node*& node, Rectangle&, Mode&) override {
            slots.push_back(&node);
        }
        std::vector<Node**> slots;
    } collector;
    a->iterateIterator(host, mode, rect, collector);
    c->iterateIterator(host, mode, rect, collector);
    EXPECT_EQ(collector.slots, (std::vector<Node**>{&a->nextNode(0), &c->nextNode(0)}));
    // setNextNode stores without releasing what was there.
    a->setNextNode(7, c);
    EXPECT_EQ(a->nextNode(0), c);
    a->setNextNode(0, b);
    EXPECT_EQ(Probe::absoluteClass()->classInstanceCount(), 3);
}

}  // namespace
}  // namespace kova_test
