// Path nodes switching named screens through the host's entry points: the
// exact show and hide events of each frame, the show levels that effects
// receive over elapsed time, switches from a button press, the history of a
// stack path, the fields the path classes list, and screens loaded from
// their own files.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

using Log = std::vector<std::string>;

// Collects the events screens hear and the show state effects see.
class PathHost : public FileHost {
public:
    Log events;
    Log levels;
};

const char* screenLetter(int tag) {
    static const char* const letters[] = {"A", "B", "C", "D"};
    return tag >= 0 && tag < 4 ? letters[tag] : "?";
}

// Logs every event that reaches it, except the per-frame "Update", as
// "<screen letter> <event name>".
class ShowLogNode : public Node {
    KOVA_RUNTIME_CLASS(ShowLogNode)
public:
    using Node::onEvent;
    bool onEvent(System& system, Rectangle&, Mode&, EventData& data) override {
        PathHost* host = dynamic_cast<PathHost*>(&system);
        const char* name = Event::name(data.type);
        if (host && data.type != Event::Update)
            host->events.push_back(std::string(screenLetter(tag)) + " " + (name ? name : "?"));
        return false;
    }
    bool onStream(System& system, Stream& stream) override {
        return Node::onStream(system, stream) && stream.streamInt(tag, "Tag");
    }
    int tag = 0;
};
KOVA_IMPLEMENT_CLASS_NAMED(ShowLogNode, "kova_test::ShowLogNode", &Node::absoluteClass)

// Records "<screen> <showLevel> <showDirection>" of the element it was
// reached through, then passes the picture on.
class LevelEffect : public Effect {
public:
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override {
        if (PathHost* host = dynamic_cast<PathHost*>(&system)) {
            std::ostringstream line;
            line << screenLetter(tag) << " " << self.showLevel << " " << self.showDirection;
            host->levels.push_back(line.str());
        }
        return self.next ? self.next->picturePaint(system, picture, data)
                         : system.picturePaint(picture, data);
    }
    int tag = 0;
};

// Installs its effect for the chain after it, as an effect node does.
class LevelProbeNode : public Node {
    KOVA_RUNTIME_CLASS(LevelProbeNode)
public:
    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override {
        EffectPipe element = pipe;
        element.next = &pipe;
        element.effect = &effect;
        Node::iteratePaint(system, mode, rect, clip, element);
    }
    LevelEffect effect;
};
KOVA_IMPLEMENT_CLASS_NAMED(LevelProbeNode, "kova_test::LevelProbeNode", &Node::absoluteClass)

// Lists the nodes a path hands to a visitor, with the modes they come with.
class VisitLog : public Iterator {
public:
    explicit VisitLog(int searchMode) : Iterator(static_cast<SearchMode>(searchMode)) {}
    void iterateNext(System&, Node*& node, Rectangle&, Mode& mode) override {
        nodes.push_back(node);
        modes.push_back(&mode);
    }
    std::vector<Node*> nodes;
    std::vector<Mode*> modes;
};

class PathTest : public HostTest<PathHost> {
protected:
    // A named screen: a log node and, for a picture, a level probe over it.
    NameNode* screen(const char* name, int tag, int picture = 0) {
        NameNode* node = make<NameNode>();
        EXPECT_TRUE(host.setObjectName(node, name));
        ShowLogNode* log = make<ShowLogNode>(node->nextNode(0));
        log->tag = tag;
        if (picture) {
            LevelProbeNode* probe = make<LevelProbeNode>(log->nextNode(0));
            probe->effect.tag = tag;
            make<PictureNode>(probe->nextNode(0))->pictureHandle() = picture;
        }
        return node;
    }
    template <class P>
    P* path(const char* name) {
        P* node = make<P>(host.firstNode());
        EXPECT_TRUE(host.setObjectName(node, name));
        return node;
    }
    static Node*& tail(Node* node) {
        while (node->nextNode(0))
            node = node->nextNode(0);
        return node->nextNode(0);
    }
    // Appends to the screen a node that runs action on a press of Select.
    template <class A>
    A* onSelect(NameNode* screen) {
        auto* node = make<CullEventActionNode>(tail(screen));
        make<ButtonEvent>(node->event());
        return make<A>(node->action());
    }
    // One update and one paint; the events heard during both.
    Log frame(float elapsed) {
        host.events.clear();
        host.levels.clear();
        EXPECT_TRUE(host.update(elapsed));
        host.paint();
        return host.events;
    }
    bool run(Action* action) {
        EventData data{Event::ButtonPress, 0, 1.0f, 1.0f, 0.0f};
        return action->onEvent(host, host.clipRect(), host.mode(), data);
    }
};

TEST_F(PathTest, TransitionsDeliverEventsAndShowLevelsFrameByFrame) {
    PathNode* menu = path<PathNode>("Menu");
    NameNode* a = screen("ScreenA", 0, 1);
    NameNode* b = screen("ScreenB", 1, 2);

    // From an empty path, instant times show the screen in one update; the
    // in mode then takes the focus and the pointer for it.
    EXPECT_TRUE(menu->setPath(a, 0.0f, 0.0f, 0.0f, 0.0f, false));
    EXPECT_EQ(frame(0.0f),
              (Log{"A PreWaitShow", "A PreShow", "A PostShow", "A GainFocus", "A PointerIn"}));
    EXPECT_EQ(host.levels, (Log{"A 1 0"}));

    // In 1 s after a wait of 0.5 s, out 0.5 s without a wait. The times of a
    // repeated request for the same screen are not taken.
    EXPECT_TRUE(menu->setPath(b, 1.0f, 0.5f, 0.5f, 0.0f, false));
    EXPECT_TRUE(menu->setPath(b, 9.0f, 9.0f, 9.0f, 9.0f, true));
    EXPECT_FALSE(menu->paintOutOverIn());
    host.levels.clear();
    host.paint();  // the switch waits for the next update
    EXPECT_EQ(host.levels, (Log{"A 1 0"}));

    EXPECT_EQ(frame(0.25f), (Log{"A PreWaitHide", "A PreHide", "B PreWaitShow", "A LostFocus"}));
    EXPECT_EQ(host.levels, (Log{"A 0.5 -1"}));
    EXPECT_EQ(menu->getNodeOut(), a);
    EXPECT_EQ(menu->path(), b);
    EXPECT_FLOAT_EQ(menu->mode()->currentLevel(), 1.75f);  // back to 1, rising again

    // The wait ends here; the show progress starts in the next frame.
    EXPECT_EQ(frame(0.25f), (Log{"A PostHide", "B PreShow"}));
    EXPECT_EQ(host.levels, Log{});
    EXPECT_EQ(menu->getNodeOut(), nullptr);
    EXPECT_EQ(frame(0.25f), Log{});
    EXPECT_EQ(host.levels, (Log{"B 0.25 1"}));
    EXPECT_EQ(frame(0.25f), Log{});
    EXPECT_EQ(host.levels, (Log{"B 0.5 1"}));
    EXPECT_EQ(frame(0.25f), Log{});
    EXPECT_EQ(host.levels, (Log{"B 0.75 1"}));
    EXPECT_EQ(frame(0.25f), (Log{"B PostShow"}));
    EXPECT_EQ(host.levels, (Log{"B 1 0"}));
    EXPECT_EQ(frame(0.25f), Log{});

    // Without waits both screens move in the same frames and overlap; the
    // leaving one is painted first, under the one coming in.
    EXPECT_TRUE(menu->setPath(a, 0.5f, 0.5f, 0.0f, 0.0f, true));
    EXPECT_EQ(frame(0.25f),
              (Log{"B PreWaitHide", "B PreHide", "A PreWaitShow", "A PreShow", "B LostFocus"}));
    EXPECT_EQ(host.levels, (Log{"B 0.5 -1", "A 0.5 1"}));
    EXPECT_EQ(frame(0.25f), (Log{"B PostHide", "A PostShow"}));
    EXPECT_EQ(host.levels, (Log{"A 1 0"}));
    EXPECT_EQ(menu->getNodeIn(), a);
    EXPECT_EQ(menu->getNodeOut(), nullptr);
}

TEST_F(PathTest, ASwitchDuringATransitionFinishesTheOldOneFirst) {
    PathNode* menu = path<PathNode>("Menu");
    NameNode* a = screen("ScreenA", 0, 1);
    NameNode* b = screen("ScreenB", 1, 2);
    NameNode* c = screen("ScreenC", 2, 3);
    menu->setPath(a, 0.0f, 0.0f, 0.0f, 0.0f, false);
    frame(0.0f);

    menu->setPath(b, 1.0f, 1.0f, 0.0f, 0.0f, false);
    EXPECT_EQ(frame(0.25f),
              (Log{"A PreWaitHide", "A PreHide", "B PreWaitShow", "B PreShow", "A LostFocus"}));
    EXPECT_EQ(host.levels, (Log{"B 0.25 1", "A 0.75 -1"}));

    // A hears its missing PostHide and stops being painted; B finishes its
    // show at once and becomes the screen that leaves.
    menu->setPath(c, 1.0f, 1.0f, 0.0f, 0.0f, false);
    EXPECT_EQ(frame(0.25f), (Log{"A PostHide", "B PostShow", "B PreWaitHide", "B PreHide",
                                 "C PreWaitShow", "C PreShow", "B LostFocus"}));
    EXPECT_EQ(host.levels, (Log{"C 0.25 1", "B 0.75 -1"}));

    // All times 0: the whole hide and the whole show in one update, and the
    // out node is dropped before it is updated or painted.
    menu->setPath(a, 0.0f, 0.0f, 0.0f, 0.0f, false);
    EXPECT_EQ(frame(0.25f), (Log{"B PostHide", "C PostShow", "C PreWaitHide", "C PreHide",
                                 "C PostHide", "A PreWaitShow", "A PreShow", "A PostShow"}));
    EXPECT_EQ(host.levels, (Log{"A 1 0"}));
    EXPECT_EQ(menu->getNodeOut(), nullptr);

    // An empty destination hides the screen and shows nothing.
    menu->setPath(nullptr, 0.5f, 0.5f, 0.0f, 0.0f, false);
    EXPECT_EQ(frame(0.25f), (Log{"A PreWaitHide", "A PreHide", "A LostFocus"}));
    EXPECT_EQ(host.levels, (Log{"A 0.5 -1"}));
    EXPECT_EQ(frame(0.25f), (Log{"A PostHide"}));
    EXPECT_EQ(host.levels, Log{});
    EXPECT_EQ(menu->path(), nullptr);

    // Times and frames that are no numbers cannot stall a path: such a time
    // is instant, such a frame passes no time.
    menu->setPath(b, std::nanf(""), 0.0f, 0.0f, 0.0f, false);
    EXPECT_EQ(frame(std::nanf("")), (Log{"B PreWaitShow", "B PreShow", "B PostShow"}));
    EXPECT_EQ(host.levels, (Log{"B 1 0"}));
}

TEST_F(PathTest, VisitorsSlotsAndHidingFromOutside) {
    PathNode* menu = path<PathNode>("Menu");
    NameNode* a = screen("ScreenA", 0, 1);
    NameNode* b = screen("ScreenB", 1, 2);
    menu->setPath(a, 0.0f, 0.0f, 0.0f, 0.0f, false);
    frame(0.0f);
    menu->setPath(b, 1.0f, 1.0f, 0.0f, 0.0f, false);
    frame(0.25f);

    Rectangle area = host.clipRect();
    Mode parent;
    VisitLog all(Iterator::SearchAll), focused(Iterator::SearchFocused),
        hidden(Iterator::SearchHidden), other(3);
    for (VisitLog* log : {&all, &focused, &hidden, &other})
        menu->iterateIterator(host, parent, area, *log);
    EXPECT_EQ(all.nodes, (std::vector<Node*>{a, b}));
    EXPECT_EQ(all.modes, (std::vector<Mode*>{&menu->outMode(), menu->mode()}));
    EXPECT_EQ(focused.nodes, (std::vector<Node*>{b}));
    EXPECT_EQ(hidden.nodes, (std::vector<Node*>{a}));
    EXPECT_TRUE(other.nodes.empty());

    // Only screens may stand in the slot.
    EXPECT_EQ(menu->nextNodeClassRequirement(4), NameNode::absoluteClass());
    Node* plain = make<Node>(tail(b));
    menu->setNextNode(0, plain);
    EXPECT_EQ(menu->path(), b);
    EXPECT_EQ(menu->getNodeOut(), a);

    // Hidden as a whole (as a path around it does): the walk still reaches
    // the leaving screen, after which nothing is left under way.
    EventData postHide{Event::PostHide, 0, 0.0f, 0.0f, 0.0f};
    EventIterator hide(postHide);
    host.events.clear();
    hide.iterate(host, host.firstNode(), area, parent);
    EXPECT_EQ(host.events, (Log{"A PostHide", "B PostHide"}));
    EXPECT_EQ(frame(0.25f), Log{});
    EXPECT_EQ(host.levels, (Log{"B 1 0"}));
    EXPECT_EQ(menu->getNodeOut(), nullptr);

    // setNextNode shows a screen at once, with nothing left to hide.
    menu->setNextNode(0, a);
    EXPECT_EQ(menu->getNodeIn(), a);
    EXPECT_EQ(frame(0.25f), Log{});
    EXPECT_EQ(host.levels, (Log{"A 1 0"}));
}

TEST_F(PathTest, SelectOnAScreenSwitchesThroughASetPathAction) {
    PathNode* menu = path<PathNode>("Menu");
    NameNode* a = screen("ScreenA", 0, 1);
    NameNode* b = screen("ScreenB", 1, 2);
    auto* toB = onSelect<SetPathAction>(a);
    toB->pathNode() = menu;
    toB->destination() = b;
    toB->setTimes(0.5f, 0.5f, 0.0f, 0.0f);
    menu->setNextNode(0, a);
    frame(0.0f);

    // The action reacts before the log node in front of it; the switch is
    // made by the update that follows the press.
    host.buttonPress(Button::Select, 0, 1);
    EXPECT_EQ(frame(0.25f), (Log{"A ButtonPress", "A PreWaitHide", "A PreHide", "B PreWaitShow",
                                 "B PreShow", "A LostFocus"}));
    EXPECT_EQ(host.levels, (Log{"A 1 0"}));  // nothing of B yet, all of A
    EXPECT_EQ(frame(0.25f), Log{});
    EXPECT_EQ(host.levels, (Log{"B 0.5 1", "A 0.5 -1"}));

    // The release reaches the screen that now has the focus.
    host.buttonRelease(Button::Select, 0);
    EXPECT_EQ(frame(0.25f), (Log{"A PostHide", "B PostShow", "B ButtonRelease"}));
    EXPECT_EQ(host.levels, (Log{"B 1 0"}));

    // A first field that is no path node, and a destination that is no
    // screen, which empties the path.
    Object* action = nullptr;
    auto* wrongPath = make<SetPathAction>(action);
    wrongPath->pathNode() = a;
    wrongPath->destination() = a;
    EXPECT_FALSE(run(wrongPath));
    EXPECT_EQ(menu->getNodeIn(), b);
    wrongPath->pathNode() = menu;
    wrongPath->destination() = make<Node>(tail(b));
    EXPECT_FALSE(run(wrongPath));
    EXPECT_EQ(menu->getNodeIn(), nullptr);
    wrongPath->destination() = nullptr;
    wrongPath->pathNode() = nullptr;
    Object::clear(host, action);
}

TEST_F(PathTest, StackPathsPushAndPopScreens) {
    StackPathNode* menu = path<StackPathNode>("Menu");
    NameNode* a = screen("ScreenA", 0);
    NameNode* b = screen("ScreenB", 1);
    NameNode* c = screen("ScreenC", 2);
    menu->setPath(a, 0.0f, 0.0f, 0.0f, 0.0f, false);
    frame(0.0f);

    Object* objects[3] = {};
    auto* toB = make<PushPathAction>(objects[0]);
    toB->pathNode() = menu;
    toB->destination() = b;
    toB->setTimes(0.0f, 0.0f, 0.0f, 0.0f);
    auto* toC = make<PushPathAction>(objects[1]);
    toC->pathNode() = menu;
    toC->destination() = c;
    toC->setTimes(0.0f, 0.0f, 0.0f, 0.0f);
    auto* back = make<PopPathAction>(objects[2]);
    back->pathNode() = menu;
    back->setTimes(0.0f, 0.0f, 0.0f, 0.0f);
    auto stacked = [&] { return StackPathNode::PathStack::count(menu->stack()); };

    EXPECT_FALSE(run(toB));
    EXPECT_EQ(stacked(), 1);
    EXPECT_EQ(frame(0.0f), (Log{"A PreWaitHide", "A PreHide", "A PostHide", "B PreWaitShow",
                                "B PreShow", "B PostShow"}));
    run(toC);
    frame(0.0f);
    EXPECT_EQ(stacked(), 2);
    EXPECT_EQ(menu->stack()->node, b);

    EXPECT_FALSE(run(back));
    EXPECT_EQ(stacked(), 1);
    EXPECT_EQ(frame(0.0f), (Log{"C PreWaitHide", "C PreHide", "C PostHide", "B PreWaitShow",
                                "B PreShow", "B PostShow"}));

    // Going back further than the stack reaches stops at its bottom; an
    // empty stack goes nowhere.
    EXPECT_TRUE(menu->removePath(0.0f, 0.0f, 0.0f, 0.0f, false, 3));
    EXPECT_EQ(menu->getNodeIn(), a);
    frame(0.0f);
    EXPECT_FALSE(menu->removePath(0.0f, 0.0f, 0.0f, 0.0f, false, 1));
    EXPECT_FALSE(run(back));
    EXPECT_EQ(menu->getNodeIn(), a);
    EXPECT_EQ(frame(0.0f), Log{});

    // The screen on top is not stacked twice; a direct switch forgets all.
    StackPathNode::PathStack* top = nullptr;
    EXPECT_TRUE(StackPathNode::PathStack::insert(host, top, a));
    EXPECT_TRUE(StackPathNode::PathStack::insert(host, top, a));
    EXPECT_TRUE(StackPathNode::PathStack::insert(host, top, nullptr));
    EXPECT_EQ(StackPathNode::PathStack::count(top), 1);
    EXPECT_EQ(StackPathNode::PathStack::remove(top), a);
    EXPECT_EQ(StackPathNode::PathStack::remove(top), nullptr);
    menu->insertPath(host, b, 0.0f, 0.0f, 0.0f, 0.0f, false);
    menu->insertPath(host, c, 0.0f, 0.0f, 0.0f, 0.0f, false);
    EXPECT_EQ(stacked(), 2);
    menu->setPath(a, 0.0f, 0.0f, 0.0f, 0.0f, false);
    EXPECT_EQ(stacked(), 0);

    // Push and pop actions act on stack paths only.
    PathNode* plainPath = make<PathNode>(tail(a));
    toB->pathNode() = plainPath;
    EXPECT_FALSE(run(toB));
    EXPECT_EQ(plainPath->getNodeIn(), nullptr);
    toB->pathNode() = menu;  // the plain path belongs to the screen
    for (Object*& object : objects)
        Object::clear(host, object);
}

TEST_F(PathTest, PathClassesListTheirFields) {
    Object* object = nullptr;
    auto* set = make<SetPathAction>(object);
    FieldRecorder fields;
    EXPECT_TRUE(set->onStream(host, fields));
    EXPECT_EQ(fields.fields, (std::vector<std::string>{
                                 "float 'In time' 1.000000", "float 'Out time' 1.000000",
                                 "float 'In wait time' 0.000000", "float 'Out wait time' 0.000000",
                                 "bool 'Paint outnode over innode' false"}));
    Object::clear(host, object);

    auto labelsOf = [&](RuntimeClass* cls) {
        Object* made = nullptr;
        EXPECT_TRUE(Object::create(host, made, cls));
        ReferenceRecorder references;
        made->onStream(host, references);
        Object::clear(host, made);
        return references.labels;
    };
    using Labels = std::vector<std::string>;
    EXPECT_EQ(labelsOf(SetPathAction::absoluteClass()),
              (Labels{"Path node:PathNode", "Destination node:NameNode"}));
    EXPECT_EQ(labelsOf(PushPathAction::absoluteClass()),
              (Labels{"Stack path node:StackPathNode", "Destination node:NameNode"}));
    EXPECT_EQ(labelsOf(PopPathAction::absoluteClass()), (Labels{"Stack path node:StackPathNode"}));
    EXPECT_EQ(labelsOf(StackPathNode::absoluteClass()), (Labels{"Next node:Node"}));

    // The clear walk visits a pending screen; the registration walk visits
    // the target always and the screen being hidden while there is one.
    PathNode* menu = path<PathNode>("Menu");
    NameNode* a = screen("ScreenA", 0);
    NameNode* b = screen("ScreenB", 1);
    menu->setNextNode(0, a);
    ReferenceRecorder idle;
    EXPECT_TRUE(menu->onRegister(host, idle));
    EXPECT_EQ(idle.labels, (Labels{"Next node:Node", "In node:NameNode"}));
    menu->setPath(b, 1.0f, 1.0f, 0.0f, 0.0f, false);
    ReferenceRecorder pendingClear;
    EXPECT_TRUE(menu->onClear(host, pendingClear));
    EXPECT_EQ(pendingClear.labels, (Labels{"Next node:Node", "In node:NameNode"}));
    EXPECT_EQ(pendingClear.seen, (std::vector<Object*>{a, b}));
    frame(0.25f);
    ReferenceRecorder hiding;
    EXPECT_TRUE(menu->onRegister(host, hiding));
    EXPECT_EQ(hiding.labels, (Labels{"Next node:Node", "In node:NameNode", "Out node:NameNode"}));
    EXPECT_EQ(hiding.seen, (std::vector<Object*>{b, b, a}));
    ReferenceRecorder settledClear;
    EXPECT_TRUE(menu->onClear(host, settledClear));
    EXPECT_EQ(settledClear.labels, (Labels{"Next node:Node"}));
    EXPECT_EQ(menu->getNodeOut(), nullptr);
}

TEST_F(PathTest, ScreensLoadFromTheirOwnFilesAndSwitch) {
    PathNode* menu = path<PathNode>("Menu");
    NameNode* a = screen("ScreenA", 0);
    NameNode* b = screen("ScreenB", 1);
    auto* toB = onSelect<SetPathAction>(a);
    toB->pathNode() = menu;
    toB->destination() = b;
    toB->setTimes(0.5f, 0.5f, 0.0f, 0.0f);
    auto* toA = onSelect<SetPathAction>(b);
    toA->pathNode() = menu;
    toA->destination() = a;
    toA->setTimes(0.0f, 0.0f, 0.0f, 0.0f);
    menu->setNextNode(0, a);
    EXPECT_TRUE(host.save());
    EXPECT_EQ(host.created, (Log{"Menu", "ScreenA", "ScreenB"}));

    // The path file holds only its screen, by name.
    Bytes expected = fileHeader({"tarn::kova::PathNode", "ScreenA"});
    appendU16(expected, 1);
    appendU32(expected, 8);
    appendU16(expected, 2);
    appendU16(expected, 0);
    EXPECT_EQ(host.files["Menu"], expected);

    host.exit();
    EXPECT_EQ(RuntimeClass::totalClassInstanceCount(), 0);
    host.init();
    host.log.text.clear();
    host.events.clear();

    // Each screen's file is opened when a reference first needs it.
    EXPECT_TRUE(host.load("Menu", nullptr));
    EXPECT_EQ(host.opened, (Log{"Menu", "ScreenA", "ScreenB"}));
    EXPECT_EQ(host.log.text,
              "Kova: Loading: Menu\r\nKova: Loading: ScreenA\r\nKova: Loading: ScreenB\r\n");
    auto* loaded = static_cast<PathNode*>(host.firstNode());
    ASSERT_EQ(loaded, host.findNamedObject("Menu"));
    NameNode* loadedA = static_cast<NameNode*>(host.findNamedObject("ScreenA"));
    NameNode* loadedB = static_cast<NameNode*>(host.findNamedObject("ScreenB"));
    EXPECT_EQ(loaded->getNodeIn(), loadedA);
    EXPECT_EQ(host.events,
              (Log{"A PreWaitShow", "A PreShow", "A PostShow", "A GainFocus", "A PointerIn"}));

    host.buttonPress(Button::Select, 0, 1);
    EXPECT_EQ(frame(0.25f), (Log{"A ButtonPress", "A PreWaitHide", "A PreHide", "B PreWaitShow",
                                 "B PreShow", "A LostFocus"}));
    host.buttonRelease(Button::Select, 0);
    EXPECT_EQ(frame(0.25f), (Log{"B ButtonRelease"}));
    EXPECT_EQ(frame(0.25f), (Log{"A PostHide", "B PostShow"}));
    EXPECT_EQ(loaded->getNodeIn(), loadedB);

    host.buttonPress(Button::Select, 0, 1);
    EXPECT_EQ(frame(0.0f), (Log{"B ButtonPress", "B PreWaitHide", "B PreHide", "B PostHide",
                                "A PreWaitShow", "A PreShow", "A PostShow"}));
    EXPECT_EQ(loaded->getNodeIn(), loadedA);
    EXPECT_EQ(loaded->getNodeOut(), nullptr);
}

TEST_F(PathTest, ALoadedPathRefusesANodeThatIsNoScreen) {
    PathNode* odd = make<PathNode>();
    ASSERT_TRUE(host.setObjectName(odd, "Odd"));
    make<Node>(odd->path());
    EXPECT_TRUE(host.save());
    host.exit();
    host.init();
    host.log.text.clear();

    Object* loaded = nullptr;
    EXPECT_TRUE(host.load("Odd", loaded));
    EXPECT_EQ(host.log.text,
              "Kova: Loading: Odd\r\n"
              "Kova: Error: Loading: Class Node cannot stand in field 'Next node'\r\n");
    auto* path = static_cast<PathNode*>(loaded);
    EXPECT_EQ(path->path(), nullptr);
    EXPECT_EQ(path->getNodeIn(), nullptr);
    EXPECT_FLOAT_EQ(path->inPosition(), 1.0f);
    EXPECT_FLOAT_EQ(path->outPosition(), 1.0f);
}

}  // namespace
}  // namespace kova_test
