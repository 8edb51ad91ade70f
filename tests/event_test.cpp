// Event records, the event-type table, the matchers (what they accept, what
// they persist, how they are created by class name) and the dispatcher that
// turns a record into a handler call.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

std::vector<std::string> fieldsOf(System& system, Object& object) {
    FieldRecorder recorder;
    object.onStream(system, recorder);
    return recorder.fields;
}

// A node that logs each handler call with the arguments it received.
class DispatchProbe : public Node {
    KOVA_RUNTIME_CLASS(DispatchProbe)
public:
    using Node::onEvent;
    bool onEvent(System&, EventData& data) override {
        return log("event " + std::to_string(data.type));
    }
    bool onButtonPress(System&, Rectangle&, Mode&, int button, int inputIndex,
                       int repeatCount) override {
        return log("press " + std::to_string(button) + " " + std::to_string(inputIndex) + " " +
                   std::to_string(repeatCount));
    }
    bool onButtonRelease(System&, Rectangle&, Mode&, int button, int inputIndex) override {
        return log("release " + std::to_string(button) + " " + std::to_string(inputIndex));
    }
    bool onButtonReleaseOutside(System&, Rectangle&, Mode&, int button, int inputIndex) override {
        return log("releaseOutside " + std::to_string(button) + " " + std::to_string(inputIndex));
    }
    bool onUnicodePress(System&, Rectangle&, Mode&, int character, int inputIndex,
                        int repeatCount) override {
        return log("char " + std::to_string(character) + " " + std::to_string(inputIndex) + " " +
                   std::to_string(repeatCount));
    }
    bool onUnicodeRelease(System&, Rectangle&, Mode&, int character, int inputIndex) override {
        return log("charRelease " + std::to_string(character) + " " + std::to_string(inputIndex));
    }
    bool onUnicodeReleaseOutside(System&, Rectangle&, Mode&, int character,
                                 int inputIndex) override {
        return log("charReleaseOutside " + std::to_string(character) + " " +
                   std::to_string(inputIndex));
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

    bool log(const std::string& line) {
        calls.push_back(line);
        return result;
    }
    std::vector<std::string> calls;
    bool result = true;
};
KOVA_IMPLEMENT_CLASS_NAMED(DispatchProbe, "kova_test::DispatchProbe", &Node::absoluteClass)

// A node with two children, handed to iterators before its next node.
class TwoChildNode : public Node {
    KOVA_RUNTIME_CLASS(TwoChildNode)
public:
    void iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) override {
        iterator.iterateChild(system, first, rect, mode);
        iterator.iterateChild(system, second, rect, mode);
        Node::iterateIterator(system, mode, rect, iterator);
    }
    bool onStream(System& system, Stream& stream) override {
        return Node::onStream(system, stream) &&
               stream.streamChildNode(system, first, "First", nullptr) &&
               stream.streamChildNode(system, second, "Second", nullptr);
    }
    bool onEvent(System& system, Rectangle&, Mode&, EventData& data) override {
        static_cast<TestHost&>(system).calls.push_back(label + " " + Event::name(data.type));
        data.type = 0;  // a handler that scribbles on its record
        return true;
    }
    Node* first = nullptr;
    Node* second = nullptr;
    std::string label;
};
KOVA_IMPLEMENT_CLASS_NAMED(TwoChildNode, "kova_test::TwoChildNode", &Node::absoluteClass)

class EventTest : public HostTest<> {
protected:
    template <class T>
    T* makeByName(const char* className) {
        Object* object = nullptr;
        EXPECT_TRUE(Object::create(host, object, RuntimeClass::findClass(className)));
        made.push_back(object);
        return dynamic_cast<T*>(object);
    }
    void releaseMade() {
        for (Object*& object : made)
            Object::clear(host, object);
        made.clear();
    }

    std::vector<Object*> made;
};

TEST_F(EventTest, TypeNamesAndIndexLists) {
    EXPECT_STREQ(Event::name(0), "No event");
    EXPECT_STREQ(Event::name(3), "ButtonReleaseOutside");
    EXPECT_STREQ(Event::name(12), "PointerMoveOut");
    EXPECT_STREQ(Event::name(19), "Quit");
    EXPECT_STREQ(Event::name(22), "Update");
    EXPECT_EQ(Event::name(23), nullptr);
    EXPECT_EQ(Event::name(-1), nullptr);

    EXPECT_EQ(TypeEvent::nextIndex(0), 1);
    EXPECT_EQ(TypeEvent::nextIndex(21), 22);
    EXPECT_EQ(TypeEvent::nextIndex(22), 23);  // 22 is still a named type
    EXPECT_EQ(TypeEvent::nextIndex(23), 0);
    EXPECT_EQ(AnyKeyEvent::nextIndex(0), 1);
    EXPECT_EQ(AnyKeyEvent::nextIndex(2), 3);
    EXPECT_EQ(AnyKeyEvent::nextIndex(3), 0);
    EXPECT_EQ(AnyKeyEvent::nextIndex(-5), 0);
    EXPECT_STREQ(AnyKeyEvent::string(3), "released outside");
    EXPECT_EQ(AnyKeyEvent::string(0), nullptr);
    EXPECT_EQ(ButtonEvent::eventNextIndex(2), 3);
    EXPECT_EQ(ButtonEvent::eventNextIndex(3), 0);
    EXPECT_EQ(ButtonEvent::buttonNextIndex(27), 28);
    EXPECT_EQ(ButtonEvent::buttonNextIndex(28), 29);
    EXPECT_EQ(ButtonEvent::buttonNextIndex(29), 0);
    EXPECT_EQ(UnicodeEvent::eventNextIndex(0), 4);
    EXPECT_EQ(UnicodeEvent::eventNextIndex(5), 6);
    EXPECT_EQ(UnicodeEvent::eventNextIndex(6), 0);
    EXPECT_EQ(UnicodeEvent::eventNextIndex(1), 0);

    EXPECT_STREQ(Button::buttonName(0), "No button");
    EXPECT_STREQ(Button::buttonName(15), "Backspace");
    EXPECT_STREQ(Button::buttonName(21), "User function 1");
    EXPECT_STREQ(Button::buttonName(28), "User function 8");
    EXPECT_EQ(Button::buttonName(29), nullptr);
    EXPECT_EQ(Button::buttonName(-1), nullptr);
}

TEST_F(EventTest, MatchersAgainstRecords) {
    EventData selectP2{1, 2, 1.0f, 1.0f, 0.0f};        // Select pressed by player 2
    EventData selectP2Repeat{1, 2, 1.0f, 2.0f, 0.0f};  // held down
    EventData selectIndex0{1, 0, 1.0f, 1.0f, 0.0f};
    EventData selectRelease{2, 2, 1.0f, 0.0f, 0.0f};
    EventData cancelP2{1, 2, 2.0f, 1.0f, 0.0f};
    EventData charA{4, 1, 65.0f, 1.0f, 0.0f};
    EventData charARepeat{4, 1, 65.0f, 3.0f, 0.0f};
    EventData charARelease{5, 1, 65.0f, 0.0f, 0.0f};
    EventData buttonOutside{3, 1, 1.0f, 0.0f, 0.0f};
    EventData charOutside{6, 1, 65.0f, 0.0f, 0.0f};
    EventData update{22, 0, 0.016f, 0.0f, 0.0f};
    EventData* records[] = {&selectP2,      &selectP2Repeat, &selectIndex0, &selectRelease,
                            &cancelP2,      &charA,          &charARepeat,  &charARelease,
                            &buttonOutside, &charOutside,    &update};

    TypeEvent anyPress(0, 1);
    TypeEvent pressOfPlayer1(1, 1);
    TypeEvent pressOfPlayer3(3, 1);
    TypeEvent updates(0, 22);
    ButtonEvent select(0, 1, 1);
    ButtonEvent cancel(0, 1, 2);
    ButtonEvent selectReleased(0, 2, 1);
    ExtendedButtonEvent firstSelect(2, 1, 1);
    UnicodeEvent a(0, 4, 65);
    UnicodeEvent aReleased(1, 5, 65);
    ExtendedUnicodeEvent firstA(0, 4, 65);
    AnyKeyEvent pressed(0);
    AnyKeyEvent released(0);
    released.setKind(2);
    AnyKeyEvent outside(0);
    outside.setKind(3);
    AnyKeyEvent nothing(0);
    nothing.setKind(7);
    struct Row {
        const char* name;
        Event* event;
        const char* expected;  // one character per record above
    } rows[] = {
        {"TypeEvent(0, 1)", &anyPress, "11101000000"},
        {"TypeEvent(1, 1)", &pressOfPlayer1, "00000000000"},
        {"TypeEvent(3, 1)", &pressOfPlayer3, "00000000000"},
        {"TypeEvent(0, 22)", &updates, "00000000001"},
        {"ButtonEvent Select", &select, "11100000000"},
        {"ButtonEvent Cancel", &cancel, "00001000000"},
        {"ButtonEvent Select released", &selectReleased, "00010000000"},
        {"ExtendedButtonEvent index 2", &firstSelect, "10000000000"},
        {"UnicodeEvent 'A'", &a, "00000110000"},
        {"UnicodeEvent 'A' released by 1", &aReleased, "00000001000"},
        {"ExtendedUnicodeEvent 'A'", &firstA, "00000100000"},
        {"AnyKeyEvent pressed", &pressed, "11101110000"},
        {"AnyKeyEvent released", &released, "00010001000"},
        {"AnyKeyEvent released outside", &outside, "00000000110"},
        {"AnyKeyEvent kind 7", &nothing, "00000000000"},
    };
    for (const Row& row : rows) {
        std::string got;
        for (EventData* record : records)
            got += Event::check(host, row.event, *record) ? '1' : '0';
        EXPECT_EQ(got, row.expected) << row.name;
    }
    EXPECT_FALSE(Event::check(host, nullptr, selectP2));
    Event plain(0);
    EXPECT_TRUE(Event::check(host, &plain, selectIndex0));
    Event plain3(3);
    EXPECT_FALSE(Event::check(host, &plain3, selectIndex0));
    Event wrapped(259);  // stored in one byte
    EXPECT_EQ(wrapped.inputIndex(), 3);
}

TEST_F(EventTest, ClassesParentsAndDefaultsByName) {
    struct Row {
        const char* name;
        const char* parent;
    } rows[] = {{"Event", "Object"},
                {"TypeEvent", "Event"},
                {"AnyKeyEvent", "Event"},
                {"ButtonEvent", "TypeEvent"},
                {"ExtendedButtonEvent", "TypeEvent"},
                {"UnicodeEvent", "TypeEvent"},
                {"ExtendedUnicodeEvent", "TypeEvent"}};
    for (const Row& row : rows) {
        RuntimeClass* cls = RuntimeClass::findClass(row.name);
        ASSERT_NE(cls, nullptr) << row.name;
        EXPECT_EQ(std::string(cls->fullName()), std::string("tarn::kova::") + row.name);
        ASSERT_NE(cls->parentClass(), nullptr);
        EXPECT_STREQ(cls->parentClass()->name(), row.parent) << row.name;
    }
    EXPECT_FALSE(ExtendedButtonEvent::absoluteClass()->is(ButtonEvent::absoluteClass()));
    EXPECT_FALSE(ExtendedUnicodeEvent::absoluteClass()->is(UnicodeEvent::absoluteClass()));
    EXPECT_TRUE(ExtendedUnicodeEvent::absoluteClass()->is(TypeEvent::absoluteClass()));

    Event* event = makeByName<Event>("Event");
    TypeEvent* type = makeByName<TypeEvent>("TypeEvent");
    AnyKeyEvent* anyKey = makeByName<AnyKeyEvent>("AnyKeyEvent");
    ButtonEvent* button = makeByName<ButtonEvent>("ButtonEvent");
    ExtendedButtonEvent* extendedButton = makeByName<ExtendedButtonEvent>("ExtendedButtonEvent");
    UnicodeEvent* unicode = makeByName<UnicodeEvent>("UnicodeEvent");
    ExtendedUnicodeEvent* extendedUnicode =
        makeByName<ExtendedUnicodeEvent>("ExtendedUnicodeEvent");
    ASSERT_TRUE(event && type && anyKey && button && extendedButton && unicode && extendedUnicode);
    EXPECT_EQ(event->inputIndex(), 0);
    EXPECT_EQ(type->type(), 1);
    EXPECT_EQ(anyKey->kind(), 1);
    EXPECT_EQ(button->type(), 1);
    EXPECT_EQ(button->button(), 1);
    EXPECT_EQ(extendedButton->type(), 1);
    EXPECT_EQ(extendedButton->button(), 1);
    EXPECT_EQ(unicode->type(), 4);
    EXPECT_EQ(unicode->character(), 0);
    EXPECT_EQ(extendedUnicode->type(), 4);
    EXPECT_EQ(extendedUnicode->character(), 0);
    // Before a file says otherwise, the extended forms wait for the first press.
    EXPECT_EQ(extendedButton->repeatCount(), 1);
    EXPECT_EQ(extendedUnicode->repeatCount(), 1);
    releaseMade();
}

TEST_F(EventTest, PersistedFieldsAndLabels) {
    Event event(5);
    TypeEvent type(1, 17);
    AnyKeyEvent anyKey(0);
    anyKey.setKind(3);
    ButtonEvent button(0, 2, 21);
    ExtendedButtonEvent extendedButton(0, 1, 4);
    UnicodeEvent unicode(2, 6, 0x20AC);
    ExtendedUnicodeEvent extendedUnicode(0, 4, 97);

    using Fields = std::vector<std::string>;
    const std::string index0 = "ubyte 'Input index (0 == all indexes)' 0";
    EXPECT_EQ(fieldsOf(host, event), Fields({"ubyte 'Input index (0 == all indexes)' 5"}));
    EXPECT_EQ(fieldsOf(host, type),
              Fields({"ubyte 'Input index (0 == all indexes)' 1",
                      "index 'Event type' 17 PreWaitShow [1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,"
                      "17,18,19,20,21,22,]"}));
    EXPECT_EQ(fieldsOf(host, anyKey),
              Fields({index0, "index 'Event type' 3 released outside [1,2,3,]"}));
    const std::string buttons =
        " [1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,]";
    EXPECT_EQ(fieldsOf(host, button), Fields({index0, "index 'Event type' 2 ButtonRelease [1,2,3,]",
                                              "index 'Button type' 21 User function 1" + buttons}));
    EXPECT_EQ(fieldsOf(host, extendedButton),
              Fields({index0, "index 'Event type' 1 ButtonPress [1,2,3,]",
                      "index 'Button type' 4 Edit" + buttons, "int 'Repeat count' 1"}));
    EXPECT_EQ(
        fieldsOf(host, unicode),
        Fields({"ubyte 'Input index (0 == all indexes)' 2",
                "index 'Event type' 6 UnicodeReleaseOutside [4,5,6,]", "wchar 'Unicode' 8364"}));
    EXPECT_EQ(fieldsOf(host, extendedUnicode),
              Fields({index0, "index 'Event type' 4 UnicodePress [4,5,6,]", "wchar 'Unicode' 97",
                      "int 'Repeat count' 1"}));

    // A failing field stops the list there.
    FieldRecorder failing;
    failing.budget = 2;
    EXPECT_FALSE(extendedButton.onStream(host, failing));
    EXPECT_EQ(failing.fields.size(), 2u);
}

TEST_F(EventTest, DispatcherCallsTheHandlerOfEachType) {
    Node* node = nullptr;
    ASSERT_TRUE(Node::create(host, node, DispatchProbe::absoluteClass()));
    DispatchProbe& probe = *static_cast<DispatchProbe*>(node);
    Rectangle rect;
    Mode mode;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EventData records[] = {{1, 2, 3.9f, 1.0f, 0.0f},  {1, 0, -2.7f, 1e30f, 0.0f},
                           {1, 0, nan, -1e30f, 0.0f}, {2, 4, 5.0f, 0.0f, 0.0f},
                           {3, 1, 6.5f, 0.0f, 0.0f},  {4, 3, 65.0f, 2.0f, 0.0f},
                           {5, 3, 66.0f, 0.0f, 0.0f}, {6, 3, 67.0f, 0.0f, 0.0f},
                           {7, 0, 0, 0, 0},           {8, 0, 0, 0, 0},
                           {9, 0, 0, 0, 0},           {10, 0, 0, 0, 0},
                           {11, 0, 0, 0, 0},          {12, 0, 0, 0, 0},
                           {13, 0, 0, 0, 0},          {14, 0, 0, 0, 0},
                           {15, 0, 0, 0, 0},          {16, 0, 0, 0, 0},
                           {17, 0, 0, 0, 0},          {18, 0, 0, 0, 0},
                           {19, 0, 0, 0, 0},          {20, 0, 0, 0, 0},
                           {21, 0, 0, 0, 0},          {22, 0, 0.5f, 0, 0},
                           {0, 0, 0, 0, 0},           {99, 0, 0, 0, 0},
                           {-3, 0, 0, 0, 0}};
    for (EventData& record : records)
        EXPECT_TRUE(probe.onEvent(host, rect, mode, record));
    std::vector<std::string> expected = {"press 3 2 1",
                                         "press -2 0 2147483647",
                                         "press 0 0 -2147483648",
                                         "release 5 4",
                                         "releaseOutside 6 1",
                                         "char 65 3 2",
                                         "charRelease 66 3",
                                         "charReleaseOutside 67 3",
                                         "GainFocus",
                                         "LostFocus",
                                         "PointerIn",
                                         "PointerOut",
                                         "PointerMove",
                                         "PointerMoveOutside",
                                         "PreShow",
                                         "PostShow",
                                         "PreHide",
                                         "PostHide",
                                         "PreWaitShow",
                                         "PreWaitHide",
                                         "event 19",
                                         "Disable",
                                         "Enable",
                                         "event 22",
                                         "event 0",
                                         "event 99",
                                         "event -3"};
    EXPECT_EQ(probe.calls, expected);

    // The handler's answer is the dispatcher's answer.
    probe.result = false;
    EXPECT_FALSE(probe.onEvent(host, rect, mode, records[0]));

    // A plain node takes nothing, Quit and Update included.
    Node* plain = nullptr;
    ASSERT_TRUE(Node::create(host, plain, Node::absoluteClass()));
    for (EventData& record : records)
        EXPECT_FALSE(plain->onEvent(host, rect, mode, record)) << record.type;
    Node::clear(host, plain);
    Node::clear(host, node);
}

TEST_F(EventTest, EventIteratorReachesTheWholeSubtreeParentFirst) {
    Node* root = nullptr;
    TwoChildNode* parent = make<TwoChildNode>(root);
    parent->label = "parent";
    make<TwoChildNode>(parent->first)->label = "first";
    make<TwoChildNode>(parent->second)->label = "second";

    EventData data{13, 0, 0.0f, 0.0f, 0.0f};
    EventIterator iterator(data);
    EXPECT_EQ(iterator.searchMode(), Iterator::SearchAll);
    iterator.iterate(host, root, host.clipRect(), host.mode());
    std::vector<std::string> expected = {"parent PreShow", "first PreShow", "second PreShow"};
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(data.type, 13);

    Node* none = nullptr;
    iterator.iterate(host, none, host.clipRect(), host.mode());
    EXPECT_EQ(host.calls.size(), 3u);
    Node::clear(host, root);
}

}  // namespace
}  // namespace kova_test
