// Functions: host callbacks called by name and from screens, their outcome
// left in variables, and screen actions wrapped as functions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

int startCalls = 0;
bool startResult = true;
bool start() {
    ++startCalls;
    return startResult;
}

// Keeps the records it runs with and where it was run; reports a chosen
// result.
class RecordingAction : public Action {
    KOVA_RUNTIME_CLASS(RecordingAction)
public:
    bool onEvent(System&, Rectangle& rect, Mode& mode, EventData& data) override {
        records.push_back({static_cast<float>(data.type), static_cast<float>(data.inputIndex),
                           data.first, data.second, data.third});
        rects.push_back(&rect);
        modes.push_back(&mode);
        return result;
    }
    std::vector<Floats> records;
    std::vector<Rectangle*> rects;
    std::vector<Mode*> modes;
    bool result = false;
};
KOVA_IMPLEMENT_CLASS_NAMED(RecordingAction, "kova_test::RecordingAction", &Action::absoluteClass)

class FunctionTest : public HostTest<FileHost> {
protected:
    void SetUp() override {
        HostTest::SetUp();
        startCalls = 0;
        startResult = true;
    }
    StaticFunction* registerStart(const char* directory = "Game") {
        auto* function = new StaticFunction(&start, "Start");
        EXPECT_EQ(host.registerFunction(function, directory), function);
        return function;
    }
};

TEST_F(FunctionTest, StaticFunctionsReturnTheCallbackQuietly) {
    StaticFunction* function = registerStart();
    EXPECT_EQ(function->actualClass(), Function::absoluteClass());
    EXPECT_STREQ(function->name(), "Start");
    EXPECT_TRUE(host.callFunction("Game/Start"));
    startResult = false;
    EXPECT_FALSE(host.callFunction("Game/Start"));
    EXPECT_EQ(startCalls, 2);
    EXPECT_EQ(host.log.text, "");

    // One made without a callback fails its calls.
    Function* empty = new StaticFunction(nullptr, "Empty");
    ASSERT_EQ(host.registerFunction(empty, nullptr), empty);
    EXPECT_FALSE(host.callFunction("Empty"));
}

TEST_F(FunctionTest, ResultsLandInVariablesAsOneOrZero) {
    Action* slot = nullptr;
    auto* action = make<CallFunctionVariableAction>(slot);
    FloatData* number = make<FloatData>(action->resultData());
    number->set(host, 7.0f);
    EventData any;
    EXPECT_FALSE(action->onEvent(host, host.clipRect(), host.mode(), any));
    EXPECT_EQ(number->value(host), 7.0f);  // no function: left as it was

    action->function() = registerStart();
    startResult = false;
    EXPECT_FALSE(action->onEvent(host, host.clipRect(), host.mode(), any));
    EXPECT_EQ(number->value(host), 0.0f);
    startResult = true;
    EXPECT_FALSE(action->onEvent(host, host.clipRect(), host.mode(), any));
    EXPECT_EQ(number->value(host), 1.0f);

    Object::clear(host, action->resultData());
    IntData* whole = make<IntData>(action->resultData());
    whole->set(host, 5.0f);
    startResult = false;
    action->onEvent(host, host.clipRect(), host.mode(), any);
    EXPECT_EQ(whole->value(host), 0.0f);
    startResult = true;
    action->onEvent(host, host.clipRect(), host.mode(), any);
    EXPECT_EQ(whole->value(host), 1.0f);

    Object::clear(host, action->resultData());
    EXPECT_FALSE(action->onEvent(host, host.clipRect(), host.mode(), any));  // no result data
    EXPECT_EQ(startCalls, 5);
    Object::clear(host, slot);  // the named function stays in the directory
    EXPECT_TRUE(host.callFunction("Game/Start"));
}

TEST_F(FunctionTest, ActionFunctionsPressSelectOnTheWholeScreen) {
    Object* created = nullptr;
    ASSERT_TRUE(Object::create(host, created, RuntimeClass::findClass("ActionFunction")));
    EXPECT_EQ(created->name(), nullptr);
    EXPECT_TRUE(static_cast<Function*>(created)->call(host));  // no action
    Object::clear(host, created);

    auto* recording = new RecordingAction();
    Object* adopted = nullptr;
    ASSERT_TRUE(Object::create(host, adopted, recording));
    auto* wrapped = new ActionFunction("Open", recording);
    ASSERT_EQ(host.registerFunction(wrapped, "Screens"), wrapped);
    EXPECT_TRUE(host.callFunction("Screens/Open"));
    EXPECT_EQ(recording->records, std::vector<Floats>({{1.0f, 0.0f, 1.0f, 1.0f, 0.0f}}));
    EXPECT_EQ(recording->rects, std::vector<Rectangle*>{&host.clipRect()});
    EXPECT_EQ(recording->modes, std::vector<Mode*>{&host.mode()});
    EXPECT_EQ(host.log.text, "");

    // A wrapped action that calls a function reports false; the call is
    // still a success.
    registerStart(nullptr);
    Object::clear(host, wrapped->action());
    auto* call = make<CallFunctionAction>(wrapped->action());
    call->function() = static_cast<Function*>(host.findNamedObject("Start"));
    EXPECT_TRUE(wrapped->call(host));
    EXPECT_EQ(startCalls, 1);
}

// Stored length, name index and class index, then the fields.
Bytes record(int nameIndex, int classIndex, const Bytes& fields = {}) {
    Bytes out;
    appendU32(out, static_cast<unsigned int>(8 + fields.size()));
    appendU16(out, nameIndex);
    appendU16(out, classIndex);
    return out + fields;
}

Bytes i32(int value) {
    Bytes out;
    appendU32(out, static_cast<unsigned int>(value));
    return out;
}

TEST_F(FunctionTest, ScreensCallRegisteredFunctionsByName) {
    registerStart();
    // Root: Select press -> call Game/Start, result into a flag. The press
    // goes on to the next node, which calls the function on every event.
    Bytes flag = record(0, 5, Bytes{0});
    Bytes call = record(0, 2, record(3, 4) + flag);
    Bytes select = record(0, 6, Bytes{0} + i32(Event::ButtonPress) + i32(Button::Select));
    Bytes ungated = record(0, 7, record(0, 0) + record(0, 8, record(3, 4)));
    host.files["Menu"] =
        fileHeader({"tarn::kova::CullEventActionNode", "tarn::kova::CallFunctionVariableAction",
                    "Game/Start", "tarn::kova::Function", "tarn::kova::BoolData",
                    "tarn::kova::ButtonEvent", "tarn::kova::ActionNode",
                    "tarn::kova::CallFunctionAction"}) +
        Bytes{1, 0} + ungated + call + select;
    ASSERT_TRUE(host.load("Menu", nullptr));
    EXPECT_EQ(host.log.text, "Kova: Loading: Menu\r\n");
    // Shown (three events) and settled (one update): the ungated node only.
    EXPECT_EQ(startCalls, 4);

    auto* root = static_cast<CullEventActionNode*>(host.firstNode());
    auto* action = static_cast<CallFunctionVariableAction*>(root->action());
    EXPECT_EQ(action->function(), host.findNamedObject("Game/Start"));
    Data* result = action->resultData();
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->value(host), 0.0f);

    startCalls = 0;
    host.update(0.0f);  // focus settles
    host.buttonPress(Button::Select, 1, 1);
    host.update(0.1f);
    // The settling update, then the update walk, the press (ungated node,
    // then the root) and the zero-time update walk.
    EXPECT_EQ(startCalls, 5);
    EXPECT_EQ(result->value(host), 1.0f);

    startResult = false;
    host.buttonPress(Button::Select, 1, 1);
    host.update(0.1f);
    EXPECT_EQ(result->value(host), 0.0f);
    EXPECT_EQ(host.log.text, "Kova: Loading: Menu\r\n");
}

}  // namespace
}  // namespace kova_test
