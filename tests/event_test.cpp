// Events and their way to the nodes: the type table, what each matcher
// accepts, the dispatcher's handler calls, input queued until update and
// routed along the focused path innermost first, the pressed look of Select,
// the pointer and the player numbers it gives pads, and modes: levels over
// elapsed time and the events a mode sends to the nodes it governs.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>
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
        return true;
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
    bool result = true, takesPress = false, postOnPress = false, scribble = false;
    bool logUpdates = false;
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
    void TearDown() override {
        Node::clear(host, subtree);
        HostTest::TearDown();
    }
    Events log;
    Node* subtree = nullptr;  // cleared after the test
    Rectangle rect{5.0f, 6.0f, 7.0f, 8.0f, 0.0f};
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
}

TEST_F(EventTest, MatchersAgainstRecords) {
    // clang-format off
    EventData records[] = {
        {1, 2, 1.0f, 1.0f, 0.0f}, {1, 2, 1.0f, 2.0f, 0.0f}, {1, 0, 1.0f, 1.0f, 0.0f},  // Select by player 2, held, no player
        {2, 2, 1.0f, 0.0f, 0.0f}, {1, 2, 2.0f, 1.0f, 0.0f}, {4, 1, 65.0f, 1.0f, 0.0f},  // released, Cancel, 'A'
        {4, 1, 65.0f, 3.0f, 0.0f}, {5, 1, 65.0f, 0.0f, 0.0f}, {3, 1, 1.0f, 0.0f, 0.0f},  // 'A' held, released, Select outside
        {6, 1, 65.0f, 0.0f, 0.0f}, {22, 0, 0.016f, 0.0f, 0.0f}};  // 'A' released outside, Update
    // clang-format on
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
        {&anyPress, "11101000000"}, {&pressOfPlayer1, "00000000000"}, {&pressOfPlayer3, "00000000000"},
        {&updates, "00000000001"}, {&select, "11100000000"}, {&cancel, "00001000000"},
        {&selectReleased, "00010000000"}, {&firstSelect, "10000000000"}, {&a, "00000110000"},
        {&aReleased, "00000001000"}, {&firstA, "00000100000"}, {&pressed, "11101110000"},
        {&released, "00010001000"}, {&outside, "00000000110"}, {&nothing, "00000000000"},
        {&plain, "11111111111"}, {&plain3, "00000000000"}, {nullptr, "00000000000"}};
    // clang-format on
    for (const auto& row : rows) {
        std::string got;
        for (EventData& record : records)
            got += Event::check(host, row.first, record) ? '1' : '0';
        EXPECT_EQ(got, row.second) << (row.first ? row.first->actualClass()->name() : "null");
    }
    EXPECT_EQ(wrapped.inputIndex(), 3);
}

// Numbers are truncated to whole ints and clamped; types without a handler
// go to the catch-all, whose answer, like a handler's, is the dispatcher's.
TEST_F(EventTest, DispatcherCallsTheHandlerOfEachType) {
    Probe* probe = this->probe(host.firstNode(), "p");
    Mode mode;
    // clang-format off
    std::vector<EventData> records = {
        {1, 2, 3.9f, 1.0f, 0.0f}, {1, 0, -2.7f, 1e30f, 0.0f}, {1, 0, kNan, -1e30f, 0.0f}, {2, 4, 5.0f, 0.0f, 0.0f},
        {3, 1, 6.5f, 0.0f, 0.0f}, {4, 3, 65.0f, 2.0f, 0.0f}, {5, 3, 66.0f, 0, 0}, {6, 3, 67.0f, 0, 0},
        {0, 0, 0, 0, 0}, {99, 0, 0, 0, 0}, {-3, 0, 0, 0, 0}};
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
    EXPECT_EQ((std::vector<int>{truncateToInt(2147483520.0f), truncateToInt(-2147483648.0f),
                                truncateToInt(-std::numeric_limits<float>::infinity()),
                                truncateToInt(-0.99f)}),
              (std::vector<int>{2147483520, INT_MIN, INT_MIN, 0}));
}

// The event walk reaches a whole subtree parent first, entering governed
// children; the walk that sends mode events does not enter nested modes.
TEST_F(EventTest, WalksReachTheirSubtree) {
    Node*& root = subtree;
    RegionProbe* parent = probe<RegionProbe>(root, "parent");
    parent->scribble = true;
    probe(parent->child, "child")->scribble = true;
    probe(parent->nextNode(0), "next");
    EventData data{13, 0, 0.0f, 0.0f, 0.0f};
    EventIterator iterator(data);
    iterator.iterate(host, root, host.clipRect(), host.mode());
    EXPECT_EQ(log, Events({"parent PreShow", "child PreShow", "next PreShow"}));
    EXPECT_EQ(data.type, 13);

    // Starting below the governing node, its references are not entered;
    // starting at it, they are.
    log.clear();
    Node* chain = subtree;  // parent -> next, now below top
    subtree = nullptr;
    probe(subtree, "top")->nextNode(0) = chain;
    Mode mode(1.0f, 1.0f, false);
    mode.update(host, nullptr, subtree, rect, 0.0f, false, false);
    mode.update(host, nullptr, chain, rect, 0.0f, false, true);
    EXPECT_EQ(joinedLines(log) + " " + printed(static_cast<Probe*>(subtree)->seenRect.width),
              "top Disable, parent Disable, parent Enable, child Enable, next Enable 7");
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
    // Puts in the inputs, separated by blanks, each a letter and numbers
    // joined by dots: "pB.I.R" presses button B at input I, repeat R; "rB.I"
    // releases it; "cC.I.R" and "uC.I" press and release character C; "mX.Y"
    // moves the pointer; "L" and "U" take and give back the focus lock. Then
    // runs a frame and tells what the nodes heard, then " =" and the target
    // levels of the region and of the host.
    std::string step(const std::string& inputs, float elapsed = 0.0f) {
        std::istringstream words(inputs);
        for (std::string word; words >> word;) {
            int n[3] = {0, 0, 0};
            std::sscanf(word.c_str() + 1, "%d.%d.%d", &n[0], &n[1], &n[2]);
            if (word[0] == 'p') host.buttonPress(n[0], n[1], n[2]);
            if (word[0] == 'r') host.buttonRelease(n[0], n[1]);
            if (word[0] == 'c') host.unicodePress(n[0], n[1], n[2]);
            if (word[0] == 'u') host.unicodeRelease(n[0], n[1]);
            if (word[0] == 'm')
                host.pointerMove(static_cast<float>(n[0]), static_cast<float>(n[1]));
            if (word[0] == 'L') host.increaseLockCount();
            if (word[0] == 'U') host.decreaseLockCount();
        }
        std::string heard = joinedLines(frame(elapsed));
        return heard + " =" + printed(r->own.targetLevel()) + "," +
               printed(host.mode().targetLevel());
    }
    // What every node on the focused path hears, innermost first.
    static std::string all(const std::string& heard) {
        return "c " + heard + ", b " + heard + ", r " + heard + ", a " + heard;
    }
    int freeCount() { return host.messageManager()->freeCount(); }
    int queuedCount() { return host.messageManager()->queuedCount(); }

    Probe *a = nullptr, *b = nullptr, *c = nullptr;
    RegionProbe* r = nullptr;
};

// Pressed with the pointer inside, the region and the host go to level 3
// (target -4) and update keeps it; the release goes back to focused.
// Repeats, other buttons and presses under the focus lock leave the pressed
// look alone; the release deselects under the lock too, and releasing
// another button leaves a pressed region pressed.
TEST_F(InputTest, SelectPressRoutesInnermostFirstAndDrivesThePressedLook) {
    EXPECT_TRUE(host.buttonPress(Button::Select, 2, 1));
    EXPECT_EQ(queuedCount(), 1);  // nothing is delivered before update
    logUpdates();
    EXPECT_EQ(step("", 0.5f), "a update, b update, c update, r update, " + all("press 1 2 1") +
                                  ", a update 0, b update 0, c update 0, r update 0 =3,3");
    logUpdates(false);
    // clang-format off
    const struct { const char* inputs; float elapsed, level; const char* heard; } rows[] = {
        {"", 0.0f, 2.0f, " =3,3"}, {"", 0.1f, 2.3f, " =3,3"},
        {"r1.2", 0.1f, 2.6f, "c release 1 2, b release 1 2, r release 1 2, a release 1 2 =2,2"},  // animated before the release
        {"", 0.25f, 2.0f, " =2,2"},
        {"p1.0.2", 0, 2, "c press 1 0 2, b press 1 0 2, r press 1 0 2, a press 1 0 2 =2,2"}, {"p17.0.1", 0, 2, "c press 17 0 1, b press 17 0 1, r press 17 0 1, a press 17 0 1 =2,2"},
        {"L p1.0.1", 0, 2, "c press 1 0 1, b press 1 0 1, r press 1 0 1, a press 1 0 1 =2,2"},
        {"U p1.0.1", 0, 2, "c press 1 0 1, b press 1 0 1, r press 1 0 1, a press 1 0 1 =3,3"},
        {"L r1.0", 0, 2, "c release 1 0, b release 1 0, r release 1 0, a release 1 0 =2,2"},
        {"U p1.0.1", 0, 2, "c press 1 0 1, b press 1 0 1, r press 1 0 1, a press 1 0 1 =3,3"},
        {"r3.0", 0, 2, "c release 3 0, b release 3 0, r release 3 0, a release 3 0 =3,3"}};
    // clang-format on
    for (const auto& row : rows) {
        EXPECT_EQ(step(row.inputs, row.elapsed), row.heard) << row.inputs;
        EXPECT_FLOAT_EQ(r->own.currentLevel(), row.level) << row.inputs;
        EXPECT_FLOAT_EQ(host.mode().currentLevel(), row.level) << row.inputs;
    }
}

// The first taker ends a press, but characters reach everyone and never
// press anything. A message posted by a handler is worked off in the same
// update, each with its own zero-time update pass.
TEST_F(InputTest, FirstTakerEndsAPressButCharactersReachEveryone) {
    b->takesPress = c->takesPress = true;
    EXPECT_EQ(step("p2.1.1"), "c press 2 1 1 =2,2");
    c->takesPress = false;
    EXPECT_EQ(step("p8.0.3"), "c press 8 0 3, b press 8 0 3 =2,2");
    EXPECT_EQ(step("c8364.4.1 u8364.4"),
              all("char 8364 4 1") + ", " + all("charRelease 8364 4") + " =2,2");
    logUpdates();
    c->takesPress = true;
    EXPECT_EQ(step("p6.0.1 p5.0.1"),
              "a update 0, b update 0, c update 0, r update 0, c press 6 0 1, a update 0, "
              "b update 0, c update 0, r update 0, c press 5 0 1, a update 0, b update 0, "
              "c update 0, r update 0 =2,2");
    logUpdates(false);
    c->postOnPress = true;
    EXPECT_EQ(step("p9.0.1"), "c press 9 0 1, " + all("char 33 9 1") + " =2,2");
}

// Outside the region its nodes hear nothing; back inside, the lock holds the
// focus while the pointer leaves, and releases are heard as outside.
TEST_F(InputTest, UnfocusedRegionsHearNothingAndReleasesOutside) {
    // clang-format off
    const std::pair<const char*, const char*> rows[] = {
        {"m500.500", "b LostFocus, c LostFocus, b PointerOut, c PointerOut =1,2"},
        {"p1.3.1 c120.3.1", "r press 1 3 1, a press 1 3 1, r char 120 3 1, a char 120 3 1 =1,3"},  // the walk did not enter the region
        {"r1.3", "r release 1 3, a release 1 3 =1,2"},
        {"m50.50", "b GainFocus, c GainFocus, b PointerIn, c PointerIn =2,2"},
        {"L m150.50", "b PointerOut, c PointerOut =1,2"},
        {"r1.1 u121.1", "c releaseOutside 1 1, b releaseOutside 1 1, r release 1 1, a release 1 1, "
                        "c charReleaseOutside 121 1, b charReleaseOutside 121 1, r charRelease 121 1, "
                        "a charRelease 121 1 =1,2"},
        {"m160.50", "b PointerMoveOutside, c PointerMoveOutside =1,2"}};
    // clang-format on
    for (const auto& row : rows)
        EXPECT_EQ(step(row.first), row.second) << row.first;
    host.decreaseLockCount();
}

// Message records are recycled through a free list; types the manager does
// not route are only followed by the update pass; without a pointer nothing
// is delivered.
TEST_F(InputTest, MessageRecordsAreRecycled) {
    EXPECT_EQ(freeCount(), 11);
    for (int i = 0; i < 12; ++i)
        host.postMessage(Event::ButtonPress, 0, static_cast<float>(Button::Tab), 1.0f, 0.0f);
    EXPECT_EQ((std::vector<int>{freeCount(), queuedCount()}), (std::vector<int>{0, 12}));
    EXPECT_EQ(frame().size(), 48u);
    for (int i = 0; i < 200; ++i)
        step("p1.1.1 c107.1.1 u107.1 r1.1", 0.016f);
    EXPECT_EQ((std::vector<int>{freeCount(), queuedCount()}), (std::vector<int>{12, 0}));
    logUpdates();
    for (int type : {0, 3, 6, 7, 19, 22, 99, -1})
        host.postMessage(type, 0, 1.0f, 1.0f, 0.0f);
    std::string updates = "a update 0, b update 0, c update 0, r update 0", all = updates;
    for (int i = 0; i < 8; ++i)
        all += ", " + updates;
    EXPECT_EQ(step(""), all + " =2,2");
    logUpdates(false);

    Pointer::clear(host, host.pointer());
    // Without a pointer every entry point succeeds and nothing changes.
    EXPECT_TRUE(Pointer::move(host, nullptr, 40.0f, 41.0f) &&
                Pointer::update(host, nullptr, 1.0f) && Pointer::paint(host, nullptr));
    std::string heard = step("p1.0.1 r1.0 c97.0.1 u97.0");
    EXPECT_EQ(heard + " " + printed(host.pointerPosition().x), " =2,2 0");
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
    // What is put in at an input index (press, release or character, and
    // lock or unlock first), what the root hears and the players of the pads.
    // clang-format off
    const struct { const char* what; int index; const char *seen, *players; } rows[] = {
        {"press", 4, " press 1 1 1", "100 100 100 1 "}, {"press", 2, " press 1 1 1", "100 1 100 100 "},
        {"release", 3, " release 1 1", "100 1 100 100 "}, {"release lock", 3, " release 1 100", "100 100 100 100 "},
        {"press", 3, " press 1 1 1", "100 100 1 100 "}, {"press", 1, " press 1 2 1", "2 100 1 100 "},
        {"press", 3, " press 1 1 1", "2 100 1 100 "}, {"press", 2, " press 1 3 1", "2 3 1 100 "},
        {"release", 3, " release 1 1", "2 3 1 100 "}, {"char", 4, " char 122 4 1", "2 3 1 100 "},
        {"press", 0, " press 1 1 1", "100 100 100 100 "}, {"press", 2, " press 1 1 1", "100 1 100 100 "},
        {"press", 7, " press 1 1 1", "100 100 100 100 "}, {"press", -3, " press 1 1 1", "100 100 100 100 "},
        {"release", 7, " release 1 1", "100 100 100 100 "}, {"press unlock", 2, " press 1 1 1", "100 1 100 100 "},
        {"press lock", 3, " press 1 1 1", "100 100 1 100 "}, {"press", 1, " press 1 2 1", "2 100 1 100 "}};
    // clang-format on
    for (const auto& row : rows) {
        std::string what = row.what;
        if (what.find("lock") != std::string::npos)
            pointer->lock(what.find("unlock") == std::string::npos);
        if (what[0] == 'p') host.buttonPress(Button::Select, row.index, 1);
        if (what[0] == 'r') host.buttonRelease(Button::Select, row.index);
        if (what[0] == 'c') host.unicodePress('z', row.index, 1);
        std::string seen = joinedLines(frame());  // before the players it leaves
        EXPECT_EQ(seen + " / " + players(), row.seen + std::string(" / ") + row.players)
            << row.what << " " << row.index;
    }
    EXPECT_EQ((std::vector<int>{pointer->assignedCount(), pointer->lastPadIndex(),
                                pointer->padIndex(0), pointer->padIndex(1), pointer->padIndex(3)}),
              (std::vector<int>{2, 0, 2, 0, 0}));
    // Player 1 leaves: player 2 moves up; pads without a number change nothing.
    for (int pad : {2, 2, 9, -1})
        EXPECT_TRUE(pointer->removeLockedPadIndex(pad));
    EXPECT_EQ(players(), "1 100 100 100 ");
    pointer->lockPadIndex(2);  // the extra hooks carry no behaviour
    pointer->unlockPadIndex();
    FieldRecorder registered;  // the player of each pad, then the lock
    EXPECT_TRUE(pointer->onRegister(host, registered));
    EXPECT_EQ(joinedLines(registered.fields),
              "int 'Index order' 1, int 'Index order' 100, int 'Index order' 100, "
              "int 'Index order' 100, bool 'Is locked' true");
}

// The pointer's graphical node is updated and painted at the pointer's
// position, under a mode of its own; the old position follows at update.
TEST_F(EventTest, PointerGraphicalNode) {
    Pointer* pointer = host.pointer();
    EXPECT_TRUE(host.pointerMove(5.0f, 7.0f));
    EXPECT_EQ((Floats{pointer->width(), pointer->height(), host.pointerOldPosition().x}),
              (Floats{20, 20, 0}));
    Probe* graphic = probe(subtree, "graphic");
    pointer->setGraphicalNode(host, graphic);
    subtree = nullptr;  // the pointer's now
    EXPECT_TRUE(host.update(0.25f));
    EXPECT_EQ(
        (Floats{host.pointerOldPosition().x, host.pointerOldPosition().y, graphic->updates.at(0)}),
        (Floats{5, 7, 0.25f}));
    EXPECT_EQ(valuesOf(graphic->seenRect), (Floats{5.0f, 7.0f, 20.0f, 20.0f, 0.0f}));
    host.pointerMove(-3.0f, 2.0f);
    EXPECT_TRUE(host.paint());
    EXPECT_EQ(joinedLines(log) + " " + printed(graphic->seenRect.x), "graphic paint -3");
    const EffectPipe& pipe = graphic->seenPipe;
    EXPECT_TRUE(graphic->seenClip == nullptr && pipe.next == nullptr && pipe.effect == nullptr);
    EXPECT_EQ((Floats{pipe.showDirection, pipe.showLevel, pipe.modeLevel, pipe.effectLevel}),
              (Floats{0, 1, 1, 1}));
    pointer->setGraphicalNode(host, nullptr);  // releases the old one
    EXPECT_EQ(Probe::absoluteClass()->classInstanceCount(), 0);
}

using ModeTest = EventTest;

// Each row updates one mode over a -> b and lists the events sent, the
// target stored and the level reached (NaN: not checked) and the focus (-1:
// not checked). Flags: L the focus lock is held, i the pointer is inside, e
// enabled, m the pointer moved; a level >= 0 uses the eight-argument form.
// The same update of a copy without a subtree changes the levels alike and
// sends nothing.
// "mode": the pointer enters and the level follows over time, exactly and
// without overshoot; leaving drops 2 to 1; a NaN frame time moves nothing.
// Under the lock the focus stays, and LostFocus is sent again while the lock
// holds it. The eight-argument form neither lowers level 2 nor steps through
// Enable.
TEST_F(ModeTest, LevelsOverTimeFocusLockEnablingPressedAndGivenLevels) {
    probe(probe(subtree, "a")->nextNode(0), "b");
    Mode mode(1, 1, false), locked(1, 1, false), disabled(0, 0, false), entering(0, 0, false),
        pressed(3, 3, false), sticky(1, 1, false), leaving(2, 2, true), off(0, 0, false);
    pressed.setFocus(host, true);
    leaving.setFocus(host, true);
    const std::string in = "a GainFocus, b GainFocus, a PointerIn, b PointerIn";
    const std::string out = "a LostFocus, b LostFocus, a PointerOut, b PointerOut";
    const std::string lost = "a LostFocus, b LostFocus";
    // clang-format off
    const struct { Mode* mode; const char* flags; float elapsed, level; std::string sent; float target, current; int focus; } rows[] = {
        {&mode, "ie", 0, -1, in, -3, 1, 1}, {&mode, "ie", 0.1f, -1, "", -3, 1.3f, 1}, {&mode, "ie", 0.3f, -1, "", -3, 2, 1},
        {&mode, "ie", 5, -1, "", -3, 2, 1}, {&mode, "iem", 0, -1, "a PointerMove, b PointerMove", -3, 2, 1},
        {&mode, "e", 0, -1, out, 1, 2, 0}, {&mode, "e", kNan, -1, "", 1, 2, 0}, {&mode, "em", 0.2f, -1, "", 1, 1.4f, 0},
        {&mode, "e", 1, -1, "", 1, 1, 0}, {&locked, "Lie", 0, -1, "a PointerIn, b PointerIn", -3, kNan, 0},
        {&locked, "ie", 0, -1, "a GainFocus, b GainFocus", -3, kNan, 1},
        {&locked, "Le", 0, -1, "a PointerOut, b PointerOut", 1, kNan, 1}, {&locked, "Le", 0, -1, "", 1, kNan, 1},
        {&locked, "Lem", 0, -1, "a PointerMoveOutside, b PointerMoveOutside", 1, kNan, 1},
        {&locked, "Li", 0, -1, lost + ", a Disable, b Disable", -1, kNan, 1}, {&locked, "L", 0, -1, lost, 0, kNan, 1},
        {&locked, "", 0, -1, lost, 0, kNan, 0}, {&locked, "", 0, -1, "", 0, kNan, 0},
        {&disabled, "e", 0, -1, "a Enable, b Enable", 1, kNan, 0},
        {&entering, "ie", 0.5f, -1, "a Enable, b Enable, " + in, -3, 0, 1},  // animated before it changed target
        {&pressed, "ie", 0, -1, "a PointerIn, b PointerIn", -4, kNan, 1}, {&pressed, "e", 0, -1, out, 3, kNan, 0},
        {&pressed, "ie", 0, -1, in, -4, kNan, 1}, {&pressed, "i", 0, -1, lost + ", a Disable, b Disable", -1, kNan, 0},
        {&pressed, "i", 0.5f, -1, "", -1, 1.5f, 0}, {&sticky, "ie", 0, 4, in, -5, kNan, 1},
        {&sticky, "ie", 1, 4, "", -5, kNan, 1}, {&sticky, "ie", 0, -1, "", -3, 4, 1}, {&leaving, "e", 0, 2, out, 2, kNan, 0},
        {&off, "e", 0, 1, "", 1, kNan, -1}, {&off, "", 0, 1, "a Disable, b Disable", 0, kNan, -1}};
    // clang-format on
    Node* none = nullptr;
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        std::string flags = row.flags;
        auto has = [&](char flag) { return flags.find(flag) != std::string::npos; };
        if (has('L')) host.increaseLockCount();
        if (has('m')) {
            host.pointerOldPosition() = host.pointerPosition();
            host.pointerPosition().x += 1.0f;
        }
        Mode alone;
        alone.set(*row.mode);
        log.clear();
        for (Node** tree : {&none, &subtree}) {
            Mode& m = tree == &none ? alone : *row.mode;
            if (row.level < 0.0f)
                m.update(host, nullptr, *tree, rect, row.elapsed, has('i'), has('e'));
            else
                m.update(host, nullptr, *tree, rect, row.elapsed, has('i'), has('e'), row.level);
        }
        EXPECT_EQ(joinedLines(log), row.sent);
        EXPECT_EQ((Floats{row.mode->storedTarget(), row.mode->storedCurrent()}),
                  (Floats{alone.storedTarget(), alone.storedCurrent()}));
        EXPECT_EQ(row.mode->storedTarget(), row.target);
        float level = row.mode->currentLevel(),
              expected = std::isnan(row.current) ? level : row.current;
        EXPECT_FLOAT_EQ(level, expected);
        EXPECT_TRUE(expected != std::floor(expected) || level == expected)
            << level;  // whole: exact
        EXPECT_TRUE(row.focus < 0 || row.mode->hasFocus() == (row.focus == 1));
        host.pointerOldPosition() = host.pointerPosition();
        if (has('L')) host.decreaseLockCount();
    }
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

}  // namespace
}  // namespace kova_test
