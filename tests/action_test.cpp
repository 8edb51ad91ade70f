// Actions and action nodes driven through the host's entry points: which
// actions run, in which order and with which records, what consumes a press,
// the sounds the host plays, the timers and glides over elapsed time, the
// values variable actions write, host functions called from screens, and
// screens that lock the players' pads.
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

using Log = std::vector<std::string>;
using Played = std::vector<std::pair<int, float>>;

// Sounds have handles from 100 on, one per name; every sound played is kept.
class SoundHost : public FileHost {
public:
    int soundHandle(const char* name) override {
        std::string text = name ? name : "";
        if (text.empty()) return 0;
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == text) return 100 + static_cast<int>(i);
        names.push_back(text);
        return 100 + static_cast<int>(names.size()) - 1;
    }
    const char* soundName(int handle) override {
        std::size_t i = static_cast<std::size_t>(handle - 100);
        return handle >= 100 && i < names.size() ? names[i].c_str() : nullptr;
    }
    bool soundPlay(int sound, float volume) override {
        played.emplace_back(sound, volume);
        return true;
    }
    std::vector<std::string> names;
    Played played;
};

// Logs every record it runs with as "label Type inputIndex first second" and
// reports a chosen result.
class ProbeAction : public Action {
    KOVA_RUNTIME_CLASS(ProbeAction)
public:
    bool onEvent(System&, Rectangle& rect, Mode& mode, EventData& data) override {
        std::ostringstream line;
        const char* type = Event::name(data.type);
        line << label << " " << (type ? type : "?") << " " << data.inputIndex << " " << data.first
             << " " << data.second;
        if (log) log->push_back(line.str());
        lastRect = &rect;
        lastMode = &mode;
        return result;
    }
    Log* log = nullptr;
    std::string label;
    bool result = false;
    Rectangle* lastRect = nullptr;
    Mode* lastMode = nullptr;
};
KOVA_IMPLEMENT_CLASS_NAMED(ProbeAction, "kova_test::ProbeAction", &Action::absoluteClass)

// A number variable that keeps every number written into it, so a test sees
// writes that leave the value unchanged and writes that never came.
class WriteLogData : public Data {
    KOVA_RUNTIME_CLASS(WriteLogData)
public:
    using Data::set;
    bool set(System&, float value) override {
        number = value;
        written.push_back(value);
        return true;
    }
    bool set(System&, const char*) override { return ++textsWritten > 0; }
    float value(System&) override { return number; }
    float number = 0.0f;
    Floats written;
    int textsWritten = 0;
};
KOVA_IMPLEMENT_CLASS_NAMED(WriteLogData, "kova_test::WriteLogData", &Data::absoluteClass)

int startCalls = 0;
bool startResult = true;
bool start() {
    ++startCalls;
    return startResult;
}

Bytes i32(int value) {
    return u32Bytes(static_cast<unsigned int>(value));
}
Bytes f32(float value) {
    unsigned int bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return u32Bytes(bits);
}

// The eased step of a glide, worked out at run time as the engine does it:
// the elapsed step scaled by the cosine of the quarter turn 1.57075 less its
// share of the braking distance.
float easedStep(float speed, float elapsed, float distance, float braking) {
    volatile float quarter = 1.57075f;  // kept from being folded at compile time
    return speed * elapsed * std::cos(quarter - quarter * distance / braking);
}

class ActionTest : public HostTest<SoundHost> {
protected:
    void SetUp() override {
        HostTest::SetUp();
        startCalls = 0;
        startResult = true;
    }
    ProbeAction* probe(Action*& slot, const char* label, bool result = false) {
        ProbeAction* action = make<ProbeAction>(slot);
        action->label = label;
        action->log = &log;
        action->result = result;
        return action;
    }
    ProbeAction* probe(ObjectList& list, const char* label, bool result = false) {
        Action* action = nullptr;
        ProbeAction* made = probe(action, label, result);
        EXPECT_TRUE(list.appendObject(host, action));
        return made;
    }
    // Events made with their constructors, counted as created ones are.
    template <class E, class... Args>
    void event(Event*& slot, Args... args) {
        Object* object = nullptr;
        EXPECT_TRUE(Object::create(host, object, new E(args...)));
        slot = static_cast<Event*>(object);
    }
    // A node at slot that runs its action for presses of button (0: any).
    template <class N = CullEventActionNode>
    N* onPress(Node*& slot, int button) {
        N* node = make<N>(slot);
        if (button)
            event<ButtonEvent>(node->event(), 0, Event::ButtonPress, button);
        else
            event<TypeEvent>(node->event(), 0, Event::ButtonPress);
        return node;
    }
    Log frame(float elapsed = 0.0f) {
        log.clear();
        EXPECT_TRUE(host.update(elapsed));
        return log;
    }
    Log press(int button, int inputIndex = 1, float elapsed = 0.0f) {
        host.buttonPress(button, inputIndex, 1);
        return frame(elapsed);
    }
    // The root mode takes the focus once the tree has been updated.
    void settle() {
        frame(0.0f);
        log.clear();
        host.played.clear();
    }
    // Runs an action with a record as a node would.
    bool run(Action* action, EventData record = {Event::ButtonPress, 1, 1.0f, 1.0f, 0.0f}) {
        return action->onEvent(host, host.clipRect(), host.mode(), record);
    }
    template <class D>
    D* data(Data*& slot, float value) {
        D* made = make<D>(slot);
        made->set(host, value);
        return made;
    }
    std::string text(Data* data) {
        char buffer[64];
        data->stringCopy(host, buffer, sizeof buffer);
        return buffer;
    }

    Log log;
};

TEST_F(ActionTest, ListsStopAtTheFirstConsumerAndSplitsRunBoth) {
    // outer -> gate: the gate hears a press first and runs its list.
    probe(onPress(host.firstNode(), 0)->action(), "outer");
    auto* gate = onPress(host.firstNode()->nextNode(0), Button::Select);
    auto* list = make<ActionListAction>(gate->action());
    probe(list->actionList(), "one");
    ProbeAction* two = probe(list->actionList(), "two", true);
    probe(list->actionList(), "three");
    settle();
    EXPECT_EQ(press(Button::Select, 2), Log({"one ButtonPress 2 1 1", "two ButtonPress 2 1 1"}));
    two->result = false;
    EXPECT_EQ(press(Button::Select, 2),
              Log({"one ButtonPress 2 1 1", "two ButtonPress 2 1 1", "three ButtonPress 2 1 1",
                   "outer ButtonPress 2 1 1"}));
    EXPECT_EQ(press(Button::Cancel, 3), Log({"outer ButtonPress 3 2 1"}));
    EXPECT_EQ(frame(1.0f), Log());  // no gate admits "Update"

    // A split runs its second action even after the first consumed.
    Object::clear(host, gate->action());
    auto* split = make<SplitAction>(gate->action());
    ProbeAction* left = probe(split->action1(), "left", true);
    probe(split->action2(), "right");
    EXPECT_EQ(press(Button::Select), Log({"left ButtonPress 1 1 1", "right ButtonPress 1 1 1"}));
    left->result = false;
    EXPECT_EQ(press(Button::Select), Log({"left ButtonPress 1 1 1", "right ButtonPress 1 1 1",
                                          "outer ButtonPress 1 1 1"}));
    Object::clear(host, split->action1());
    static_cast<ProbeAction*>(split->action2())->result = true;
    EXPECT_EQ(press(Button::Select), Log({"right ButtonPress 1 1 1"}));
    EXPECT_FALSE(run(make<ActionListAction>(split->action1())));
    EXPECT_FALSE(run(make<SplitAction>(split->action2())));
}

// click (Select) -> boom (Select) -> silent (every event): a press reaches
// silent, boom and click in that order; sounds never consume.
TEST_F(ActionTest, SoundsPlayThroughTheHost) {
    auto* click = onPress(host.firstNode(), Button::Select);
    make<SoundAction>(click->action())->setSound(host.soundHandle("click"));
    auto* boom = onPress(click->nextNode(0), Button::Select);
    auto* volumed = make<VolumedSoundAction>(boom->action());
    volumed->setSound(host.soundHandle("boom"));
    volumed->setVolume(0.25f);
    make<SoundAction>(make<ActionNode>(boom->nextNode(0))->action());
    settle();
    press(Button::Select);
    frame(0.5f);
    press(Button::Cancel);
    EXPECT_EQ(host.played, Played({{101, 0.25f}, {100, 1.0f}}));
}

// A consuming action ends the press's delivery along the focus path. Each
// row sets the variable (or removes a part) and presses a button.
TEST_F(ActionTest, IfElseNodesChooseByVariable) {
    probe(onPress(host.firstNode(), 0)->action(), "outer");
    auto* node = onPress<IfElseEventActionNode>(host.firstNode()->nextNode(0), Button::Select);
    auto* variable = make<FloatData>(node->variable());
    probe(node->action(), "then", true);
    probe(node->elseAction(), "else");
    settle();
    const Log outer = {"outer ButtonPress 1 1 1"}, then = {"then ButtonPress 1 1 1"};
    const struct {
        float value;
        const char* remove;
        int button;
        Log expected;
    } rows[] = {
        {0.5f, "", Button::Select, then},
        {0, "", Button::Select, {"else ButtonPress 1 1 1", outer[0]}},
        {-1, "", Button::Select, then},
        {-1, "", Button::Cancel, {"outer ButtonPress 1 2 1"}},
        {0, "else", Button::Select, outer},
        {0, "variable", Button::Select, then},  // no variable counts as true
        {0, "action", Button::Select, outer},
        {0, "event", Button::Select, outer},  // a missing event never matches
    };
    for (const auto& row : rows) {
        if (node->variable()) variable->set(host, row.value);
        std::string remove = row.remove;
        if (remove == "else") Object::clear(host, node->elseAction());
        if (remove == "variable") Object::clear(host, node->variable());
        if (remove == "action") Object::clear(host, node->action());
        if (remove == "event") {
            probe(node->action(), "then", true);
            Object::clear(host, node->event());
        }
        EXPECT_EQ(press(row.button), row.expected) << row.value << " " << row.remove;
    }
    EXPECT_EQ(frame(0.3f), Log());
}

// every -> gated (variable) -> both (variable and Select): a press comes
// between the frame's update walk and a zero-time one.
TEST_F(ActionTest, UngatedAndVariableGatedNodesRunEveryFrame) {
    auto* every = make<ActionNode>(host.firstNode());
    probe(every->action(), "every");
    auto* gated = make<CullVariableActionNode>(every->nextNode(0));
    auto* flag = make<BoolData>(gated->variable());
    probe(gated->action(), "gated");
    auto* both = make<CullVariableAndEventActionNode>(gated->nextNode(0));
    both->variable() = flag;  // shared: only the first owner releases it
    event<ButtonEvent>(both->event(), 0, Event::ButtonPress, Button::Select);
    probe(both->action(), "both");
    settle();
    EXPECT_EQ(frame(0.25f), Log({"every Update 0 0.25 0"}));
    EXPECT_EQ(press(Button::Select, 4, 0.5f),
              Log({"every Update 0 0.5 0", "every ButtonPress 4 1 1", "every Update 0 0 0"}));
    flag->set(host, 1.0f);
    EXPECT_EQ(press(Button::Select, 4, 0.5f),
              Log({"every Update 0 0.5 0", "gated Update 0 0.5 0", "both ButtonPress 4 1 1",
                   "gated ButtonPress 4 1 1", "every ButtonPress 4 1 1", "every Update 0 0 0",
                   "gated Update 0 0 0"}));
    EXPECT_EQ(press(Button::Cancel, 4),
              Log({"every Update 0 0 0", "gated Update 0 0 0", "gated ButtonPress 4 2 1",
                   "every ButtonPress 4 2 1", "every Update 0 0 0", "gated Update 0 0 0"}));
    Object::clear(host, both->event());
    both->variable() = nullptr;
    Object::clear(host, gated->variable());
    EXPECT_EQ(frame(0.1f), Log({"every Update 0 0.1 0", "gated Update 0 0.1 0"}));
    Object::clear(host, gated->action());
    EXPECT_EQ(frame(0.1f), Log({"every Update 0 0.1 0"}));
}

// tick fires each second of elapsed time, dropping the overshoot; idle fires
// after 30 s without a Select press; busy is restarted by every frame's
// "Update" before the frame's time is added, so only one frame as long as
// the timeout fires it. Each row is one frame (or press) and who fired.
TEST_F(ActionTest, TimeoutNodesFireOnElapsedTime) {
    auto* timer = make<TimeoutActionNode>(host.firstNode());
    timer->setTimeoutTime(1.0f);
    probe(timer->action(), "tick", true);
    auto* idle = make<CullEventTimeoutActionNode>(timer->nextNode(0));
    event<ButtonEvent>(idle->event(), 0, Event::ButtonPress, Button::Select);
    probe(idle->action(), "idle");
    auto* busy = make<CullEventTimeoutActionNode>(idle->nextNode(0));
    event<TypeEvent>(busy->event(), 0, Event::Update);
    probe(busy->action(), "busy");
    settle();
    const struct {
        int button;
        float elapsed;
        const char* fired;
    } rows[] = {{0, 0.6f, ""},
                {0, 0.6f, "tick"},
                {Button::Select, 0.6f, ""},
                {0, 0.6f, "tick"},
                {Button::Select, 5, "tick"},
                {Button::Select, 20, "tick"},
                {0, 29.5f, "tick"},
                {Button::Cancel, 0, ""},
                {0, 0.5f, "idle"},
                {0, 28.5f, "tick"},
                {0, 0, ""},
                {0, 30, "tick idle busy"}};
    for (const auto& row : rows) {
        Log fired = row.button ? press(row.button, 1, row.elapsed) : frame(row.elapsed);
        std::string names;
        for (const std::string& line : fired) {
            names += (names.empty() ? "" : " ") + line.substr(0, line.find(' '));
            EXPECT_EQ(line.substr(line.find(' ')), " No event 0 0 0");
        }
        EXPECT_EQ(names, row.fired) << row.elapsed;
    }
    EXPECT_EQ((Floats{timer->elapsedTime(), idle->elapsedTime()}), (Floats{0, 0}));
    Object::clear(host, timer->action());
    EXPECT_EQ(frame(5.0f), Log());
    EXPECT_EQ(timer->elapsedTime(), 0.0f);
}

TEST_F(ActionTest, OldCullNodesMatchTypeAndFirstParameter) {
    auto* old = make<CullActionNode>(host.firstNode());
    ProbeAction* action = probe(old->action(), "old");
    settle();
    EXPECT_EQ(press(Button::Select), Log({"old ButtonPress 1 1 1"}));
    EXPECT_EQ(press(Button::Cancel), Log());
    old->setEventType(Event::Update);
    old->setEventData(0);
    EXPECT_EQ(frame(0.5f), Log({"old Update 0 0.5 0"}));
    // Only the type's low byte counts, and the parameter is truncated.
    old->setEventType(Event::ButtonRelease);
    old->setEventData(3);
    action->result = true;
    log.clear();
    EventData record{256 + Event::ButtonRelease, 0, 3.9f, 0.0f, 0.0f};
    EXPECT_TRUE(old->onEvent(host, host.clipRect(), host.mode(), record));
    record.first = 4.0f;
    EXPECT_FALSE(old->onEvent(host, host.clipRect(), host.mode(), record));
    EXPECT_EQ(log, Log({"old ? 0 3.9 0"}));
}

// A screen that plays a sound at 0.25 when it is shown; saved, the fields
// come out as they were read. A deprecated node says so once per load.
TEST_F(ActionTest, LoadedNodesHearTheScreenShow) {
    Bytes sound = {4, 'b', 'o', 'o', 'm', 0x00, 0x00, 0x80, 0x3E};
    Bytes event = Bytes{0} + i32(Event::PostShow);
    host.files["Menu"] = fileHeader({"tarn::kova::CullEventActionNode",
                                     "tarn::kova::VolumedSoundAction", "tarn::kova::TypeEvent"}) +
                         Bytes{1, 0} + recordBytes(0, 0) + recordBytes(0, 2, sound) +
                         recordBytes(0, 3, event);
    EXPECT_TRUE(host.load("Menu", nullptr));
    EXPECT_EQ(host.played, Played({{100, 0.25f}}));
    EXPECT_EQ(host.names, std::vector<std::string>{"boom"});
    auto* root = static_cast<CullEventActionNode*>(host.firstNode());
    MemoryOStream soundOut(64), eventOut(64);
    EXPECT_TRUE(root->action()->onSave(host, soundOut));
    EXPECT_TRUE(root->event()->onSave(host, eventOut));
    EXPECT_EQ(Bytes(soundOut.buffer(), soundOut.buffer() + soundOut.position()), sound);
    EXPECT_EQ(Bytes(eventOut.buffer(), eventOut.buffer() + eventOut.position()), event);

    host.files["Old"] = fileHeader({"tarn::kova::CullActionNode"}) + Bytes{1, 0} +
                        recordBytes(0, 0) + recordBytes(0, 0) + Bytes{22} + i32(0);
    Object* loaded = nullptr;
    EXPECT_TRUE(host.load("Old", loaded));
    EXPECT_EQ(host.log.text,
              "Kova: Loading: Menu\r\nKova: Loading: Old\r\nKova: DEPRECATED: CullActionNode\r\n");
    EXPECT_EQ(static_cast<CullActionNode*>(loaded)->eventType(), Event::Update);
    Object::clear(host, loaded);
}

// Each row runs one action once and reads its variable; none consumes.
// Numbers are rounded by the variable they land in, texts copied as the
// source reads them; the limit cuts steps, also pulling back values already
// past it.
TEST_F(ActionTest, VariableActionsCopyToggleAndStep) {
    auto* copy = make<SetVariableAction>();
    auto* whole = make<IntData>(copy->variable());
    auto* source = make<FloatData>(copy->data());
    auto* copyText = make<SetStringAction>();
    auto* words = make<StringData>(copyText->variable());
    data<FloatData>(copyText->data(), 1.5f);
    auto* toggle = make<ToggleVariableAction>();
    auto* flag = make<BoolData>(toggle->variable());
    auto* toggleNumber = make<ToggleVariableAction>();
    auto* five = data<IntData>(toggleNumber->variable(), 5);
    auto* up = make<ModifyVariableAction>();
    auto* level = make<FloatData>(up->variable());
    up->setModifyValue(1.0f);
    up->setLimitValue(10.0f);
    auto* down = make<ModifyVariableAction>();
    down->variable() = level;
    down->setModifyValue(-1.0f);
    const struct {
        Action* action;
        Data* before;  // set to value first, when given
        float value;
        Data* read;
        const char* text;
    } rows[] = {{copy, source, 2.5f, whole, "3"},
                {copy, source, -2.5f, whole, "-3"},
                {copyText, nullptr, 0, words, "1.500000000"},
                {toggle, nullptr, 0, flag, "true"},
                {toggle, nullptr, 0, flag, "false"},
                {toggleNumber, nullptr, 0, five, "0"},
                {toggleNumber, nullptr, 0, five, "1"},
                {up, level, 9.5f, level, "10.000000000"},
                {up, nullptr, 0, level, "10.000000000"},
                {up, level, 12, level, "10.000000000"},
                {up, level, 7.25f, level, "8.250000000"},
                {down, level, 0.5f, level, "0.000000000"},
                {down, level, -3, level, "0.000000000"}};
    for (const auto& row : rows) {
        if (row.before) row.before->set(host, row.value);
        EXPECT_FALSE(run(row.action));
        EXPECT_EQ(text(row.read), row.text) << row.text;
    }
    Object::clear(host, copyText->data());
    make<StringData>(copyText->data())->set(host, std::string(2000, 'x').c_str());
    run(copyText);
    EXPECT_EQ(words->stringLength(host), 1023);
    // A step of 0 writes the value back unchanged, whatever the limit.
    auto* still = make<ModifyVariableAction>();
    auto* watched = data<WriteLogData>(still->variable(), 4.25f);
    run(still);
    EXPECT_EQ(watched->written, Floats({4.25f, 4.25f}));
    down->variable() = nullptr;  // level goes with up
    Action* all[] = {copy, copyText, toggle, toggleNumber, up, down, still};
    for (Action*& action : all)
        Object::clear(host, action);
}

TEST_F(ActionTest, ArrayActionsWriteTheTruncatedElement) {
    auto* write = make<SetVariableArrayAction>();
    float values[3] = {0.0f, 0.0f, 0.0f};
    Object* array = nullptr;
    ASSERT_TRUE(Object::create(host, array, new FloatArrayData(values, 3, nullptr)));
    write->variable() = static_cast<Data*>(array);
    auto* index = make<FloatData>(write->index());
    auto* source = make<FloatData>(write->data());
    const Floats rows[] = {// index, value, then the array
                           {2.7f, 4.5f, 0, 0, 4.5f},
                           {5, 6, 0, 0, 4.5f},
                           {-0.5f, 6, 6, 0, 4.5f},  // truncated toward zero
                           {-1, 7, 6, 0, 4.5f}};
    for (const Floats& row : rows) {
        index->set(host, row[0]);
        source->set(host, row[1]);
        EXPECT_FALSE(run(write));
        EXPECT_EQ(Floats(values, values + 3), Floats(row.begin() + 2, row.end())) << row[0];
    }
    Object::clear(host, write->index());
    index = nullptr;
    source->set(host, 1.0f);
    run(write);
    EXPECT_EQ(values[1], 0.0f);
    Object::clear(host, write);
}

// Glides move by speed times the elapsed time of each "Update" and stop at
// the target; presses are ignored. A sine glide eases in within its braking
// distance; without one it is the soft glide.
TEST_F(ActionTest, GlidesMoveTowardsTheTargetOverTime) {
    auto* soft = make<SetVariableSoftAction>();
    auto* softValue = make<WriteLogData>(soft->variable());
    auto* softTarget = data<FloatData>(soft->data(), 30);
    auto* near = make<SetVariableSineAction>();
    near->setBrakingDistance(5.0f);
    auto* nearValue = data<WriteLogData>(near->variable(), 7);
    data<FloatData>(near->data(), 30);
    auto* eased = make<SetVariableSineAction>();
    eased->setBrakingDistance(50.0f);
    auto* easedValue = make<WriteLogData>(eased->variable());
    auto* easedTarget = data<FloatData>(eased->data(), 10);
    for (WriteLogData* value : {softValue, nearValue, easedValue})
        value->written.clear();
    auto update = [&](float elapsed) {
        for (Action* action :
             {static_cast<Action*>(soft), static_cast<Action*>(near), static_cast<Action*>(eased)})
            EXPECT_FALSE(run(action, {Event::Update, 0, elapsed, 0.0f, 0.0f}));
    };
    for (int i = 0; i < 4; ++i)
        update(0.1f);
    run(soft);  // a press: taken for an update, its button would move the value
    EXPECT_EQ(softValue->written, Floats({10, 20, 30}));
    // Full steps while at least the braking distance away; the eased last
    // step would overshoot and stops at the target.
    EXPECT_EQ(nearValue->written, Floats({17, 27, 30}));
    float first = easedStep(100.0f, 0.1f, 10.0f, 50.0f);
    float second = first + easedStep(100.0f, 0.1f, 10.0f - first, 50.0f);
    ASSERT_EQ(easedValue->written.size(), 4u);
    EXPECT_EQ(easedValue->written[0], first);
    EXPECT_EQ(easedValue->written[1], second);
    EXPECT_LT(easedValue->written[3], 10.0f);  // easing never quite arrives
    // Downwards the eased step is taken off; the soft glide goes on from
    // wherever another writer put the variable.
    easedValue->number = 10.0f;
    easedTarget->set(host, 0.0f);
    softTarget->set(host, 0.0f);
    softValue->number = 25.0f;
    softValue->written.clear();
    easedValue->written.clear();
    update(0.1f);
    update(0.1f);
    soft->setSpeed(40.0f);
    update(0.25f);
    update(0.25f);
    EXPECT_EQ(softValue->written, Floats({15, 5, 0}));
    EXPECT_EQ(easedValue->written[0], 10.0f - first);
    // A missing target stops the glide.
    Object::clear(host, soft->data());
    update(0.25f);
    EXPECT_EQ(softValue->written.size(), 3u);
    Action* all[] = {soft, near, eased};
    for (Action*& action : all)
        Object::clear(host, action);
}

// The old sine glide warns when made or loaded, and glides as the new one.
TEST_F(ActionTest, OldSinusGlidesWarnWhenMadeOrLoaded) {
    const std::string warning =
        "Kova: Warning: DEPRECATED, SetVariableSinusAction should be replaced with "
        "SetVariableSineAction\r\n";
    Object* made = nullptr;
    ASSERT_TRUE(Object::create(host, made, SetVariableSinusAction::absoluteClass()));
    Object::clear(host, made);
    host.files["Glide"] =
        fileHeader({"tarn::kova::ActionNode", "tarn::kova::SetVariableSinusAction",
                    "tarn::kova::FloatData"}) +
        Bytes{1, 0} + recordBytes(0, 0) +
        recordBytes(0, 2,
                    recordBytes(0, 3, f32(0.0f)) + recordBytes(0, 3, f32(10.0f)) + f32(100.0f) +
                        f32(50.0f));
    EXPECT_TRUE(host.load("Glide", nullptr));
    frame(0.1f);
    EXPECT_EQ(host.log.text, warning + "Kova: Loading: Glide\r\n" + warning);
    auto* glide =
        static_cast<SetVariableSinusAction*>(static_cast<ActionNode*>(host.firstNode())->action());
    EXPECT_EQ(glide->variable()->value(host), easedStep(100.0f, 0.1f, 10.0f, 50.0f));
}

// Every variable action does nothing and consumes nothing while a reference
// it needs is missing.
TEST_F(ActionTest, MissingReferencesWriteNothing) {
    Object* holder = nullptr;
    auto* variable = make<WriteLogData>(holder);
    for (const char* name :
         {"SetVariableAction", "SetStringAction", "ToggleVariableAction", "ModifyVariableAction",
          "SetVariableSoftAction", "SetVariableSineAction", "SetVariableArrayAction",
          "LockPointerAction", "UnlockPointerAction"}) {
        for (bool withVariable : {false, true}) {
            Object* object = nullptr;
            ASSERT_TRUE(Object::create(host, object, RuntimeClass::findClass(name)));
            auto* action = static_cast<Action*>(object);
            bool setsVariable = action->actualClass()->is(SetVariableAction::absoluteClass());
            auto* copyText = dynamic_cast<SetStringAction*>(action);
            if (withVariable && setsVariable)
                static_cast<SetVariableAction*>(action)->variable() = variable;
            if (withVariable && copyText) copyText->variable() = variable;
            EXPECT_FALSE(run(action, {Event::Update, 0, 0.5f, 0.0f, 0.0f})) << name;
            EXPECT_FALSE(run(action)) << name;
            if (setsVariable) static_cast<SetVariableAction*>(action)->variable() = nullptr;
            if (copyText) copyText->variable() = nullptr;
            Object::clear(host, object);
        }
    }
    EXPECT_EQ(variable->written, Floats());
    EXPECT_EQ(variable->textsWritten, 0);
    Object::clear(host, holder);
}

// Host callbacks are called by name and quietly; their outcome lands in a
// variable as 1 or 0. An action function presses Select on the whole screen.
TEST_F(ActionTest, FunctionsCallTheHostAndActionsByName) {
    auto* function = new StaticFunction(&start, "Start");
    EXPECT_EQ(host.registerFunction(function, "Game"), function);
    EXPECT_EQ(function->actualClass(), Function::absoluteClass());
    Function* empty = new StaticFunction(nullptr, "Empty");
    ASSERT_EQ(host.registerFunction(empty, nullptr), empty);
    EXPECT_FALSE(host.callFunction("Empty"));

    auto* call = make<CallFunctionVariableAction>();
    auto* result = data<FloatData>(call->resultData(), 7);
    EXPECT_FALSE(run(call));
    EXPECT_EQ(result->value(host), 7.0f);  // no function: left as it was
    call->function() = function;
    std::string results;
    for (bool outcome : {false, true, false}) {
        startResult = outcome;
        EXPECT_FALSE(run(call));
        EXPECT_EQ(host.callFunction("Game/Start"), outcome);
        results += text(result);
    }
    EXPECT_EQ(results, "0.0000000001.0000000000.000000000");
    Object::clear(host, call->resultData());
    EXPECT_FALSE(run(call));  // no result data
    EXPECT_EQ(startCalls, 7);
    Object::clear(host, call);  // the named function stays in the directory

    Object* created = nullptr;
    ASSERT_TRUE(Object::create(host, created, RuntimeClass::findClass("ActionFunction")));
    EXPECT_TRUE(static_cast<Function*>(created)->call(host));  // no action
    Object::clear(host, created);
    Action* adopted = nullptr;
    ProbeAction* recording = probe(adopted, "called");
    auto* wrapped = new ActionFunction("Open", recording);
    ASSERT_EQ(host.registerFunction(wrapped, "Screens"), wrapped);
    EXPECT_TRUE(host.callFunction("Screens/Open"));
    EXPECT_EQ(log, Log({"called ButtonPress 0 1 1"}));
    EXPECT_EQ(recording->lastRect, &host.clipRect());
    EXPECT_EQ(recording->lastMode, &host.mode());
    // A wrapped action that calls a function reports false; the call is
    // still a success.
    Object::clear(host, wrapped->action());
    make<CallFunctionAction>(wrapped->action())->function() = function;
    EXPECT_TRUE(wrapped->call(host));
    EXPECT_EQ(startCalls, 8);
    EXPECT_EQ(host.log.text, "");
}

// Root: a Select press calls Game/Start and keeps the result in a flag; the
// press goes on to the next node, which calls the function on every event.
TEST_F(ActionTest, ScreensCallRegisteredFunctionsByName) {
    host.registerFunction(new StaticFunction(&start, "Start"), "Game");
    Bytes flag = recordBytes(0, 5, Bytes{0});
    Bytes call = recordBytes(0, 2, recordBytes(3, 4) + flag);
    Bytes select = recordBytes(0, 6, Bytes{0} + i32(Event::ButtonPress) + i32(Button::Select));
    Bytes ungated = recordBytes(0, 7, recordBytes(0, 0) + recordBytes(0, 8, recordBytes(3, 4)));
    host.files["Menu"] =
        fileHeader({"tarn::kova::CullEventActionNode", "tarn::kova::CallFunctionVariableAction",
                    "Game/Start", "tarn::kova::Function", "tarn::kova::BoolData",
                    "tarn::kova::ButtonEvent", "tarn::kova::ActionNode",
                    "tarn::kova::CallFunctionAction"}) +
        Bytes{1, 0} + ungated + call + select;
    ASSERT_TRUE(host.load("Menu", nullptr));
    EXPECT_EQ(startCalls, 4);  // shown (three events) and settled: the ungated node
    auto* root = static_cast<CullEventActionNode*>(host.firstNode());
    Data* result = static_cast<CallFunctionVariableAction*>(root->action())->resultData();
    ASSERT_NE(result, nullptr);
    startCalls = 0;
    host.update(0.0f);
    press(Button::Select, 1, 0.1f);
    // The settling update, then the update walk, the press (ungated node,
    // then the root) and the zero-time update walk.
    EXPECT_EQ(startCalls, 5);
    EXPECT_EQ(result->value(host), 1.0f);
    startResult = false;
    press(Button::Select, 1, 0.1f);
    EXPECT_EQ(result->value(host), 0.0f);
    EXPECT_EQ(host.log.text, "Kova: Loading: Menu\r\n");
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
    auto* lock = make<LockPointerAction>(onPress(host.firstNode(), Button::Start)->action());
    auto* unlock =
        make<UnlockPointerAction>(onPress(host.firstNode()->nextNode(0), Button::Back)->action());
    settle();
    EXPECT_EQ(pads({{Button::Start, 3}, {Button::Select, 2}}), "000000");
    EXPECT_FALSE(run(lock));
    Pointer::clear(host, host.pointer());
    EXPECT_FALSE(run(lock));
    EXPECT_FALSE(run(unlock));
    EXPECT_EQ(pads({}), "000000");
    auto* pointer = make<DynamicIndexPointer>(host.pointer());
    EXPECT_EQ(seats.indexCount(host), 4);
    EXPECT_EQ(pads({{Button::Select, 3}}), "020000");  // unlocked: the last pad is player 1
    EXPECT_EQ(
        pads({{Button::Start, 2}, {Button::Select, 3}, {Button::Select, 4}, {Button::Select, 3}}),
        "023000");
    EXPECT_EQ(pads({{Button::Start, 4}, {Button::Select, 1}, {Button::Select, 3}}), "002000");
    EXPECT_EQ(pads({{Button::Back, 3}, {Button::Select, 4}, {Button::Select, 2}}), "010000");
    EXPECT_EQ(seats.value(host), 0.0f);  // only indexed reads know players; no text
    EXPECT_EQ(seats.character(host, 1, 0), 0);
    EXPECT_FALSE(run(lock));
    EXPECT_TRUE(pointer->isLocked());
    EXPECT_FALSE(run(unlock));
    EXPECT_FALSE(pointer->isLocked());
}

}  // namespace
}  // namespace kova_test
