// Actions and action nodes driven through the host's entry points: which
// actions run, in which order and with which records, what consumes a press,
// the sounds the host plays, the timers and glides over elapsed time, the
// values variable actions write, host functions called from screens, and
// screens that lock the players' pads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

using Log = std::vector<std::string>;

// A float exactly, as the nearest shorter decimal does not show it.
std::string exact(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

// What the probes, variables and host functions of a test did, in order.
Log runs;
bool note(const std::string& run) {
    runs.push_back(run);
    return true;
}

// Sounds have handles from 100 on, one per name; each sound played is noted
// as "name@volume".
class ActionHost : public FileHost {
public:
    int soundHandle(const char* name) override {
        if (!name || !*name) return 0;
        auto at = std::find(names.begin(), names.end(), name);
        if (at == names.end()) at = names.insert(at, name);
        return 100 + static_cast<int>(at - names.begin());
    }
    const char* soundName(int handle) override {
        std::size_t i = static_cast<std::size_t>(handle - 100);
        return handle >= 100 && i < names.size() ? names[i].c_str() : nullptr;
    }
    bool soundPlay(int sound, float volume) override {
        return note(std::string(soundName(sound)) + "@" + exact(volume));
    }
    std::vector<std::string> names;
};

// Notes every record it runs with as "label Type inputIndex first second"
// and consumes when told to.
class ProbeAction : public Action {
    KOVA_RUNTIME_CLASS(ProbeAction)
public:
    ~ProbeAction() override { Memory::stringDelete(label); }
    bool onStream(System& system, Stream& stream) override {
        return Action::onStream(system, stream) && stream.streamString(label, "Label") &&
               stream.streamBool(consumes, "Consumes");
    }
    bool onEvent(System&, Rectangle& rect, Mode& mode, EventData& data) override {
        const char* type = Event::name(data.type);
        note(std::string(label) + " " + (type ? type : "?") + " " +
             std::to_string(data.inputIndex) + " " + printed(data.first) + " " +
             printed(data.second));
        lastRect = &rect;
        lastMode = &mode;
        return consumes;
    }
    char* label = nullptr;
    bool consumes = false;
    Rectangle* lastRect = nullptr;
    Mode* lastMode = nullptr;
};
KOVA_IMPLEMENT_CLASS_NAMED(ProbeAction, "kova_test::ProbeAction", &Action::absoluteClass)

// A number variable starting at Start that notes every write: numbers
// exactly, texts quoted, elements as "[index]number".
class WriteLogData : public Data {
    KOVA_RUNTIME_CLASS(WriteLogData)
public:
    using Data::set;
    bool onStream(System& system, Stream& stream) override {
        return Data::onStream(system, stream) && stream.streamFloat(number, "Start");
    }
    bool set(System&, float value) override { return note(exact(number = value)); }
    bool set(System&, const char* text) override { return note("'" + std::string(text) + "'"); }
    bool set(System&, int index, float value) override {
        return note("[" + std::to_string(index) + "]" + exact(value));
    }
    float value(System&) override { return number; }
    float number = 0.0f;
};
KOVA_IMPLEMENT_CLASS_NAMED(WriteLogData, "kova_test::WriteLogData", &Data::absoluteClass)

// The eased step of a glide, worked out at run time as the engine does it:
// the elapsed step scaled by the cosine of the quarter turn 1.57075 less its
// share of the braking distance.
float easedStep(float speed, float elapsed, float distance, float braking) {
    volatile float quarter = 1.57075f;  // kept from being folded at compile time
    return speed * elapsed * std::cos(quarter - quarter * distance / braking);
}

const int Select = Button::Select, Cancel = Button::Cancel, Start = Button::Start;

class ActionTest : public HostTest<ActionHost> {
protected:
    void SetUp() override {
        HostTest::SetUp();
        runs.clear();
        // Host functions that note their calls.
        host.registerFunction(new StaticFunction([] { return note("yes"); }, "Yes"), "Game");
        host.registerFunction(new StaticFunction([] { return !note("no"); }, "No"), "Game");
    }
    // Reads a text in which probe(x) and probe!(x) are probes labelled x,
    // the second consuming; v(n) is a write-noting variable starting at n,
    // f(n) a FloatData holding n, <press B> a press of button B, <T> any
    // event of type T, and "Value:" and "String:" the value labels.
    Object* read(std::string text) {
        const char* shorthands[][2] = {
            {"probe\\((\\w+)\\)", "ProbeAction { Label: \"$1\" Consumes: false }"},
            {"probe!\\((\\w+)\\)", "ProbeAction { Label: \"$1\" Consumes: true }"},
            {"v\\(([^)]*)\\)", "WriteLogData { Start: $1 }"},
            {"f\\(([^)]*)\\)", "FloatData { Value: $1 }"},
            {"<press (\\w+)>",
             "ButtonEvent { \"Input index (0 == all indexes)\": 0 "
             "\"Event type\": ButtonPress \"Button type\": $1 }"},
            {"<(\\w+)>", "TypeEvent { \"Input index (0 == all indexes)\": 0 \"Event type\": $1 }"},
            {"\\b(Value|String):", "\"$1 <do not edit>\":"}};
        for (auto& s : shorthands)
            text = std::regex_replace(text, std::regex(s[0]), s[1]);
        return readObject(host, text);
    }
    // Shows the screen as the host's first node; the root mode takes the
    // focus once the tree has been updated.
    Node* show(const std::string& text) {
        Node::clear(host, host.firstNode());
        host.firstNode() = static_cast<Node*>(read(text));
        frame();
        return host.firstNode();
    }
    // What ran in one frame, one run per line.
    std::string frame(float elapsed = 0.0f) {
        runs.clear();
        EXPECT_TRUE(host.update(elapsed));
        return joinedLines(runs);
    }
    std::string press(int button, int inputIndex = 1, float elapsed = 0.0f) {
        host.buttonPress(button, inputIndex, 1);
        return frame(elapsed);
    }
    // The labels of the probes that ran, each of which must have had the
    // record given, and the sounds played.
    std::string fired(const std::string& record) {
        std::string out;
        for (const std::string& line : runs) {
            std::size_t space = line.find(' ');
            out += (out.empty() ? "" : " ") + line.substr(0, space);
            EXPECT_EQ(space == std::string::npos ? record : line.substr(space), record) << line;
        }
        return out;
    }
    // Runs an action with a record as a node would.
    bool run(Action* action, EventData record = {Event::ButtonPress, 1, 1.0f, 1.0f, 0.0f}) {
        return action->onEvent(host, host.clipRect(), host.mode(), record);
    }
};

// outer (every press) -> the row's gate: a Select press reaches the gate
// first and goes on to outer unless consumed; sounds never consume. No gate
// admits "Update", and Cancel reaches outer only. An if-else node runs its
// action while its variable is not 0 (or missing), its else action
// otherwise; a missing event never matches. The old gate names an event
// type and first parameter, and says it is deprecated when loaded.
TEST_F(ActionTest, GatesRunTheirActionsUntilOneConsumes) {
    auto gate = [](const std::string& action) {
        return "CullEventActionNode { Next node: null Action: " + action +
               " Event: <press Select> } -> ";
    };
    auto old = [](const std::string& action, int type, int first) {
        return "CullActionNode { Next node: null Action: " + action +
               R"x( "Event type (OBS; DO NOT USE!, OLD CLASS)": )x" + std::to_string(type) +
               R"x( "Event data(OBS; DO NOT USE!, OLD CLASS)": )x" + std::to_string(first) + " }";
    };
    auto ifElse = [](const std::string& variable, const std::string& then,
                     const std::string& otherwise, const std::string& event = "<press Select>") {
        return "IfElseEventActionNode { Next node: null Action: " + then +
               " Variable: " + (variable == "null" ? variable : "f(" + variable + ")") +
               " Else Action: " + otherwise + " Event: " + event + " } -> ";
    };
    expectRows(
        {gate("ActionListAction { Action list: [probe(a) probe!(b) probe(c)] }") + "a b",
         gate("ActionListAction { Action list: [probe(a) probe(b)] }") + "a b outer",
         gate("ActionListAction { Action list: [] }") + "outer",
         gate("SplitAction { Action 1: probe!(a) Action 2: probe(b) }") + "a b",
         gate("SplitAction { Action 1: probe(a) Action 2: probe(b) }") + "a b outer",
         gate("SplitAction { Action 1: null Action 2: probe!(b) }") + "b",
         gate("SplitAction { Action 1: probe(a) Action 2: null }") + "a outer",
         gate(
             R"(SplitAction { Action 1: SoundAction { Sound: "" } Action 2: SoundAction { Sound: "click" } })") +
             "click@1 outer",
         gate(R"x(VolumedSoundAction { Sound: "boom" "Volume (0-1)": 0.25 })x") + "boom@0.25 outer",
         ifElse("0.5", "probe!(then)", "probe(else)") + "then",
         ifElse("-1", "probe!(then)", "probe(else)") + "then",
         ifElse("0", "probe!(then)", "probe(else)") + "else outer",
         ifElse("0", "probe!(then)", "null") + "outer",
         ifElse("null", "probe!(then)", "probe(else)") + "then",
         ifElse("1", "null", "probe(else)") + "outer",
         ifElse("1", "probe!(then)", "probe(else)", "null") + "outer",
         old("probe(old)", Event::ButtonPress, Select) + " -> old outer",
         old("null", Event::ButtonPress, Select) + " -> outer"},
        [&](const std::string& node) {
            show("CullEventActionNode { Next node: " + node +
                 " Action: probe(outer) Event: <ButtonPress> }");
            press(Select, 2);
            std::string out = fired(" ButtonPress 2 1 1");
            EXPECT_EQ(frame(1.0f), "");
            press(Cancel, 3);
            EXPECT_EQ(fired(" ButtonPress 3 2 1"), "outer") << node;
            return out;
        });
    // Only the type's low byte counts, and the parameter is truncated.
    Object* node = read(old("probe!(old)", Event::ButtonRelease, 3));
    EventData low{256 + Event::ButtonRelease, 0, 3.9f, 0, 0},
        other{Event::ButtonRelease, 0, 4, 0, 0};
    EXPECT_TRUE(static_cast<Node*>(node)->onEvent(host, host.clipRect(), host.mode(), low));
    EXPECT_FALSE(static_cast<Node*>(node)->onEvent(host, host.clipRect(), host.mode(), other));
    Object::clear(host, node);
    const std::string deprecated = "Kova: DEPRECATED: CullActionNode\r\n";
    EXPECT_EQ(host.log.text, deprecated + deprecated + deprecated);
}

// every -> gated (variable) -> both (variable and Select): a press comes
// between the frame's update walk and a zero-time one.
TEST_F(ActionTest, UngatedAndVariableGatedNodesRunEveryFrame) {
    auto* gated = static_cast<CullVariableActionNode*>(show(R"(ActionNode {
        Next node: CullVariableActionNode { Next node: CullVariableAndEventActionNode {
            Next node: null Action: probe(both) Variable: BoolData "flag" { Value: false }
            Event: <press Select> } Action: probe(gated) Variable: @"flag" }
        Action: probe(every) })")
                                                           ->nextNode(0));
    EXPECT_EQ(frame(0.25f), "every Update 0 0.25 0");
    EXPECT_EQ(press(Select, 4, 0.5f),
              "every Update 0 0.5 0, every ButtonPress 4 1 1, every Update 0 0 0");
    static_cast<Data*>(host.findNamedObject("flag"))->set(host, 1.0f);
    EXPECT_EQ(press(Select, 4, 0.5f),
              "every Update 0 0.5 0, gated Update 0 0.5 0, both ButtonPress 4 1 1, gated "
              "ButtonPress 4 1 1, every ButtonPress 4 1 1, every Update 0 0 0, gated Update 0 0 0");
    EXPECT_EQ(press(Cancel, 4),
              "every Update 0 0 0, gated Update 0 0 0, gated ButtonPress 4 2 1, every "
              "ButtonPress 4 2 1, every Update 0 0 0, gated Update 0 0 0");
    Object::clear(host, gated->variable());  // without one it runs every frame
    EXPECT_EQ(frame(0.1f), "every Update 0 0.1 0, gated Update 0 0.1 0");
}

// tick fires each second of elapsed time, dropping the overshoot; idle fires
// after 30 s without a Select press; busy is restarted by every frame's
// "Update" before the frame's time is added, so only one frame as long as
// the timeout fires it. Each row is one frame (or press) and who fired.
TEST_F(ActionTest, TimeoutNodesFireOnElapsedTime) {
    auto* timer = static_cast<TimeoutActionNode*>(show(R"(TimeoutActionNode {
        Next node: CullEventTimeoutActionNode { Next node: CullEventTimeoutActionNode {
                Next node: null Action: probe(busy) Event: <Update> Timeout time: 30 }
            Action: probe(idle) Event: <press Select> Timeout time: 30 }
        Action: probe!(tick) Timeout time: 1 })"));
    expectRows({"0 0.6 -> ", "0 0.6 -> tick", "1 0.6 -> ", "0 0.6 -> tick", "1 5 -> tick",
                "1 20 -> tick", "0 29.5 -> tick", "2 0 -> ", "0 0.5 -> idle", "0 28.5 -> tick",
                "0 0 -> ", "0 30 -> tick idle busy"},
               [&](const std::string& row) {  // button (0: none), elapsed time -> fired
                   int button = std::stoi(row);
                   float elapsed = std::stof(row.substr(2));
                   button ? press(button, 1, elapsed) : frame(elapsed);
                   return fired(" No event 0 0 0");
               });
    Object::clear(host, timer->action());
    EXPECT_EQ(frame(5.0f), "");
    EXPECT_EQ(timer->elapsedTime(), 0.0f);
}

// A screen that plays a sound at 0.25 when it is shown; saved, the fields
// come out as they were read.
TEST_F(ActionTest, LoadedNodesHearTheScreenShow) {
    Bytes sound = {4, 'b', 'o', 'o', 'm', 0x00, 0x00, 0x80, 0x3E};
    Bytes event = Bytes{0} + u32Bytes(Event::PostShow);
    host.files["Menu"] = fileHeader({"tarn::kova::CullEventActionNode",
                                     "tarn::kova::VolumedSoundAction", "tarn::kova::TypeEvent"}) +
                         Bytes{1, 0} + recordBytes(0, 0) + recordBytes(0, 2, sound) +
                         recordBytes(0, 3, event);
    EXPECT_TRUE(host.load("Menu", nullptr));
    EXPECT_EQ(runs, Log({"boom@0.25"}));
    auto* root = static_cast<CullEventActionNode*>(host.firstNode());
    MemoryOStream out(64);
    EXPECT_TRUE(root->action()->onSave(host, out) && root->event()->onSave(host, out));
    EXPECT_EQ(Bytes(out.buffer(), out.buffer() + out.position()), sound + event);
    EXPECT_EQ(host.log.text, "Kova: Loading: Menu\r\n");
}

// Each row runs an action with a press and then with two "Update"s of 0.1 s;
// none consumes. The row gives what its variable v noted: numbers are
// written as read, texts as the source reads them, steps stop at the limit
// and pull back values already past it, and a missing reference writes (and
// calls) nothing. Glides ignore presses, move by speed times the elapsed
// time and stop at the target; a sine glide (and the old one, which warns
// when made or loaded) eases within its braking distance, and an eased step
// that would overshoot stops at the target.
TEST_F(ActionTest, VariableActionsWriteTheirVariable) {
    const std::string longText(2000, 'x'), cut = "'" + std::string(1023, 'x') + "'";
    const std::string eased = "Speed: 100 Braking distance: 50 } -> ";
    float first = easedStep(100.0f, 0.1f, 10.0f, 50.0f);
    float second = first + easedStep(100.0f, 0.1f, 10.0f - first, 50.0f);
    float down = 10.0f - first;
    const std::string easedUp = exact(first) + " " + exact(second);
    expectRows(
        {"SetVariableAction { Variable: v(0) Data: f(2.5) } -> 2.5 2.5 2.5",
         "SetVariableAction { Variable: v(0) Data: null } -> ",
         "SetStringAction { Variable: v(0) Data: IntData { Value: 7 } } -> '7' '7' '7'",
         "SetStringAction { Variable: v(0) Data: StringData { String: \"" + longText +
             "\" } } -> " + cut + " " + cut + " " + cut,
         "SetStringAction { Variable: v(0) Data: null } -> ",
         "ToggleVariableAction { Variable: v(5) } -> 0 1 0",
         "ModifyVariableAction { Variable: v(8.5) Modify value: 1 Limit value: 10 } -> 9.5 10 10",
         "ModifyVariableAction { Variable: v(12) Modify value: 1 Limit value: 10 } -> 10 10 10",
         "ModifyVariableAction { Variable: v(0.5) Modify value: -1 Limit value: 0 } -> 0 0 0",
         "ModifyVariableAction { Variable: v(4.5) Modify value: 0 Limit value: -9 } -> 4.5 4.5 4.5",
         "SetVariableArrayAction { Variable: v(0) Data: f(4) Index: f(2.7) } -> [2]4 [2]4 [2]4",
         "SetVariableArrayAction { Variable: v(0) Data: f(6) Index: f(-0.5) } -> [0]6 [0]6 [0]6",
         "SetVariableArrayAction { Variable: v(0) Data: f(6) Index: null } -> ",
         "SetVariableArrayAction { Variable: v(0) Data: null Index: f(1) } -> ",
         "SetVariableSoftAction { Variable: v(0) Data: f(30) Speed: 100 } -> 10 20",
         "SetVariableSoftAction { Variable: v(25) Data: f(0) Speed: 100 } -> 15 5",
         "SetVariableSoftAction { Variable: v(29) Data: f(30) Speed: 100 } -> 30",
         "SetVariableSoftAction { Variable: v(nan) Data: f(0) Speed: 4 } -> ",
         "SetVariableSoftAction { Variable: v(0) Data: null Speed: 4 } -> ",
         "SetVariableSineAction { Variable: v(17) Data: f(30) Speed: 100 Braking distance: 5 } -> "
         "27 30",
         "SetVariableSineAction { Variable: v(0) Data: f(10) " + eased + easedUp,
         "SetVariableSinusAction { Variable: v(0) Data: f(10) " + eased + easedUp,
         "SetVariableSineAction { Variable: v(10) Data: f(0) " + eased + exact(down) + " " +
             exact(down - easedStep(100.0f, 0.1f, down, 50.0f)),
         "SetVariableSineAction { Variable: null Data: f(1) " + eased,
         R"(CallFunctionVariableAction { Function: @"Game/Yes" Result data: v(7) } -> yes 1 yes 1 yes 1)",
         R"(CallFunctionVariableAction { Function: @"Game/No" Result data: v(7) } -> no 0 no 0 no 0)",
         R"(CallFunctionVariableAction { Function: @"Game/Yes" Result data: null } -> yes yes yes)",
         R"(CallFunctionVariableAction { Function: null Result data: v(7) } -> )",
         R"(CallFunctionAction { Function: @"Game/No" } -> no no no)"},
        [&](const std::string& text) {
            Object* action = read(text);
            runs.clear();
            EXPECT_FALSE(run(static_cast<Action*>(action))) << text;
            for (int i = 0; i < 2; ++i)
                EXPECT_FALSE(run(static_cast<Action*>(action), {Event::Update, 0, 0.1f, 0, 0}));
            Object::clear(host, action);
            std::string writes;
            for (const std::string& write : runs)
                writes += (writes.empty() ? "" : " ") + write;
            return writes;
        });
    Object* made = nullptr;
    ASSERT_TRUE(Object::create(host, made, SetVariableSinusAction::absoluteClass()));
    Object::clear(host, made);
    const std::string warning =
        "Kova: Warning: DEPRECATED, SetVariableSinusAction should be replaced with "
        "SetVariableSineAction\r\n";
    EXPECT_EQ(host.log.text, warning + warning);
}

// Host functions are called by name and quietly; an action function
// presses Select on the whole screen, and a call succeeds whatever its
// action reports.
TEST_F(ActionTest, FunctionsCallTheHostAndActionsByName) {
    Function* empty = new StaticFunction(nullptr, "Empty");
    ASSERT_EQ(host.registerFunction(empty, nullptr), empty);
    Object* bare = nullptr;  // an action function without an action
    ASSERT_TRUE(Object::create(host, bare, ActionFunction::absoluteClass()));
    EXPECT_EQ(
        (std::vector<bool>{host.callFunction("Empty"), host.callFunction("Game/Yes"),
                           host.callFunction("Game/No"), static_cast<Function*>(bare)->call(host)}),
        (std::vector<bool>{false, true, false, true}));
    Object::clear(host, bare);
    auto* probe = static_cast<ProbeAction*>(read("probe(called)"));
    auto* wrapped = new ActionFunction("Open", probe);
    ASSERT_EQ(host.registerFunction(wrapped, "Screens"), wrapped);
    runs.clear();
    EXPECT_TRUE(host.callFunction("Screens/Open"));
    EXPECT_EQ(probe->lastRect, &host.clipRect());
    EXPECT_EQ(probe->lastMode, &host.mode());
    Object::clear(host, wrapped->action());
    wrapped->action() =
        static_cast<Action*>(read(R"(CallFunctionAction { Function: @"Game/No" })"));
    EXPECT_TRUE(wrapped->call(host));
    EXPECT_EQ(runs, Log({"called ButtonPress 0 1 1", "no"}));
    EXPECT_EQ(host.log.text, "");
}

// Start locks the pads into players in the order they press, Back unlocks
// them; the data reads each player's pad, and 0 one past them. The pointer
// numbers a press when it is reported, so the press that locks is numbered
// before it. Other pointers are left alone.
TEST_F(ActionTest, ScreensLockPadsIntoPlayers) {
    PlayerInputIndexData seats;
    auto pads = [&](std::initializer_list<std::pair<int, int>> presses) {
        for (auto& p : presses)
            press(p.first, p.second);
        std::string out;
        for (int player = -1; player <= 4; ++player)
            out += std::to_string(static_cast<int>(seats.value(host, player)));
        return out;
    };
    Node* root = show(R"(CullEventActionNode { Next node: CullEventActionNode { Next node: null
            Action: UnlockPointerAction {} Event: <press Back> }
        Action: LockPointerAction { Input index data: null } Event: <press Start> })");
    Action* lock = static_cast<CullEventActionNode*>(root)->action();
    Action* unlock = static_cast<CullEventActionNode*>(root->nextNode(0))->action();
    EXPECT_EQ(pads({{Start, 3}, {Select, 2}}), "000000");
    EXPECT_FALSE(run(lock));
    Pointer::clear(host, host.pointer());
    EXPECT_FALSE(run(lock));
    EXPECT_FALSE(run(unlock));
    EXPECT_EQ(pads({}), "000000");
    auto* pointer = make<DynamicIndexPointer>(host.pointer());
    EXPECT_EQ(seats.indexCount(host), 4);
    EXPECT_EQ(pads({{Select, 3}}), "020000");  // unlocked: the last pad is player 1
    EXPECT_EQ(pads({{Start, 2}, {Select, 3}, {Select, 4}, {Select, 3}}), "023000");
    EXPECT_EQ(pads({{Start, 4}, {Select, 1}, {Select, 3}}), "002000");
    EXPECT_EQ(pads({{Button::Back, 3}, {Select, 4}, {Select, 2}}), "010000");
    // Only indexed reads know players; there is no text.
    EXPECT_EQ((Floats{seats.value(host), static_cast<float>(seats.character(host, 1, 0))}),
              (Floats{0, 0}));
    bool locks[] = {run(lock), pointer->isLocked(), run(unlock), pointer->isLocked()};
    EXPECT_EQ(std::vector<bool>(locks, locks + 4), (std::vector<bool>{false, true, false, false}));
}

}  // namespace
}  // namespace kova_test
