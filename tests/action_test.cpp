// Actions and action nodes driven through the host's entry points: which
// actions run, in which order and with which records, what consumes a press,
// the sounds the host is asked to play, and the timers over elapsed time.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

using Log = std::vector<std::string>;
using Played = std::vector<std::pair<int, float>>;

// Sounds have handles from 100 on, one per name; the host records every
// sound it is asked to play.
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
    bool onEvent(System&, Rectangle&, Mode&, EventData& data) override {
        std::ostringstream line;
        const char* type = Event::name(data.type);
        line << label << " " << (type ? type : "?") << " " << data.inputIndex << " " << data.first
             << " " << data.second;
        if (log) log->push_back(line.str());
        return result;
    }
    Log* log = nullptr;
    std::string label;
    bool result = false;
};
KOVA_IMPLEMENT_CLASS_NAMED(ProbeAction, "kova_test::ProbeAction", &Action::absoluteClass)

// Lists the fields a class streams as "label" and, for references, the class
// they admit; numbers come with their value.
class LabelRecorder : public Stream {
public:
    bool stream() override { return true; }
    bool streamUbyte(unsigned char& value, const char* label) override {
        return add(label, std::to_string(value));
    }
    bool streamInt(int& value, const char* label) override {
        return add(label, std::to_string(value));
    }
    bool streamFloat(float& value, const char* label) override {
        std::ostringstream text;
        text << value;
        return add(label, text.str());
    }
    bool streamSound(System&, int&, const char* label) override { return add(label, "sound"); }
    bool streamList(System&, List& list, const char* label) override {
        return add(label, list.validClass()->name());
    }
    bool streamObject(System&, Object*&, const char* label, RuntimeClass* required) override {
        return add(label, required->name());
    }
    Log fields;

private:
    bool add(const char* label, const std::string& value) {
        fields.push_back(std::string(label) + ": " + value);
        return true;
    }
};

class ActionTest : public HostTest<SoundHost> {
protected:
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
    // A node on the root chain that runs a probe for every button press.
    CullEventActionNode* observer(Node*& slot, const char* label) {
        auto* node = make<CullEventActionNode>(slot);
        event<TypeEvent>(node->event(), 0, Event::ButtonPress);
        probe(node->action(), label);
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

    Log log;
};

// Each class: its run-time parent, then its fields in order with defaults.
TEST_F(ActionTest, ClassesNameTheirParentsAndListTheirFields) {
    const Log node = {"Next node: Node", "Action: Action"};
    const std::vector<std::pair<const char*, Log>> classes = {
        {"Action", {"Object"}},
        {"ActionListAction", {"Action", "Action list: Action"}},
        {"SplitAction", {"Action", "Action 1: Action", "Action 2: Action"}},
        {"SoundAction", {"Action", "Sound: sound"}},
        {"VolumedSoundAction", {"SoundAction", "Sound: sound", "Volume (0-1): 1"}},
        {"CallFunctionAction", {"Action", "Function: Function"}},
        {"CallFunctionVariableAction",
         {"CallFunctionAction", "Function: Function", "Result data: Data"}},
        {"ActionFunction", {"Function", "Action: Action"}},
        {"ActionNode", {"Node", node[0], node[1]}},
        {"IfElseEventActionNode",
         {"ActionNode", node[0], node[1], "Variable: Data", "Else Action: Action", "Event: Event"}},
        {"TimeoutActionNode", {"ActionNode", node[0], node[1], "Timeout time: 30"}},
        {"CullActionNode",
         {"ActionNode", node[0], node[1], "Event type (OBS; DO NOT USE!, OLD CLASS): 1",
          "Event data(OBS; DO NOT USE!, OLD CLASS): 1"}},
        {"CullEventActionNode", {"ActionNode", node[0], node[1], "Event: Event"}},
        {"CullVariableActionNode", {"ActionNode", node[0], node[1], "Variable: Data"}},
        {"CullVariableAndEventActionNode",
         {"ActionNode", node[0], node[1], "Variable: Data", "Event: Event"}},
        {"CullEventTimeoutActionNode",
         {"CullEventActionNode", node[0], node[1], "Event: Event", "Timeout time: 30"}}};
    for (auto& entry : classes) {
        RuntimeClass* cls = RuntimeClass::findClass(entry.first);
        ASSERT_NE(cls, nullptr) << entry.first;
        EXPECT_EQ(cls->fullName(), "tarn::kova::" + std::string(entry.first));
        LabelRecorder labels;
        labels.fields.push_back(cls->parentClass()->name());
        Object* object = nullptr;
        ASSERT_TRUE(Object::create(host, object, cls));
        EXPECT_TRUE(object->onStream(host, labels));
        EXPECT_EQ(labels.fields, entry.second);
        Object::clear(host, object);
    }
}

TEST_F(ActionTest, ListsStopAtTheFirstConsumerAndSplitsRunBoth) {
    // outer -> gate: the gate hears a press first and runs its list.
    observer(host.firstNode(), "outer");
    auto* gate = make<CullEventActionNode>(host.firstNode()->nextNode(0));
    event<ButtonEvent>(gate->event(), 0, Event::ButtonPress, Button::Select);
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

    EventData none;
    EXPECT_FALSE(make<ActionListAction>(split->action1())
                     ->onEvent(host, host.clipRect(), host.mode(), none));
    EXPECT_FALSE(
        make<SplitAction>(split->action2())->onEvent(host, host.clipRect(), host.mode(), none));
}

TEST_F(ActionTest, SoundsPlayThroughTheHostAndNeverConsume) {
    // click (Select) -> boom (Select) -> silent (every event): a press reaches
    // silent, boom and click in that order.
    auto* click = make<CullEventActionNode>(host.firstNode());
    event<ButtonEvent>(click->event(), 0, Event::ButtonPress, Button::Select);
    make<SoundAction>(click->action())->setSound(host.soundHandle("click"));
    auto* boom = make<CullEventActionNode>(click->nextNode(0));
    event<ButtonEvent>(boom->event(), 0, Event::ButtonPress, Button::Select);
    auto* volumed = make<VolumedSoundAction>(boom->action());
    volumed->setSound(host.soundHandle("boom"));
    volumed->setVolume(0.25f);
    auto* silent = make<ActionNode>(boom->nextNode(0));
    make<SoundAction>(silent->action());
    settle();

    press(Button::Select);
    EXPECT_EQ(host.played, Played({{101, 0.25f}, {100, 1.0f}}));
    host.played.clear();
    frame(0.5f);
    press(Button::Cancel);
    EXPECT_EQ(host.played, Played());
}

// A consuming action ends the press's delivery along the focus path.
TEST_F(ActionTest, IfElseNodesChooseByVariableAndConsumeWithTheirAction) {
    observer(host.firstNode(), "outer");
    auto* node = make<IfElseEventActionNode>(host.firstNode()->nextNode(0));
    event<ButtonEvent>(node->event(), 0, Event::ButtonPress, Button::Select);
    auto* variable = make<FloatData>(node->variable());
    probe(node->action(), "then", true);
    probe(node->elseAction(), "else");
    settle();

    variable->set(host, 0.5f);
    EXPECT_EQ(press(Button::Select), Log({"then ButtonPress 1 1 1"}));
    variable->set(host, 0.0f);
    EXPECT_EQ(press(Button::Select), Log({"else ButtonPress 1 1 1", "outer ButtonPress 1 1 1"}));
    variable->set(host, -1.0f);
    EXPECT_EQ(press(Button::Select), Log({"then ButtonPress 1 1 1"}));
    EXPECT_EQ(press(Button::Cancel), Log({"outer ButtonPress 1 2 1"}));
    EXPECT_EQ(frame(0.3f), Log());

    variable->set(host, 0.0f);
    Object::clear(host, node->elseAction());
    EXPECT_EQ(press(Button::Select), Log({"outer ButtonPress 1 1 1"}));
    Object::clear(host, node->variable());  // no variable counts as true
    EXPECT_EQ(press(Button::Select), Log({"then ButtonPress 1 1 1"}));
    Object::clear(host, node->action());
    EXPECT_EQ(press(Button::Select), Log({"outer ButtonPress 1 1 1"}));
    probe(node->action(), "then", true);
    Object::clear(host, node->event());  // a missing event never matches
    EXPECT_EQ(press(Button::Select), Log({"outer ButtonPress 1 1 1"}));
}

TEST_F(ActionTest, UngatedAndVariableGatedNodesRunEveryFrame) {
    // every -> gated (variable) -> both (variable and Select)
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
    // The press comes between the frame's update walk and a zero-time one.
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

TEST_F(ActionTest, TimeoutNodesFireOnElapsedTimeOnly) {
    auto* timer = make<TimeoutActionNode>(host.firstNode());
    EXPECT_EQ(timer->timeoutTime(), 30.0f);
    timer->setTimeoutTime(1.0f);
    probe(timer->action(), "tick", true);
    settle();

    EXPECT_EQ(frame(0.6f), Log());
    EXPECT_EQ(frame(0.6f), Log({"tick No event 0 0 0"}));
    EXPECT_EQ(timer->elapsedTime(), 0.0f);  // the overshoot is dropped
    EXPECT_EQ(press(Button::Select, 1, 0.6f), Log());
    EXPECT_EQ(frame(0.6f), Log({"tick No event 0 0 0"}));
    EXPECT_EQ(frame(5.0f), Log({"tick No event 0 0 0"}));
    Object::clear(host, timer->action());
    EXPECT_EQ(frame(5.0f), Log());
    EXPECT_EQ(timer->elapsedTime(), 0.0f);
}

TEST_F(ActionTest, EventTimeoutNodesFireAfterAQuietSpell) {
    auto* idle = make<CullEventTimeoutActionNode>(host.firstNode());
    event<ButtonEvent>(idle->event(), 0, Event::ButtonPress, Button::Select);
    probe(idle->action(), "idle");
    auto* busy = make<CullEventTimeoutActionNode>(idle->nextNode(0));
    // Restarted by every frame's "Update" before the frame's time is added,
    // so only a single frame as long as the timeout fires it.
    event<TypeEvent>(busy->event(), 0, Event::Update);
    probe(busy->action(), "busy");
    settle();

    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(press(Button::Select, 1, 20.0f), Log()) << i;
    EXPECT_EQ(frame(29.5f), Log());
    EXPECT_EQ(press(Button::Cancel, 1, 0.0f), Log());  // does not match
    EXPECT_EQ(frame(0.5f), Log({"idle No event 0 0 0"}));
    EXPECT_EQ(frame(29.0f), Log());
    EXPECT_EQ(frame(1.0f), Log({"idle No event 0 0 0"}));
    EXPECT_EQ(idle->elapsedTime(), 0.0f);
    EXPECT_EQ(frame(30.0f), Log({"idle No event 0 0 0", "busy No event 0 0 0"}));
}

TEST_F(ActionTest, OldCullNodesMatchTypeAndFirstParameter) {
    auto* old = make<CullActionNode>(host.firstNode());
    probe(old->action(), "old");
    settle();
    EXPECT_EQ(press(Button::Select), Log({"old ButtonPress 1 1 1"}));
    EXPECT_EQ(press(Button::Cancel), Log());
    old->setEventType(Event::Update);
    old->setEventData(0);
    EXPECT_EQ(frame(0.5f), Log({"old Update 0 0.5 0"}));

    // Only the type's low byte counts, and the parameter is truncated.
    old->setEventType(Event::ButtonRelease);
    old->setEventData(3);
    EventData record{256 + Event::ButtonRelease, 0, 3.9f, 0.0f, 0.0f};
    static_cast<ProbeAction*>(old->action())->result = true;
    log.clear();
    EXPECT_TRUE(old->onEvent(host, host.clipRect(), host.mode(), record));
    record.first = 4.0f;
    EXPECT_FALSE(old->onEvent(host, host.clipRect(), host.mode(), record));
    EXPECT_EQ(log, Log({"old ? 0 3.9 0"}));
}

Bytes nullRecord() {
    Bytes out;
    appendU32(out, 8);
    appendU16(out, 0);
    appendU16(out, 0);
    return out;
}

Bytes record(int classIndex, const Bytes& fields) {
    Bytes out;
    appendU32(out, static_cast<unsigned int>(8 + fields.size()));
    appendU16(out, 0);
    appendU16(out, classIndex);
    return out + fields;
}

Bytes i32(int value) {
    Bytes out;
    appendU32(out, static_cast<unsigned int>(value));
    return out;
}

TEST_F(ActionTest, LoadedNodesReadTheirFieldsAndHearTheScreenShow) {
    // A screen that plays a sound at 0.25 when it is shown, from a file.
    Bytes sound = {4, 'b', 'o', 'o', 'm', 0x00, 0x00, 0x80, 0x3E};
    Bytes event = Bytes{0} + i32(Event::PostShow);
    host.files["Menu"] = fileHeader({"tarn::kova::CullEventActionNode",
                                     "tarn::kova::VolumedSoundAction", "tarn::kova::TypeEvent"}) +
                         Bytes{1, 0} + nullRecord() + record(2, sound) + record(3, event);
    EXPECT_TRUE(host.load("Menu", nullptr));
    EXPECT_EQ(host.log.text, "Kova: Loading: Menu\r\n");
    EXPECT_EQ(host.played, Played({{100, 0.25f}}));
    EXPECT_EQ(host.names, std::vector<std::string>{"boom"});

    // Saved, the fields come out as they were read.
    auto* root = static_cast<CullEventActionNode*>(host.firstNode());
    MemoryOStream soundOut(64), eventOut(64);
    EXPECT_TRUE(root->action()->onSave(host, soundOut));
    EXPECT_EQ(Bytes(soundOut.buffer(), soundOut.buffer() + soundOut.position()), sound);
    EXPECT_TRUE(root->event()->onSave(host, eventOut));
    EXPECT_EQ(Bytes(eventOut.buffer(), eventOut.buffer() + eventOut.position()), event);

    // A deprecated node says so once per load.
    host.log.text.clear();
    host.files["Old"] = fileHeader({"tarn::kova::CullActionNode"}) + Bytes{1, 0} + nullRecord() +
                        nullRecord() + Bytes{22} + i32(0);
    Object* loaded = nullptr;
    EXPECT_TRUE(host.load("Old", loaded));
    EXPECT_EQ(host.log.text, "Kova: Loading: Old\r\nKova: DEPRECATED: CullActionNode\r\n");
    auto* old = static_cast<CullActionNode*>(loaded);
    EXPECT_EQ(old->eventType(), Event::Update);
    EXPECT_EQ(old->eventData(), 0);
    Object::clear(host, loaded);
}

}  // namespace
}  // namespace kova_test
