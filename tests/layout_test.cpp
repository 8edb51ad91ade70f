// Nodes that lay out, gate and switch what is below them: the areas, depths
// and clips layout nodes hand to their subtrees and the modes they drive
// from the pointer; chains faded, disabled and held by variables; screens
// switched by path nodes. Screens are described as text; probe leaves tell
// what reaches them, frame by frame.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <regex>
#include <sstream>

#include "test_support.h"

namespace kova_test {
namespace {

using Lines = std::vector<std::string>;

// Screens in the text form, with two shorthands: <n> is a probe leaf that
// paints picture n, and =v (or name=v) a variable holding v (of that name).
std::string expanded(const std::string& text) {
    std::string out = std::regex_replace(text, std::regex("<(\\d+)>"),
                                         "PaintProbe { Next node: null Picture: \"$1\" }");
    out = std::regex_replace(out, std::regex("(\\w+)=(-?[\\d.]+)"),
                             "FloatData \"$1\" { Value <do not edit>: $2 }");
    return std::regex_replace(out, std::regex("=(-?[\\d.]+)"),
                              "FloatData { Value <do not edit>: $1 }");
}

// What the probes tell: events, updates (when asked for, with their areas
// when asked for) and the element each probe paints through.
class ProbeHost : public PaintLogHost {
public:
    Lines events, painting;
    bool updates = true;
    bool areas = false;
    int refuseUpdate = -1;  // the probe whose update fails
};

// A picture that tells its host each event but Update as "<picture>
// <event>", each update as "<picture> update", and while painting, the
// element it paints through as "<picture>[ show <direction> <level>][ mode
// <direction> <level>] pipe <elements up to the root>", the show and mode
// parts when they are not those of the root element (0 1).
class PaintProbe : public PictureNode {
    KOVA_RUNTIME_CLASS(PaintProbe)
public:
    using Node::onEvent;
    bool onEvent(System& system, Rectangle&, Mode&, EventData& data) override {
        if (data.type != Event::Update) tell(system, Event::name(data.type));
        return false;
    }
    bool onUpdate(System& system, Mode&, Rectangle& rect, float) override {
        ProbeHost& h = static_cast<ProbeHost&>(system);
        if (h.updates) tell(system, h.areas ? "update " + describeArea(rect) : "update");
        return pictureHandle() != h.refuseUpdate;
    }
    void onPaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                 EffectPipe& pipe) override {
        std::string line = std::to_string(pictureHandle()) + " ";
        if (pipe.showDirection != 0.0f || pipe.showLevel != 1.0f)
            line += "show " + printed(pipe.showDirection) + " " + printed(pipe.showLevel) + " ";
        if (pipe.modeDirection != 0.0f || pipe.modeLevel != 1.0f)
            line += "mode " + printed(pipe.modeDirection) + " " + printed(pipe.modeLevel) + " ";
        int elements = 0;
        for (EffectPipe* e = &pipe; e; e = e->next)
            ++elements;
        static_cast<ProbeHost&>(system).painting.push_back(line + "pipe " +
                                                           std::to_string(elements));
        PictureNode::onPaint(system, mode, rect, clip, pipe);
    }

private:
    void tell(System& system, const std::string& what) {
        static_cast<ProbeHost&>(system).events.push_back(std::to_string(pictureHandle()) + " " +
                                                         what);
    }
};
KOVA_IMPLEMENT_CLASS_NAMED(PaintProbe, "kova_test::PaintProbe", &PictureNode::absoluteClass)

// Lists the probes a walk is handed, alone and with their areas; it goes on
// below each node.
class Walk : public Iterator {
public:
    explicit Walk(int search) : Iterator(static_cast<SearchMode>(search)) {}
    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override {
        if (!node) return;
        if (node->actualClass() == PaintProbe::absoluteClass()) {
            probes += std::to_string(static_cast<PaintProbe*>(node)->pictureHandle());
            areas.push_back(probes.substr(probes.size() - 1) + " " + describeArea(rect));
        }
        node->iterateIterator(system, mode, rect, *this);
    }
    std::string probes;
    Lines areas;
};

class NodeTest : public HostTest<ProbeHost> {
protected:
    // Reads a screen and makes it the host's first node instead of the last.
    Node* show(const std::string& text) {
        Node::clear(host, host.firstNode());
        return host.firstNode() = static_cast<Node*>(readObject(host, expanded(text)));
    }
    // Screens ScreenA to ScreenC hold probes 1 to 3; the path node Menu of
    // the class given shows them, and is read with a node of another class in
    // its screen slot, which it lets go.
    PathNode* paths(const std::string& cls = "PathNode") {
        for (int i = 1; i <= 3; ++i)
            readObject(host, expanded("NameNode { Next node: <" + std::to_string(i) + "> }"),
                       ("Screen" + std::string(1, static_cast<char>('A' + i - 1))).c_str());
        host.updates = false;
        Node* path = show(cls + " \"Menu\" { Next node: Node { Next node: null } }");
        EXPECT_EQ(host.log.text,
                  "Kova: Error: Loading: Class Node cannot stand in field 'Next node'\r\n");
        return static_cast<PathNode*>(path);
    }
    NameNode* screen(const std::string& letter) {
        return static_cast<NameNode*>(host.findNamedObject(("Screen" + letter).c_str()));
    }
    // Paints the first node through the root element, which holds an
    // effect, so that the nodes that make elements for effects do.
    void paint() {
        host.painting.clear();
        host.paints.clear();
        host.firstNode()->iteratePaint(host, host.mode(), host.clipRect(), nullptr, root);
    }
    // The paint and the probes each search finds, as "all|focused|hidden".
    std::string seen() {
        std::string out =
            joinedLines(host.painting) + (host.painting.empty() ? "" : " ") + "found ";
        for (int search : {0, 1, 2}) {
            Walk walk(search);
            walk.iterate(host, host.firstNode(), host.clipRect(), host.mode());
            out += (search ? "|" : "") + walk.probes;
        }
        return out;
    }

    // A timeline, one step a line: an action ("wait", "move x y", "press b",
    // "release b", "lock", "unlock", "set <variable> v", "path <screen letter
    // or -> in out inWait outWait [over]", "do <action number>", or "disabled
    // parent" to update under a disabled mode) | the seconds of the update
    // that follows | the events of that update | the state after a paint.
    void run(const std::string& steps) {
        for (const Lines& step : tableRows(steps)) {
            ASSERT_EQ(step.size(), 4u) << step[0];
            std::istringstream in(step[0]);
            const Lines w{std::istream_iterator<std::string>(in), {}};
            auto number = [&](size_t i) { return std::strtof(w[i].c_str(), nullptr); };
            EventData press{Event::ButtonPress, 0, 1.0f, 1.0f, 0.0f};
            if (w[0] == "move") host.pointerMove(number(1), number(2));
            if (w[0] == "press") host.buttonPress(std::atoi(w[1].c_str()), 0, 1);
            if (w[0] == "release") host.buttonRelease(std::atoi(w[1].c_str()), 0);
            if (w[0] == "lock") host.increaseLockCount();
            if (w[0] == "unlock") host.decreaseLockCount();
            if (w[0] == "set")
                static_cast<Data*>(host.findNamedObject(w[1].c_str()))->set(host, number(2));
            if (w[0] == "path")
                static_cast<PathNode*>(host.firstNode())
                    ->setPath(screen(w[1]), number(2), number(3), number(4), number(5),
                              w.size() > 6);
            // Actions never take the event: the next node hears it too.
            EXPECT_FALSE(w[0] == "do" && actions[std::atoi(w[1].c_str())]->onEvent(
                                             host, host.clipRect(), host.mode(), press));
            host.events.clear();
            Mode disabled(0.0f, 0.0f, false);
            EXPECT_TRUE(w[0] == "disabled"
                            ? host.firstNode()->iterateUpdate(host, disabled, host.clipRect(), 0.0f)
                            : host.update(std::strtof(step[1].c_str(), nullptr)));
            paint();
            EXPECT_EQ(joinedLines(host.events), step[2]) << step[0];
            EXPECT_EQ(state(), step[3]) << step[0];
        }
    }

    std::function<std::string()> state = [this] { return seen(); };
    Effect passOn;
    EffectPipe root{nullptr, &passOn};
    std::vector<Action*> actions;
};

// Splits, translations, zooms, clips and transforms hand on areas, depths
// and clips; paints and updates see the same. The root clip node clips to
// the screen, an inner one to the part of its area on it, and an area wholly
// off the clip leaves it as it was.
TEST_F(NodeTest, LayoutsHandOnAreasDepthsAndClips) {
    // Each screen on a line of its own, then what it paints, then its updates.
    const auto lines = tableRows(
        R"(SplitNode { Next node: TranslateNode { Next node: ZoomNode { Next node: ClipNode { Next node: TransformNode { Next node: <3> X: 30 Y: 40 Width: 100 Height: 50 Transformed node: <2> } } Z: =2 } X: =10 Y: null } Split node: <1> }
        picture 1: -320,-240 320,-240 320,240 -320,240, picture 2: -280,-200 -180,-200 -180,-150 -280,-150 z2 clip -310,-240,640,480,2, picture 3: -310,-240 330,-240 330,240 -310,240 z2 clip -310,-240,640,480,2
        1 update -320,-240,640,480,0, 2 update -280,-200,100,50,2, 3 update -310,-240,640,480,2
        ClipNode { Next node: TransformNode { Next node: TransformNode { Next node: ZoomNode { Next node: null Z: null } X: 700 Y: 0 Width: 50 Height: 50 Transformed node: ClipNode { Next node: <5> } } X: 600 Y: -20 Width: 100 Height: 100 Transformed node: ClipNode { Next node: PaintProbe { Next node: PictureUVNode { Next node: null Picture: "6" U: 0.25 V: 0.5 Width: 0.5 Height: 0.25 } Picture: "4" } } } }
        picture 4: 280,-260 380,-260 380,-160 280,-160 clip 280,-240,40,80,0, picture 6: 280,-260 380,-260 380,-160 280,-160 uv 0.25,0.5|0.75,0.5|0.75,0.75|0.25,0.75 clip 280,-240,40,80,0, picture 5: 380,-240 430,-240 430,-190 380,-190 clip -320,-240,640,480,0
        4 update 280,-260,100,100,0, 5 update 380,-240,50,50,0)");
    // Every search walks the whole of a layout, handing the probes the
    // areas their updates see.
    host.areas = true;
    for (size_t i = 0; i + 2 < lines.size(); i += 3) {
        show(lines[i][0]);
        EXPECT_TRUE(host.paint());
        EXPECT_EQ(joinedLines(host.paints), lines[i + 1][0]);
        host.events.clear();
        EXPECT_TRUE(host.update(0.0f));
        EXPECT_EQ(joinedLines(host.events), lines[i + 2][0]);
        host.paints.clear();
        for (int search : {0, 1, 2}) {
            Walk walk(search);
            walk.iterate(host, host.firstNode(), host.clipRect(), host.mode());
            EXPECT_EQ(joinedLines(walk.areas),
                      std::regex_replace(lines[i + 2][0], std::regex(" update"), ""));
        }
    }
    show(lines[0][0]);
    // A failing split branch ends the frame before the node's own chain.
    host.refuseUpdate = 1;
    host.events.clear();
    EXPECT_FALSE(host.update(0.0f));
    EXPECT_EQ(host.events, Lines{"1 update -320,-240,640,480,0"});
}

// transform (0, 0, 200 x 200) [drag window (10, 10, 50 x 50) [6]]: input
// reaches the window only through its parent's focus (the parent's mode
// speaks to the window's chain too, then the window's own); the window
// follows the pointer while Select is held, also out of its parent's region
// while the focus is locked.
TEST_F(NodeTest, WindowsAreDraggedWhileSelectIsHeld) {
    Node* parent = show(
        R"(TransformNode { Next node: null X: 0 Y: 0 Width: 200 Height: 200 Transformed node: DragWindowNode { Next node: null X: 10 Y: 10 Width: 50 Height: 50 Transformed node: <6> } })");
    auto* window = static_cast<DragWindowNode*>(parent->nextNode(1));
    state = [&] {
        return printed(window->position().x) + "," + printed(window->position().y) +
               (window->isDragging() ? " dragging " : " ") + printed(parent->mode()->targetLevel());
    };
    host.updates = false;
    run(R"(press 1 | 0 |  | 10,10 1
        move -300 -220 | 0 | 6 GainFocus, 6 PointerIn, 6 GainFocus, 6 PointerIn | 10,10 2
        press 2 | 0 | 6 ButtonPress | 10,10 2
        press 1 | 0 | 6 ButtonPress | 10,10 dragging 3
        move -295 -223 | 0.1 | 6 PointerMove, 6 PointerMove | 15,7 dragging 3
        release 1 | 0 | 6 ButtonRelease | 15,7 2
        move -280 -200 | 0.1 | 6 PointerMove, 6 PointerMove | 15,7 2
        press 1 | 0 | 6 ButtonPress | 15,7 dragging 3
        lock | 0 |  | 15,7 dragging 3
        move -100 -200 | 0.1 | 6 PointerOut, 6 PointerOut | 15,7 dragging 3
        move -90 -200 | 0.1 | 6 PointerMoveOut, 6 PointerMoveOut | 205,7 dragging 3
        unlock | 0 | 6 LostFocus, 6 LostFocus | 205,7 dragging 3)");
    EXPECT_EQ(host.paints, Lines{"picture 6: -115,-233 -65,-233 -65,-183 -115,-183"});
}

// cull (in 2 s, out 1 s, shown by "Shown") -> 1: the show and hide events
// at once, the fade over time, turned round where it stands on a change of
// mind; hidden or fading, it is kept from every search.
TEST_F(NodeTest, CullNodesFadeTheirChainInAndOut) {
    show("CullNode { Next node: <1> Data: Shown=0 In time: 2 Out time: 1 }");
    // The element received says a hide is under way; the cull node scales
    // its show level and tells its own direction.
    root.showDirection = -1.0f;
    root.showLevel = 0.5f;
    root.modeLevel = 2.0f;
    run(R"(wait | 0.5 |  | found ||
        set Shown 1 | 0.5 | 1 PreWaitShow, 1 PreShow, 1 update | 1 show -1 0.125 mode 1 2 pipe 2 found ||
        wait | 1 | 1 update | 1 show -1 0.375 mode 1 2 pipe 2 found ||
        wait | 0.5 | 1 PostShow, 1 update | 1 show -1 0.5 mode 0 2 pipe 1 found 1|1|1
        set Shown 0 | 0.25 | 1 PreWaitHide, 1 PreHide, 1 update | 1 show -1 0.375 mode -1 2 pipe 2 found ||
        set Shown 1 | 0.25 | 1 update | 1 show -1 0.4375 mode 1 2 pipe 2 found ||
        wait | 0.25 | 1 PostShow, 1 update | 1 show -1 0.5 mode 0 2 pipe 1 found 1|1|1
        set Shown 0 | 1 | 1 PreWaitHide, 1 PreHide, 1 PostHide | found ||
        set Shown 1 | 1 | 1 PreWaitShow, 1 PreShow, 1 update | 1 show -1 0.25 mode 1 2 pipe 2 found ||
        set Shown 0 | 0.25 | 1 update | 1 show -1 0.125 mode -1 2 pipe 2 found ||
        wait | 0.25 | 1 PostHide | found ||)");
}

// disable ("On") -> 1: a variable of 0 takes the chain's mode to the
// disabled level, and only a search over everything finds it; the region
// keeps track of the pointer meanwhile.
TEST_F(NodeTest, DisableNodesDisableTheirChain) {
    show("DisableNode { Next node: <1> Disable data: On=0 }");
    run(R"(wait | 0 | 1 Disable, 1 update | 1 mode -3 1 pipe 2 found 1||
        set On 1 | 0 | 1 Enable, 1 GainFocus, 1 update | 1 mode 3 1 pipe 2 found 1|1|1
        wait | 1 | 1 update | 1 mode 0 2 pipe 2 found 1|1|1
        set On 0 | 0.1 | 1 LostFocus, 1 Disable, 1 update | 1 mode -3 2 pipe 2 found 1||
        wait | 0.1 | 1 update | 1 mode -3 1.7 pipe 2 found 1||
        wait | 1 | 1 update | 1 mode 0 0 pipe 2 found 1||
        set On 1 | 0 | 1 Enable, 1 GainFocus, 1 update | 1 mode 3 0 pipe 2 found 1|1|1
        disabled parent | 0 | 1 LostFocus, 1 Disable, 1 update | 1 mode 0 0 pipe 2 found 1|1|1)");
}

// sticky ("V" against 3) -> 1: while the variable holds the value the
// chain's mode is held at level 4; otherwise it follows the pointer.
TEST_F(NodeTest, StickyNodesHoldTheirChainAtLevelFour) {
    Node* sticky = show("StickyNode { Next node: <1> Variable: V=3 Data: =3 }");
    state = [&] {
        Mode* mode = sticky->mode();
        return printed(mode->targetLevel()) + "/" + printed(mode->currentLevel()) +
               (mode->isInside() ? " inside " : " ") + joinedLines(host.painting);
    };
    run(R"(wait | 0 | 1 GainFocus, 1 PointerIn, 1 update | 4/1 inside 1 mode 3 1 pipe 2
        wait | 0.5 | 1 update | 4/2.5 inside 1 mode 3 2.5 pipe 2
        wait | 0.5 | 1 update | 4/4 inside 1 mode 0 4 pipe 2
        set V 1 | 0 | 1 update | 2/4 inside 1 mode -3 4 pipe 2
        wait | 0.5 | 1 update | 2/2.5 inside 1 mode -3 2.5 pipe 2
        set V 3 | 0 | 1 update | 4/2.5 inside 1 mode 3 2.5 pipe 2
        move 10 10 | 0 | 1 PointerMove, 1 update | 4/2.5 inside 1 mode 3 2.5 pipe 2
        disabled parent | 0 | 1 LostFocus, 1 Disable, 1 update | 0/2.5 1 mode -3 2.5 pipe 2)");
}

// A node made its own descendant ends every walk at the depth limit, which
// is told once.
TEST_F(NodeTest, WalksThroughALoopEndAtTheDepthLimit) {
    // Each screen | the slots that lead to the node whose last slot links back.
    for (
        const Lines& loop : tableRows(
            R"(SplitNode { Next node: null Split node: TransformNode { Next node: null X: 0 Y: 0 Width: 20 Height: 20 Transformed node: null } } | 1 1
        DisableNode { Next node: CullNode { Next node: StickyNode { Next node: null Variable: =1 Data: null } Data: null In time: 0 Out time: 0 } Disable data: null } | 0 0 0)")) {
        std::istringstream in(loop[1]);
        const std::vector<int> slots{std::istream_iterator<int>(in), {}};
        host.exit();  // the limit is told once in a host's life
        host.init();
        Node* last = show(loop[0]);
        for (size_t i = 0; i + 1 < slots.size(); ++i)
            last = last->nextNode(slots[i]);
        last->setNextNode(slots.back(), host.firstNode());
        host.pointerMove(-315.0f, -235.0f);
        host.buttonPress(Button::Select, 0, 1);
        EXPECT_TRUE(host.update(0.1f) && host.update(0.1f) && host.paint());
        seen();
        EXPECT_EQ(
            host.log.text,
            "Kova: Error: Node tree deeper than 4096 nodes; is a node its own descendant?\r\n");
        last->setNextNode(slots.back(), nullptr);
    }
}

// Instant times show a screen in one update; otherwise it waits, then comes
// in over its time while the one it replaces waits and goes out over its
// own, and their show levels tell effects how far they are. The leaving
// screen is painted first, under the other, when asked to. Searches find
// both screens, the coming one as focused and the leaving one as hidden.
TEST_F(NodeTest, PathsSwitchScreensFrameByFrame) {
    PathNode* path = paths();
    run(R"(path A 0 0 0 0 | 0 | 1 PreWaitShow, 1 PreShow, 1 PostShow, 1 GainFocus, 1 PointerIn | 1 pipe 1 found 1|1|)");
    // The switch waits for the next update; asking again for the same
    // screen changes nothing, not even the times.
    path->setPath(screen("B"), 1.0f, 0.5f, 0.5f, 0.0f, false);
    path->setPath(screen("B"), 9.0f, 9.0f, 9.0f, 9.0f, true);
    paint();
    EXPECT_EQ(state(), "1 pipe 1 found 1|1|");
    run(R"(wait | 0.25 | 1 PreWaitHide, 1 PreHide, 2 PreWaitShow, 1 LostFocus | 1 show -1 0.5 pipe 2 found 12|2|1)");
    run(R"(wait | 0.25 | 1 PostHide, 2 PreShow | found 2|2|
        wait | 0.25 |  | 2 show 1 0.25 pipe 2 found 2|2|
        wait | 0.5 |  | 2 show 1 0.75 pipe 2 found 2|2|
        wait | 0.25 | 2 PostShow | 2 pipe 1 found 2|2|)");
    run(R"(path A 0.5 0.5 0 0 over | 0.25 | 2 PreWaitHide, 2 PreHide, 1 PreWaitShow, 1 PreShow, 2 LostFocus | 2 show -1 0.5 pipe 2, 1 show 1 0.5 pipe 2 found 21|1|2
        wait | 0.25 | 2 PostHide, 1 PostShow | 1 pipe 1 found 1|1|
        path B 1 1 0 0 | 0.25 | 1 PreWaitHide, 1 PreHide, 2 PreWaitShow, 2 PreShow, 1 LostFocus | 2 show 1 0.25 pipe 2, 1 show -1 0.75 pipe 2 found 12|2|1)");
    // A switch during a switch first finishes the old one: every screen
    // hears each of its events once and in order. Times and frames that are
    // no numbers cannot stall a path: such a time is instant, such a frame
    // passes no time.
    run(R"(path C 1 1 0 0 | 0.25 | 1 PostHide, 2 PostShow, 2 PreWaitHide, 2 PreHide, 3 PreWaitShow, 3 PreShow, 2 LostFocus | 3 show 1 0.25 pipe 2, 2 show -1 0.75 pipe 2 found 23|3|2
        path A 0 0 0 0 | 0.25 | 2 PostHide, 3 PostShow, 3 PreWaitHide, 3 PreHide, 3 PostHide, 1 PreWaitShow, 1 PreShow, 1 PostShow | 1 pipe 1 found 1|1|
        path - 0.5 0.5 0 0 | 0.25 | 1 PreWaitHide, 1 PreHide, 1 LostFocus | 1 show -1 0.5 pipe 2 found 1||1
        wait | 0.25 | 1 PostHide | found ||
        path B nan 0 0 0 | nan | 2 PreWaitShow, 2 PreShow, 2 PostShow | 2 pipe 1 found 2|2|
        path C 1 1 0 0 | 0.25 | 2 PreWaitHide, 2 PreHide, 3 PreWaitShow, 3 PreShow, 2 LostFocus | 3 show 1 0.25 pipe 2, 2 show -1 0.75 pipe 2 found 23|3|2)");
    // Back to level 1 at the switch, rising.
    EXPECT_EQ((Floats{path->mode()->targetLevel(), path->mode()->currentLevel()}),
              (Floats{2, 1.75f}));
    // Only screens may stand in the slot. Hidden as a whole, a path lets go
    // of what was under way; setNextNode shows a screen at once.
    Node plain;
    path->setNextNode(0, &plain);
    EXPECT_EQ(state(), "3 show 1 0.25 pipe 2, 2 show -1 0.75 pipe 2 found 23|3|2");
    EventData postHide{Event::PostHide, 0, 0.0f, 0.0f, 0.0f};
    EventIterator hide(postHide);
    host.events.clear();
    hide.iterate(host, host.firstNode(), host.clipRect(), host.mode());
    EXPECT_EQ(host.events, (Lines{"2 PostHide", "3 PostHide"}));
    run(R"(wait | 0.25 |  | 3 pipe 1 found 3|3|)");
    path->setNextNode(0, screen("A"));
    run(R"(wait | 0.25 |  | 1 pipe 1 found 1|1|)");
}

// Stack paths remember the screens they come from: pushes and pops, going
// back further than the stack reaches stops at its bottom, and a direct
// switch forgets them all. The path actions act on paths of their class
// only; a destination that is no screen empties the path.
TEST_F(NodeTest, StackPathsPushAndPopScreens) {
    auto* path = static_cast<StackPathNode*>(paths("StackPathNode"));
    Node plain;
    PathNode plainPath;
    PushPathAction toB(path, screen("B")), toC(path, screen("C")), elsewhere(nullptr, screen("B"));
    elsewhere.pathNode() = &plainPath;
    PopPathAction back(path), nowhere(nullptr);
    SetPathAction nothing(nullptr, screen("B")), empty(path, nullptr);
    empty.destination() = &plain;
    for (SetPathAction* action : std::initializer_list<SetPathAction*>{&toB, &toC, &back})
        action->setTimes(0, 0, 0, 0);
    // "do <n>": 0 pushes B, 1 pushes C, 2 pops, 3 pushes on a path of another
    // class, 4 pops and 5 sets without a path, 6 sets a node that is no
    // screen.
    actions = {&toB, &toC, &back, &elsewhere, &nowhere, &nothing, &empty};
    state = [&] {
        return seen() + " stack " + std::to_string(StackPathNode::PathStack::count(path->stack()));
    };
    run(R"(path A 0 0 0 0 | 0 | 1 PreWaitShow, 1 PreShow, 1 PostShow, 1 GainFocus, 1 PointerIn | 1 pipe 1 found 1|1| stack 0
        do 0 | 0 | 1 PreWaitHide, 1 PreHide, 1 PostHide, 2 PreWaitShow, 2 PreShow, 2 PostShow | 2 pipe 1 found 2|2| stack 1
        do 1 | 0 | 2 PreWaitHide, 2 PreHide, 2 PostHide, 3 PreWaitShow, 3 PreShow, 3 PostShow | 3 pipe 1 found 3|3| stack 2
        do 2 | 0 | 3 PreWaitHide, 3 PreHide, 3 PostHide, 2 PreWaitShow, 2 PreShow, 2 PostShow | 2 pipe 1 found 2|2| stack 1)");
    EXPECT_TRUE(path->removePath(0.0f, 0.0f, 0.0f, 0.0f, false, 3));
    run(R"(wait | 0 | 2 PreWaitHide, 2 PreHide, 2 PostHide, 1 PreWaitShow, 1 PreShow, 1 PostShow | 1 pipe 1 found 1|1| stack 0
        do 2 | 0 |  | 1 pipe 1 found 1|1| stack 0
        do 3 | 0 |  | 1 pipe 1 found 1|1| stack 0
        do 4 | 0 |  | 1 pipe 1 found 1|1| stack 0
        do 5 | 0 |  | 1 pipe 1 found 1|1| stack 0)");
    path->insertPath(host, screen("B"), 0.0f, 0.0f, 0.0f, 0.0f, false);
    path->insertPath(host, screen("C"), 0.0f, 0.0f, 0.0f, 0.0f, false);
    EXPECT_EQ(state(), "1 pipe 1 found 1|1| stack 2");
    // Registration visits the stacked screens too.
    ReferenceRecorder visited;
    EXPECT_TRUE(path->onRegister(host, visited));
    EXPECT_EQ(visited.seen,
              (std::vector<Object*>{screen("A"), screen("C"), screen("B"), screen("A")}));
    path->setPath(screen("A"), 0.0f, 0.0f, 0.0f, 0.0f, false);
    run(R"(wait | 0 |  | 1 pipe 1 found 1|1| stack 0
        do 6 | 1 | 1 PreWaitHide, 1 PreHide, 1 PostHide | found || stack 0)");
}

}  // namespace
}  // namespace kova_test
