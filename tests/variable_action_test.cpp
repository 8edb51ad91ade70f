// Variable actions driven by presses and frames through the host's entry
// points: the exact values and texts they write, the limits of stepping, and
// gliding towards a target over elapsed time.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

using Labels = std::vector<std::string>;

// A number variable that records every number written into it, so a test
// sees writes that leave the value unchanged and writes that never came.
class WriteLogData : public Data {
    KOVA_RUNTIME_CLASS(WriteLogData)
public:
    using Data::set;
    using Data::value;
    bool set(System&, float value) override {
        number = value;
        written.push_back(value);
        return true;
    }
    bool set(System&, const char*) override {
        ++textsWritten;
        return true;
    }
    float value(System&) override { return number; }

    float number = 0.0f;
    Floats written;
    int textsWritten = 0;
};
KOVA_IMPLEMENT_CLASS_NAMED(WriteLogData, "kova_test::WriteLogData", &Data::absoluteClass)

// Lists the fields a class streams as "label: value", references with the
// class they admit.
class FieldLabels : public Stream {
public:
    bool stream() override { return true; }
    bool streamFloat(float& value, const char* label) override {
        std::ostringstream text;
        text << value;
        return add(label, text.str());
    }
    bool streamObject(System&, Object*&, const char* label, RuntimeClass* required) override {
        return add(label, required ? required->name() : "any");
    }
    Labels fields;

private:
    bool add(const char* label, const std::string& value) {
        fields.push_back(std::string(label) + ": " + value);
        return true;
    }
};

Bytes u32(unsigned int value) {
    Bytes out;
    appendU32(out, value);
    return out;
}
Bytes f32(float value) {
    unsigned int bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return u32(bits);
}
Bytes nullRecord() {
    return u32(8) + Bytes{0, 0, 0, 0};
}
Bytes record(int classIndex, const Bytes& fields) {
    return u32(static_cast<unsigned int>(8 + fields.size())) +
           Bytes{0, 0, static_cast<unsigned char>(classIndex), 0} + fields;
}

// The eased step of a glide, worked out at run time as the engine does it:
// the elapsed step scaled by the cosine of the quarter turn 1.57075 less its
// share of the braking distance.
float easedStep(float speed, float elapsed, float distance, float braking) {
    volatile float quarter = 1.57075f;  // kept from being folded at compile time
    return speed * elapsed * std::cos(quarter - quarter * distance / braking);
}

class VariableActionTest : public HostTest<FileHost> {
protected:
    // A node at slot that runs a new A for the records matcher admits.
    template <class A>
    A* gated(Node*& slot, Event* matcher) {
        auto* node = make<CullEventActionNode>(slot);
        Object* event = nullptr;
        EXPECT_TRUE(Object::create(host, event, matcher));
        node->event() = static_cast<Event*>(event);
        return make<A>(node->action());
    }
    template <class A>
    A* onPress(Node*& slot, int button) {
        return gated<A>(slot, new ButtonEvent(0, Event::ButtonPress, button));
    }
    // A node at slot that runs a new A with every record it receives.
    template <class A>
    A* always(Node*& slot) {
        return make<A>(make<ActionNode>(slot)->action());
    }
    template <class D>
    D* data(Data*& slot, float value) {
        D* made = make<D>(slot);
        made->set(host, value);
        return made;
    }
    void frame(float elapsed) { EXPECT_TRUE(host.update(elapsed)); }
    void press(int button, float elapsed = 0.0f) {
        host.buttonPress(button, 1, 1);
        frame(elapsed);
    }
    std::string text(Data* d) {
        char buffer[64];
        d->stringCopy(host, buffer, sizeof buffer);
        return buffer;
    }
};

TEST_F(VariableActionTest, ClassesNameTheirParentsAndListTheirFields) {
    const std::vector<std::pair<const char*, Labels>> classes = {
        {"SetVariableAction", {"Action", "Variable: Data", "Data: Data"}},
        {"SetStringAction", {"Action", "Variable: Data", "Data: Data"}},
        {"ToggleVariableAction", {"Action", "Variable: Data"}},
        {"ModifyVariableAction", {"Action", "Variable: Data", "Modify value: 0", "Limit value: 0"}},
        {"SetVariableSoftAction",
         {"SetVariableAction", "Variable: Data", "Data: Data", "Speed: 100"}},
        {"SetVariableSineAction",
         {"SetVariableSoftAction", "Variable: Data", "Data: Data", "Speed: 100",
          "Braking distance: 0"}},
        {"SetVariableSinusAction",
         {"SetVariableSineAction", "Variable: Data", "Data: Data", "Speed: 100",
          "Braking distance: 0"}},
        {"SetVariableArrayAction",
         {"SetVariableAction", "Variable: Data", "Data: Data", "Index: Data"}}};
    for (auto& entry : classes) {
        RuntimeClass* cls = RuntimeClass::findClass(entry.first);
        ASSERT_NE(cls, nullptr) << entry.first;
        EXPECT_EQ(cls->fullName(), "tarn::kova::" + std::string(entry.first));
        FieldLabels labels;
        labels.fields.push_back(cls->parentClass()->name());
        Object* object = nullptr;
        ASSERT_TRUE(Object::create(host, object, cls));
        EXPECT_TRUE(object->onStream(host, labels));
        EXPECT_EQ(labels.fields, entry.second);
        Object::clear(host, object);
    }
}

// Each button runs one action; a root counter hears every press, so none of
// the actions consumed one.
TEST_F(VariableActionTest, PressesCopyToggleAndStepVariables) {
    auto* counter =
        gated<ModifyVariableAction>(host.firstNode(), new TypeEvent(0, Event::ButtonPress));
    auto* presses = data<IntData>(counter->variable(), 0.0f);
    counter->setModifyValue(1.0f);
    counter->setLimitValue(1000.0f);
    Node*& slot1 = host.firstNode()->nextNode(0);
    auto* copy = onPress<SetVariableAction>(slot1, Button::Select);
    auto* whole = data<IntData>(copy->variable(), 0.0f);
    auto* source = data<FloatData>(copy->data(), 2.5f);
    Node*& slot2 = slot1->nextNode(0);
    auto* copyText = onPress<SetStringAction>(slot2, Button::Cancel);
    auto* words = make<StringData>(copyText->variable());
    data<FloatData>(copyText->data(), 1.5f);
    Node*& slot3 = slot2->nextNode(0);
    auto* toggle = onPress<ToggleVariableAction>(slot3, Button::Back);
    auto* flag = make<BoolData>(toggle->variable());
    Node*& slot4 = slot3->nextNode(0);
    auto* step = onPress<ModifyVariableAction>(slot4, Button::Edit);
    auto* level = data<FloatData>(step->variable(), 9.5f);
    step->setModifyValue(1.0f);
    step->setLimitValue(10.0f);
    frame(0.0f);

    // Numbers are rounded by the variable they land in.
    press(Button::Select);
    EXPECT_EQ(text(whole), "3");
    source->set(host, -2.5f);
    press(Button::Select);
    EXPECT_EQ(text(whole), "-3");

    // Texts are copied as the source reads them.
    press(Button::Cancel);
    EXPECT_EQ(text(words), "1.500000000");
    std::string longText(2000, 'x');
    Object::clear(host, copyText->data());
    make<StringData>(copyText->data())->set(host, longText.c_str());
    press(Button::Cancel);
    EXPECT_EQ(words->stringLength(host), 1023);
    EXPECT_EQ(words->character(host, 1022), 'x');

    press(Button::Back);
    EXPECT_EQ(text(flag), "true");
    press(Button::Back);
    EXPECT_EQ(text(flag), "false");
    Object::clear(host, toggle->variable());
    auto* five = data<IntData>(toggle->variable(), 5.0f);
    press(Button::Back);
    EXPECT_EQ(text(five), "0");
    press(Button::Back);
    EXPECT_EQ(text(five), "1");

    // The limit cuts steps, also pulling down values already past it.
    press(Button::Edit);
    EXPECT_EQ(level->value(host), 10.0f);
    press(Button::Edit);
    EXPECT_EQ(level->value(host), 10.0f);
    level->set(host, 12.0f);
    press(Button::Edit);
    EXPECT_EQ(level->value(host), 10.0f);
    level->set(host, 7.25f);
    press(Button::Edit);
    EXPECT_EQ(level->value(host), 8.25f);
    step->setModifyValue(-1.0f);
    step->setLimitValue(0.0f);
    level->set(host, 0.5f);
    press(Button::Edit);
    EXPECT_EQ(level->value(host), 0.0f);
    level->set(host, -3.0f);
    press(Button::Edit);
    EXPECT_EQ(level->value(host), 0.0f);
    // A step of 0 writes the value back unchanged, whatever the limit.
    step->setModifyValue(0.0f);
    Object::clear(host, step->variable());
    auto* watched = data<WriteLogData>(step->variable(), 4.25f);
    watched->written.clear();
    press(Button::Edit);
    EXPECT_EQ(watched->written, Floats({4.25f}));

    EXPECT_EQ(presses->value(host), 15.0f);
}

TEST_F(VariableActionTest, ArrayActionsWriteTheTruncatedElement) {
    auto* write = onPress<SetVariableArrayAction>(host.firstNode(), Button::Select);
    float values[3] = {0.0f, 0.0f, 0.0f};
    Object* array = nullptr;
    ASSERT_TRUE(Object::create(host, array, new FloatArrayData(values, 3, nullptr)));
    write->variable() = static_cast<Data*>(array);
    auto* index = data<FloatData>(write->index(), 2.7f);
    auto* source = data<FloatData>(write->data(), 4.5f);
    frame(0.0f);

    press(Button::Select);
    EXPECT_EQ(Floats(values, values + 3), Floats({0.0f, 0.0f, 4.5f}));
    index->set(host, 5.0f);
    source->set(host, 6.0f);
    press(Button::Select);
    EXPECT_EQ(Floats(values, values + 3), Floats({0.0f, 0.0f, 4.5f}));
    index->set(host, -0.5f);  // truncated toward zero: element 0
    press(Button::Select);
    EXPECT_EQ(Floats(values, values + 3), Floats({6.0f, 0.0f, 4.5f}));
    index->set(host, -1.0f);
    source->set(host, 7.0f);
    press(Button::Select);
    EXPECT_EQ(Floats(values, values + 3), Floats({6.0f, 0.0f, 4.5f}));
    index->set(host, 1.0f);
    Object::clear(host, write->index());
    press(Button::Select);
    EXPECT_EQ(Floats(values, values + 3), Floats({6.0f, 0.0f, 4.5f}));
}

TEST_F(VariableActionTest, SoftGlidesMoveBySpeedTimesElapsedAndStopAtTheTarget) {
    auto* glide = always<SetVariableSoftAction>(host.firstNode());
    auto* current = data<WriteLogData>(glide->variable(), 0.0f);
    auto* target = data<FloatData>(glide->data(), 30.0f);
    frame(0.0f);
    current->written.clear();

    for (int i = 0; i < 4; ++i)
        frame(0.1f);
    EXPECT_EQ(current->written, Floats({10.0f, 20.0f, 30.0f}));

    // A press reaches the glide between two zero-time updates and is ignored:
    // taken for an update its button number would move the value.
    target->set(host, 0.0f);
    frame(0.1f);
    current->written.clear();
    press(Button::Select, 0.0f);
    EXPECT_EQ(current->written, Floats({20.0f, 20.0f}));

    // It goes on from wherever another writer put the variable.
    current->written.clear();
    current->number = 25.0f;
    frame(0.1f);
    frame(0.1f);
    glide->setSpeed(40.0f);
    frame(0.25f);
    frame(0.25f);
    frame(0.25f);
    EXPECT_EQ(current->written, Floats({15.0f, 5.0f, 0.0f}));
    EXPECT_EQ(current->number, 0.0f);

    // A missing target or variable stops the glide.
    target->set(host, 50.0f);
    Object::clear(host, glide->data());
    frame(0.25f);
    EXPECT_EQ(current->written.size(), 3u);
}

TEST_F(VariableActionTest, SineGlidesEaseInWithinTheBrakingDistance) {
    // plain (no braking) -> near (braking 5) -> eased (braking 50)
    auto* plain = always<SetVariableSineAction>(host.firstNode());
    auto* plainValue = data<WriteLogData>(plain->variable(), 0.0f);
    data<FloatData>(plain->data(), 30.0f);
    Node*& slot = host.firstNode()->nextNode(0);
    auto* near = always<SetVariableSineAction>(slot);
    near->setBrakingDistance(5.0f);
    auto* nearValue = data<WriteLogData>(near->variable(), 7.0f);
    data<FloatData>(near->data(), 30.0f);
    auto* eased = always<SetVariableSineAction>(slot->nextNode(0));
    eased->setBrakingDistance(50.0f);
    auto* easedValue = data<WriteLogData>(eased->variable(), 0.0f);
    data<FloatData>(eased->data(), 10.0f);
    frame(0.0f);
    plainValue->written.clear();
    nearValue->written.clear();
    easedValue->written.clear();

    for (int i = 0; i < 4; ++i)
        frame(0.1f);
    // Without braking it is the soft glide.
    EXPECT_EQ(plainValue->written, Floats({10.0f, 20.0f, 30.0f}));
    // Full steps while at least the braking distance away; the eased last
    // step would overshoot and stops at the target.
    EXPECT_EQ(nearValue->written, Floats({17.0f, 27.0f, 30.0f}));
    float first = easedStep(100.0f, 0.1f, 10.0f, 50.0f);
    float second = first + easedStep(100.0f, 0.1f, 10.0f - first, 50.0f);
    ASSERT_EQ(easedValue->written.size(), 4u);
    EXPECT_EQ(easedValue->written[0], first);
    EXPECT_EQ(easedValue->written[1], second);
    EXPECT_LT(easedValue->written[3], 10.0f);  // easing never quite arrives

    // Downwards the eased step is taken off.
    easedValue->written.clear();
    easedValue->number = 10.0f;
    eased->data()->set(host, 0.0f);
    press(Button::Select, 0.1f);
    EXPECT_EQ(easedValue->written, Floats({10.0f - first, 10.0f - first}));
}

TEST_F(VariableActionTest, OldSinusGlidesWarnWhenMadeOrLoaded) {
    const std::string warning =
        "Kova: Warning: DEPRECATED, SetVariableSinusAction should be replaced with "
        "SetVariableSineAction\r\n";
    Object* made = nullptr;
    ASSERT_TRUE(Object::create(host, made, SetVariableSinusAction::absoluteClass()));
    EXPECT_EQ(host.log.text, warning);
    Object::clear(host, made);

    // A screen that eases a value from 0 towards 10, braking within 50.
    host.log.text.clear();
    host.files["Glide"] =
        fileHeader({"tarn::kova::ActionNode", "tarn::kova::SetVariableSinusAction",
                    "tarn::kova::FloatData"}) +
        Bytes{1, 0} + nullRecord() +
        record(2, record(3, f32(0.0f)) + record(3, f32(10.0f)) + f32(100.0f) + f32(50.0f));
    EXPECT_TRUE(host.load("Glide", nullptr));
    EXPECT_EQ(host.log.text, "Kova: Loading: Glide\r\n" + warning);
    auto* glide =
        static_cast<SetVariableSinusAction*>(static_cast<ActionNode*>(host.firstNode())->action());
    ASSERT_NE(glide, nullptr);
    EXPECT_EQ(glide->speed(), 100.0f);
    EXPECT_EQ(glide->brakingDistance(), 50.0f);
    frame(0.1f);
    EXPECT_EQ(glide->variable()->value(host), easedStep(100.0f, 0.1f, 10.0f, 50.0f));
    EXPECT_EQ(host.log.text, "Kova: Loading: Glide\r\n" + warning);
}

// Every action does nothing and consumes nothing while a reference it needs
// is missing.
TEST_F(VariableActionTest, MissingReferencesWriteNothing) {
    Object* holder = nullptr;
    auto* variable = make<WriteLogData>(holder);
    EventData update{Event::Update, 0, 0.5f, 0.0f, 0.0f};
    EventData press{Event::ButtonPress, 1, 1.0f, 1.0f, 0.0f};
    auto consumes = [&](Object* object) {
        auto* action = static_cast<Action*>(object);
        bool first = action->onEvent(host, host.clipRect(), host.mode(), update);
        bool second = action->onEvent(host, host.clipRect(), host.mode(), press);
        return first || second;
    };
    for (const char* name :
         {"SetVariableAction", "SetStringAction", "ToggleVariableAction", "ModifyVariableAction",
          "SetVariableSoftAction", "SetVariableSineAction", "SetVariableSinusAction",
          "SetVariableArrayAction"}) {
        Object* object = nullptr;
        ASSERT_TRUE(Object::create(host, object, RuntimeClass::findClass(name)));
        EXPECT_FALSE(consumes(object)) << name;
        Object::clear(host, object);
    }
    // A variable without the data to copy into it.
    for (const char* name : {"SetVariableAction", "SetVariableSoftAction", "SetVariableSineAction",
                             "SetVariableArrayAction"}) {
        Object* object = nullptr;
        ASSERT_TRUE(Object::create(host, object, RuntimeClass::findClass(name)));
        auto* action = static_cast<SetVariableAction*>(object);
        action->variable() = variable;
        EXPECT_FALSE(consumes(object)) << name;
        action->variable() = nullptr;  // the test keeps the variable
        Object::clear(host, object);
    }
    auto* copyText = make<SetStringAction>();
    copyText->variable() = variable;
    EXPECT_FALSE(consumes(copyText));
    copyText->variable() = nullptr;
    Object::clear(host, copyText);
    EXPECT_EQ(variable->written, Floats());
    EXPECT_EQ(variable->textsWritten, 0);
    Object::clear(host, holder);
}

}  // namespace
}  // namespace kova_test
