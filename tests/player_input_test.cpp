// Screens locking and unlocking the player assignment of pads and reading
// which pad each player holds, driven by presses through the host's entry
// points.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

using Seen = std::vector<std::string>;

// The outermost node: logs every press that reaches it as "button@input index".
class SeatProbe : public Node {
    KOVA_RUNTIME_CLASS(SeatProbe)
public:
    using Node::onEvent;
    bool onEvent(System&, Rectangle&, Mode&, EventData& data) override {
        if (data.type == Event::ButtonPress)
            seen.push_back(std::to_string(static_cast<int>(data.first)) + "@" +
                           std::to_string(data.inputIndex));
        return false;
    }
    Seen seen;
};
KOVA_IMPLEMENT_CLASS_NAMED(SeatProbe, "kova_test::SeatProbe", &Node::absoluteClass)

Bytes u32(unsigned int value) {
    Bytes out;
    appendU32(out, value);
    return out;
}
Bytes nullRecord() {
    return u32(8) + Bytes{0, 0, 0, 0};
}
Bytes record(int classIndex, const Bytes& fields) {
    return u32(static_cast<unsigned int>(8 + fields.size())) +
           Bytes{0, 0, static_cast<unsigned char>(classIndex), 0} + fields;
}

class PlayerInputTest : public HostTest<FileHost> {
protected:
    // A node at slot that runs a new A for presses of button.
    template <class A>
    A* onPress(Node*& slot, int button) {
        auto* node = make<CullEventActionNode>(slot);
        Object* event = nullptr;
        EXPECT_TRUE(Object::create(host, event, new ButtonEvent(0, Event::ButtonPress, button)));
        node->event() = static_cast<Event*>(event);
        return make<A>(node->action());
    }
    // probe (outer) -> lock on Start -> unlock on Back
    void buildScreen() {
        probe = make<SeatProbe>(host.firstNode());
        lock = onPress<LockPointerAction>(probe->nextNode(0), Button::Start);
        Node*& inner = probe->nextNode(0)->nextNode(0);
        unlock = onPress<UnlockPointerAction>(inner, Button::Back);
        EXPECT_TRUE(host.update(0.0f));
    }
    void usePointer(RuntimeClass* cls) {
        EXPECT_TRUE(Pointer::clear(host, host.pointer()));
        if (cls) {
            EXPECT_TRUE(Object::create(host, host.pointer(), cls));
        }
    }
    // One press a frame: the pointer numbers a press when it is reported, so
    // presses reported in the frame that locks were numbered before it.
    void pressOn(int button, int pad) {
        host.buttonPress(button, pad, 1);
        EXPECT_TRUE(host.update(0.0f));
    }
    Seen presses(std::initializer_list<std::pair<int, int>> buttonsAndPads) {
        probe->seen.clear();
        for (auto& press : buttonsAndPads)
            pressOn(press.first, press.second);
        return probe->seen;
    }
    // The pad of every player and one past them, as the data reads them.
    Floats pads() {
        Floats values;
        for (int player = -1; player <= 4; ++player)
            values.push_back(seats.value(host, player));
        return values;
    }
    bool run(Action* action) {
        EventData none;
        return action->onEvent(host, host.clipRect(), host.mode(), none);
    }

    SeatProbe* probe = nullptr;
    LockPointerAction* lock = nullptr;
    UnlockPointerAction* unlock = nullptr;
    PlayerInputIndexData seats{"Seats"};  // the host's own, never counted
};

TEST_F(PlayerInputTest, ClassesNameTheirParentsAndFields) {
    const std::vector<std::pair<const char*, const char*>> classes = {
        {"LockPointerAction", "Action"},
        {"UnlockPointerAction", "Action"},
        {"PlayerInputIndexData", "Data"}};
    for (auto& entry : classes) {
        RuntimeClass* cls = RuntimeClass::findClass(entry.first);
        ASSERT_NE(cls, nullptr) << entry.first;
        EXPECT_EQ(cls->fullName(), "tarn::kova::" + std::string(entry.first));
        EXPECT_STREQ(cls->parentClass()->name(), entry.second);
    }
    Object* object = nullptr;
    ASSERT_TRUE(Object::create(host, object, LockPointerAction::absoluteClass()));
    ReferenceRecorder references;
    EXPECT_TRUE(object->onStream(host, references));
    EXPECT_EQ(references.labels, std::vector<std::string>{"Input index data:Data"});
    Object::clear(host, object);
    for (RuntimeClass* cls :
         {UnlockPointerAction::absoluteClass(), PlayerInputIndexData::absoluteClass()}) {
        ASSERT_TRUE(Object::create(host, object, cls));
        ReferenceRecorder none;
        FieldRecorder fields;
        EXPECT_TRUE(object->onStream(host, none));
        EXPECT_TRUE(object->onStream(host, fields));
        EXPECT_TRUE(none.labels.empty()) << cls->name();
        EXPECT_TRUE(fields.fields.empty()) << cls->name();
        Object::clear(host, object);
    }
}

TEST_F(PlayerInputTest, LockingMakesPadsIntoPlayersInTheOrderTheyPress) {
    usePointer(DynamicIndexPointer::absoluteClass());
    buildScreen();
    EXPECT_EQ(seats.indexCount(host), 4);

    // Unlocked, the pad pressed last is player 1.
    EXPECT_EQ(presses({{Button::Select, 3}}), Seen({"1@1"}));
    EXPECT_EQ(pads(), Floats({0, 2, 0, 0, 0, 0}));

    // The press that locks still arrives as player 1 and is not consumed;
    // the assignment starts empty.
    EXPECT_EQ(presses({{Button::Start, 2}}), Seen({"17@1"}));
    EXPECT_EQ(pads(), Floats({0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(presses({{Button::Select, 3}, {Button::Select, 4}, {Button::Select, 3}}),
              Seen({"1@1", "1@2", "1@1"}));
    EXPECT_EQ(pads(), Floats({0, 2, 3, 0, 0, 0}));
    // Only the indexed reads know players; the data has no text.
    EXPECT_EQ(seats.value(host), 0.0f);
    EXPECT_EQ(seats.character(host, 1, 0), 0);
    EXPECT_EQ(seats.stringLength(host, 1), 0);

    // Locking again starts over.
    EXPECT_EQ(presses({{Button::Start, 4}, {Button::Select, 1}, {Button::Select, 3}}),
              Seen({"17@2", "1@1", "1@2"}));
    EXPECT_EQ(pads(), Floats({0, 0, 2, 0, 0, 0}));

    // Unlocked again, every pad is player 1.
    EXPECT_EQ(presses({{Button::Back, 3}, {Button::Select, 4}, {Button::Select, 2}}),
              Seen({"3@2", "1@1", "1@1"}));
    EXPECT_EQ(pads(), Floats({0, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(static_cast<DynamicIndexPointer*>(host.pointer())->isLocked());
    EXPECT_FALSE(run(lock));
    EXPECT_TRUE(static_cast<DynamicIndexPointer*>(host.pointer())->isLocked());
    EXPECT_FALSE(run(unlock));
    EXPECT_FALSE(static_cast<DynamicIndexPointer*>(host.pointer())->isLocked());
}

TEST_F(PlayerInputTest, OtherPointersAreLeftAlone) {
    usePointer(Pointer::absoluteClass());
    buildScreen();
    EXPECT_EQ(presses({{Button::Start, 3}, {Button::Select, 2}, {Button::Back, 4}}),
              Seen({"17@3", "1@2", "3@4"}));
    EXPECT_EQ(pads(), Floats({0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(run(lock));
    EXPECT_FALSE(run(unlock));
    EXPECT_STREQ(host.pointer()->actualClass()->name(), "Pointer");

    // Without any pointer nothing reaches the screens, and nothing breaks.
    usePointer(nullptr);
    EXPECT_FALSE(run(lock));
    EXPECT_FALSE(run(unlock));
    EXPECT_EQ(pads(), Floats({0, 0, 0, 0, 0, 0}));
}

// A title screen from a file that locks on Start. The input index data is
// read and kept, but locking does not touch it.
TEST_F(PlayerInputTest, LockingFromAFileKeepsItsInputIndexData) {
    usePointer(DynamicIndexPointer::absoluteClass());
    Bytes start = Bytes{0} + u32(Event::ButtonPress) + u32(Button::Start);
    host.files["Title"] =
        fileHeader({"tarn::kova::CullEventActionNode", "tarn::kova::LockPointerAction",
                    "tarn::kova::IntData", "tarn::kova::ButtonEvent"}) +
        Bytes{1, 0} + nullRecord() + record(2, record(3, u32(7))) + record(4, start);
    EXPECT_TRUE(host.load("Title", nullptr));
    EXPECT_EQ(host.log.text, "Kova: Loading: Title\r\n");
    auto* title = static_cast<CullEventActionNode*>(host.firstNode());
    auto* locking = static_cast<LockPointerAction*>(title->action());
    ASSERT_NE(locking, nullptr);
    ASSERT_NE(locking->inputIndexData(), nullptr);

    pressOn(Button::Select, 2);
    pressOn(Button::Start, 4);
    pressOn(Button::Select, 2);
    pressOn(Button::Select, 1);
    EXPECT_EQ(pads(), Floats({0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(locking->inputIndexData()->value(host), 7.0f);
}

}  // namespace
}  // namespace kova_test
