// Layout nodes: the areas, depths and clips they hand to their subtrees, the
// modes they drive from the pointer, the pipe element that tells effects about
// those modes, and windows dragged with the pointer.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

std::string text(float value) {
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%g", static_cast<double>(value));
    return buffer;
}

std::string text(const Rectangle& r) {
    return text(r.x) + "," + text(r.y) + "," + text(r.width) + "," + text(r.height) + "," +
           text(r.z);
}

// Records each picture as its top left and bottom right corners and the clip
// in force while the call lasts.
class LayoutHost : public TestHost {
public:
    bool picturePaint(int picture, PaintData& data) override {
        const Vertex& a = data.vertex[0];
        const Vertex& b = data.vertex[2];
        pictures.push_back("picture " + std::to_string(picture) + " " + text(a.x) + "," +
                           text(a.y) + "," + text(a.z) + " " + text(b.x) + "," + text(b.y) + "," +
                           text(b.z) + " clip " + (data.clipRect ? text(*data.clipRect) : "none"));
        return true;
    }
    std::vector<std::string> pictures;
};

// Paints one picture over its area and logs what reaches it.
class LayoutLeaf : public Node {
    KOVA_RUNTIME_CLASS(LayoutLeaf)
public:
    using Node::onEvent;
    bool onEvent(System&, Rectangle&, Mode&, EventData& data) override {
        log->push_back(label + " " + Event::name(data.type));
        return false;
    }
    bool onUpdate(System&, Mode& mode, Rectangle& rect, float) override {
        if (logWalks) log->push_back(label + " update " + text(rect));
        updateMode = &mode;
        return !refuseUpdate;
    }
    void onPaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                 EffectPipe& pipe) override {
        if (logWalks) log->push_back(label + " paint " + text(rect));
        paintMode = &mode;
        seenPipe = pipe;
        seenPipeAddress = &pipe;
        PaintData data;
        data.clipRect = clip;
        float xs[4] = {rect.x, rect.x + rect.width, rect.x + rect.width, rect.x};
        float ys[4] = {rect.y, rect.y, rect.y + rect.height, rect.y + rect.height};
        for (int i = 0; i < 4; ++i) {
            data.vertex[i].x = xs[i];
            data.vertex[i].y = ys[i];
            data.vertex[i].z = rect.z;
        }
        pipe.picturePaint(system, picture, data);
    }

    std::vector<std::string>* log = nullptr;
    std::string label;
    int picture = 0;
    bool logWalks = true;
    bool refuseUpdate = false;
    Mode* updateMode = nullptr;
    Mode* paintMode = nullptr;
    EffectPipe seenPipe;
    EffectPipe* seenPipeAddress = nullptr;
};
KOVA_IMPLEMENT_CLASS_NAMED(LayoutLeaf, "kova_test::LayoutLeaf", &Node::absoluteClass)

// Logs every node reference it is handed, with the area and the owner of the
// mode, and goes on below each node.
class RecordingIterator : public Iterator {
public:
    RecordingIterator(SearchMode searchMode, std::map<Mode*, std::string>& modes,
                      std::map<Node*, std::string>& nodes)
        : Iterator(searchMode), modes_(modes), nodes_(nodes) {}
    void iterateChild(System& system, Node*& node, Rectangle& rect, Mode& mode) override {
        child_ = true;
        Iterator::iterateChild(system, node, rect, mode);
    }
    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override {
        bool child = child_;
        child_ = false;
        if (!node) return;
        seen.push_back(std::string(child ? "child " : "next ") + nodes_[node] + " " + text(rect) +
                       " " + modes_[&mode]);
        node->iterateIterator(system, mode, rect, *this);
    }
    std::vector<std::string> seen;

private:
    std::map<Mode*, std::string>& modes_;
    std::map<Node*, std::string>& nodes_;
    bool child_ = false;
};

// Lists the fields a class streams in order: references as "label:class",
// floats as "float label".
class OrderRecorder : public ReferenceRecorder {
public:
    bool streamFloat(float&, const char* label) override {
        labels.push_back(std::string("float ") + label);
        return true;
    }
};

class LayoutTest : public HostTest<LayoutHost> {
protected:
    LayoutLeaf* leaf(Node*& slot, const char* label, int picture = 0) {
        LayoutLeaf* node = make<LayoutLeaf>(slot);
        node->label = label;
        node->log = &log;
        node->picture = picture;
        nodes[node] = label;
        return node;
    }
    template <class T>
    T* layout(Node*& slot, const char* label) {
        T* node = make<T>(slot);
        nodes[node] = label;
        if (node->mode()) modes[node->mode()] = label;
        return node;
    }
    void value(Data*& slot, float v) { make<FloatData>(slot)->set(host, v); }
    std::vector<std::string> frame(float elapsed) {
        log.clear();
        EXPECT_TRUE(host.update(elapsed));
        return log;
    }
    std::vector<std::string> press(int button, bool down) {
        if (down) host.buttonPress(button, 0, 1);
        if (!down) host.buttonRelease(button, 0);
        return frame(0.0f);
    }

    using Lines = std::vector<std::string>;
    std::vector<std::string> log;
    std::map<Node*, std::string> nodes;
    std::map<Mode*, std::string> modes{{&host.mode(), "root"}};
};

TEST_F(LayoutTest, ClassesSlotsAndFields) {
    std::string family;
    for (RuntimeClass* cls :
         {SplitNode::absoluteClass(), ZoomNode::absoluteClass(), ClipNode::absoluteClass(),
          TranslateNode::absoluteClass(), TransformNode::absoluteClass(),
          WindowNode::absoluteClass(), DragWindowNode::absoluteClass()})
        family += std::string(cls->fullName()) + ":" + cls->parentClass()->name() + " ";
    EXPECT_EQ(family,
              "tarn::kova::SplitNode:Node tarn::kova::ZoomNode:Node tarn::kova::ClipNode:Node "
              "tarn::kova::TranslateNode:Node tarn::kova::TransformNode:Node "
              "tarn::kova::WindowNode:TransformNode tarn::kova::DragWindowNode:WindowNode ");

    Node* split = nullptr;
    SplitNode* s = make<SplitNode>(split);
    EXPECT_EQ(s->nextNodeCount(), 2);
    LayoutLeaf* second = leaf(s->nextNode(1), "second");
    LayoutLeaf* first = leaf(s->nextNode(0), "first");
    EXPECT_EQ(s->splitNode(), second);
    EXPECT_EQ(s->nextNode(5), first);
    EXPECT_EQ(s->mode(), nullptr);

    Node* window = nullptr;
    ASSERT_TRUE(Node::create(host, window, RuntimeClass::findClass("DragWindowNode")));
    DragWindowNode* w = static_cast<DragWindowNode*>(window);
    w->setNextNode(1, second);
    EXPECT_EQ(w->transformedNode(), second);
    EXPECT_EQ(w->nextNode(-1), nullptr);
    w->setNextNode(1, nullptr);
    EXPECT_EQ(w->nextNodeCount(), 2);
    ASSERT_NE(w->mode(), nullptr);
    EXPECT_EQ(w->mode()->storedTarget(), 1.0f);
    EXPECT_EQ(w->mode()->storedCurrent(), 1.0f);
    EXPECT_FALSE(w->isDragging());

    // A transform made by class name places its child in a 20 x 20 area at
    // the top left corner of the area it receives.
    LayoutLeaf* child = leaf(w->transformedNode(), "child");
    Rectangle area{-5.0f, 7.0f, 300.0f, 200.0f, 1.5f};
    EXPECT_TRUE(w->iterateUpdate(host, host.mode(), area, 0.0f));
    EXPECT_EQ(log, (Lines{"child update -5,7,20,20,1.5"}));
    EXPECT_EQ(child->updateMode, w->mode());

    OrderRecorder fields;
    Node* translate = nullptr;
    Node* zoom = nullptr;
    Node* clip = nullptr;
    make<TranslateNode>(translate);
    make<ZoomNode>(zoom);
    make<ClipNode>(clip);
    for (Node* node : {split, zoom, clip, translate, window})
        ASSERT_TRUE(node->onStream(host, fields));
    EXPECT_EQ(fields.labels, (Lines{"Next node:Node", "Split node:Node",   //
                                    "Next node:Node", "Z:Data",            //
                                    "Next node:Node",                      //
                                    "Next node:Node", "X:Data", "Y:Data",  //
                                    "Next node:Node", "float X", "float Y", "float Width",
                                    "float Height", "Transformed node:Node"}));
    for (Node** node : {&split, &zoom, &clip, &translate, &window})
        EXPECT_TRUE(Node::clear(host, *node));
}

// split [a] -> translate (10, -5) -> zoom 2 -> clip -> transform (30, 40,
// 100 x 50) [b] -> c
TEST_F(LayoutTest, AreasDepthsAndClipsReachTheLeaves) {
    SplitNode* s = layout<SplitNode>(host.firstNode(), "S");
    LayoutLeaf* a = leaf(s->splitNode(), "a", 1);
    TranslateNode* t = layout<TranslateNode>(s->nextNode(0), "T");
    value(t->x(), 10.0f);
    value(t->y(), -5.0f);
    ZoomNode* z = layout<ZoomNode>(t->nextNode(0), "Z");
    value(z->z(), 2.0f);
    ClipNode* c = layout<ClipNode>(z->nextNode(0), "C");
    TransformNode* x = layout<TransformNode>(c->nextNode(0), "X");
    x->position() = Coordinate2{30.0f, 40.0f};
    x->size() = Coordinate2{100.0f, 50.0f};
    LayoutLeaf* b = leaf(x->transformedNode(), "b", 2);
    LayoutLeaf* last = leaf(x->nextNode(0), "c", 3);

    EXPECT_TRUE(host.paint());
    EXPECT_EQ(log, (Lines{"a paint -320,-240,640,480,0", "b paint -280,-205,100,50,2",
                          "c paint -310,-245,640,480,2"}));
    EXPECT_EQ(host.pictures, (Lines{"picture 1 -320,-240,0 320,240,0 clip none",
                                    "picture 2 -280,-205,2 -180,-155,2 clip -310,-245,640,480,2",
                                    "picture 3 -310,-245,2 330,235,2 clip -310,-245,640,480,2"}));
    EXPECT_EQ(a->paintMode, &host.mode());
    EXPECT_EQ(b->paintMode, x->mode());
    EXPECT_EQ(last->paintMode, t->mode());

    EXPECT_EQ(frame(0.0f), (Lines{"a update -320,-240,640,480,0", "b update -280,-205,100,50,2",
                                  "c update -310,-245,640,480,2"}));
    EXPECT_EQ(a->updateMode, &host.mode());
    EXPECT_EQ(b->updateMode, x->mode());
    EXPECT_EQ(last->updateMode, t->mode());

    // Nothing in a layout is hidden from a search.
    for (Iterator::SearchMode search :
         {Iterator::SearchAll, Iterator::SearchFocused, Iterator::SearchHidden}) {
        RecordingIterator visitor(search, modes, nodes);
        visitor.iterate(host, host.firstNode(), host.clipRect(), host.mode());
        EXPECT_EQ(visitor.seen,
                  (Lines{"next S -320,-240,640,480,0 root", "child a -320,-240,640,480,0 root",
                         "next T -320,-240,640,480,0 root", "next Z -310,-245,640,480,0 T",
                         "next C -310,-245,640,480,2 T", "next X -310,-245,640,480,2 T",
                         "child b -280,-205,100,50,2 X", "next c -310,-245,640,480,2 T"}))
            << search;
    }

    // A failing split branch stops the frame before the node's own chain.
    a->refuseUpdate = true;
    log.clear();
    EXPECT_FALSE(host.update(0.0f));
    EXPECT_EQ(log, (Lines{"a update -320,-240,640,480,0"}));
}

// clip -> transform (600, -20, 100 x 100) [clip -> d] -> transform (700, 0,
// 50 x 50) [clip -> e] -> zoom without a next node
TEST_F(LayoutTest, ClipsNarrowTheReceivedClip) {
    ClipNode* outer = layout<ClipNode>(host.firstNode(), "C1");
    TransformNode* partly = layout<TransformNode>(outer->nextNode(0), "X1");
    partly->position() = Coordinate2{600.0f, -20.0f};
    partly->size() = Coordinate2{100.0f, 100.0f};
    leaf(layout<ClipNode>(partly->transformedNode(), "C2")->nextNode(0), "d", 4);
    TransformNode* beyond = layout<TransformNode>(partly->nextNode(0), "X2");
    beyond->position() = Coordinate2{700.0f, 0.0f};
    beyond->size() = Coordinate2{50.0f, 50.0f};
    leaf(layout<ClipNode>(beyond->transformedNode(), "C3")->nextNode(0), "e", 5);
    layout<ZoomNode>(beyond->nextNode(0), "Z");

    EXPECT_TRUE(host.paint());
    // The root clip node clips to the screen; the inner one to the part of
    // its area on screen. An area wholly off the clip leaves the clip as it
    // was.
    EXPECT_EQ(host.pictures, (Lines{"picture 4 280,-260,0 380,-160,0 clip 280,-240,40,80,0",
                                    "picture 5 380,-240,0 430,-190,0 clip -320,-240,640,480,0"}));
    EXPECT_EQ(frame(0.0f), (Lines{"d update 280,-260,100,100,0", "e update 380,-240,50,50,0"}));
}

// transform (100, 100, 50 x 50) [b] -> translate (500, 0) -> c
TEST_F(LayoutTest, OwnModesFollowThePointerOverTime) {
    TransformNode* x = layout<TransformNode>(host.firstNode(), "X");
    x->position() = Coordinate2{100.0f, 100.0f};
    x->size() = Coordinate2{50.0f, 50.0f};
    LayoutLeaf* b = leaf(x->transformedNode(), "b");
    TranslateNode* t = layout<TranslateNode>(x->nextNode(0), "T");
    value(t->x(), 500.0f);
    LayoutLeaf* c = leaf(t->nextNode(0), "c");
    b->logWalks = c->logWalks = false;
    Mode& own = *x->mode();

    // The translated area lies right of (0, 0), but the pointer counts as
    // inside while it is over the area the node stands on before moving.
    EXPECT_EQ(frame(0.0f), (Lines{"c GainFocus", "c PointerIn"}));
    EXPECT_TRUE(t->mode()->hasFocus());
    EXPECT_EQ(b->updateMode, &own);
    EXPECT_EQ(c->updateMode, t->mode());

    host.pointerMove(-200.0f, -120.0f);
    EXPECT_EQ(frame(0.0f), (Lines{"b GainFocus", "b PointerIn", "c PointerMove"}));
    EXPECT_EQ(own.targetLevel(), 2.0f);
    EXPECT_EQ(own.currentLevel(), 1.0f);
    EXPECT_EQ(frame(0.1f), Lines{});
    EXPECT_FLOAT_EQ(own.currentLevel(), 1.3f);
    frame(0.3f);
    EXPECT_EQ(own.currentLevel(), 2.0f);

    // Off the screen: over the translated area, but not over the screen.
    host.pointerMove(400.0f, 0.0f);
    EXPECT_EQ(frame(0.1f), (Lines{"b LostFocus", "b PointerOut", "c LostFocus", "c PointerOut"}));
    EXPECT_EQ(own.targetLevel(), 1.0f);
    EXPECT_EQ(own.currentLevel(), 2.0f);
    frame(0.1f);
    EXPECT_FLOAT_EQ(own.currentLevel(), 1.7f);
    EXPECT_EQ(t->mode()->targetLevel(), 1.0f);

    // A disabled parent disables both regions; the next frame enables them.
    host.pointerMove(-200.0f, -120.0f);
    EXPECT_EQ(frame(0.0f), (Lines{"b GainFocus", "b PointerIn", "c GainFocus", "c PointerIn"}));
    Mode disabled(0.0f, 0.0f, false);
    log.clear();
    EXPECT_TRUE(x->iterateUpdate(host, disabled, host.clipRect(), 0.0f));
    EXPECT_EQ(log, (Lines{"b LostFocus", "b Disable", "c LostFocus", "c Disable"}));
    EXPECT_EQ(own.targetLevel(), 0.0f);
    EXPECT_EQ(frame(0.0f), (Lines{"b Enable", "b GainFocus", "b PointerIn", "c Enable",
                                  "c GainFocus", "c PointerIn"}));
}

TEST_F(LayoutTest, EffectsLearnTheOwnModeThroughANewElement) {
    Object* effect = make<Effect>();
    Node* chain = nullptr;
    TranslateNode* t = layout<TranslateNode>(chain, "T");
    LayoutLeaf* c = leaf(t->nextNode(0), "c");
    TransformNode* x = layout<TransformNode>(c->nextNode(0), "X");
    x->position() = Coordinate2{320.0f, 240.0f};  // (0, 0) is its top left corner
    LayoutLeaf* b = leaf(x->transformedNode(), "b");
    LayoutLeaf* after = leaf(x->nextNode(0), "after");

    // The pointer at (0, 0) is over both regions, the transform's on its edge.
    EXPECT_TRUE(t->iterateUpdate(host, host.mode(), host.clipRect(), 0.0f));
    EXPECT_TRUE(t->iterateUpdate(host, host.mode(), host.clipRect(), 0.1f));

    EffectPipe outer;
    outer.effect = static_cast<Effect*>(effect);
    outer.showDirection = 1.0f;
    outer.showLevel = 0.5f;
    outer.modeDirection = 7.0f;
    outer.modeLevel = 9.0f;
    outer.effectLevel = 0.25f;
    t->iteratePaint(host, host.mode(), host.clipRect(), nullptr, outer);
    const EffectPipe& seen = c->seenPipe;
    EXPECT_EQ(seen.next, &outer);
    EXPECT_EQ(seen.effect, nullptr);
    EXPECT_EQ((Floats{seen.showDirection, seen.showLevel, seen.modeDirection, seen.effectLevel}),
              (Floats{1.0f, 0.5f, 3.0f, 1.0f}));
    EXPECT_FLOAT_EQ(seen.modeLevel, 1.3f);
    // The transform in the translated chain receives that element, which has
    // no effect, and passes it on as it is.
    EXPECT_EQ(b->seenPipeAddress, c->seenPipeAddress);
    EXPECT_EQ(after->seenPipeAddress, c->seenPipeAddress);
    EXPECT_EQ(host.pictures.size(), 3u);  // the effect passed every picture on

    // Given the effect's element itself, the transform tells its own level to
    // its region only; its next node is not part of the region.
    EXPECT_TRUE(x->iterateUpdate(host, host.mode(), host.clipRect(), 0.1f));
    x->iteratePaint(host, host.mode(), host.clipRect(), nullptr, outer);
    EXPECT_EQ(b->seenPipe.next, &outer);
    EXPECT_EQ((Floats{b->seenPipe.showDirection, b->seenPipe.showLevel, b->seenPipe.modeDirection,
                      b->seenPipe.effectLevel}),
              (Floats{1.0f, 0.5f, 3.0f, 1.0f}));
    EXPECT_FLOAT_EQ(b->seenPipe.modeLevel, 1.6f);
    EXPECT_EQ(after->seenPipeAddress, &outer);

    // Without an effect nobody reads the mode state: the element goes on.
    EffectPipe plain;
    t->iteratePaint(host, host.mode(), host.clipRect(), nullptr, plain);
    EXPECT_EQ(c->seenPipeAddress, &plain);
    EXPECT_EQ(b->seenPipeAddress, &plain);
    EXPECT_TRUE(Node::clear(host, chain));
    EXPECT_TRUE(Object::clear(host, effect));
}

// transform (0, 0, 200 x 200) [drag window (10, 10, 50 x 50) [w]]
TEST_F(LayoutTest, WindowsAreDraggedWhileSelectIsHeld) {
    TransformNode* parent = layout<TransformNode>(host.firstNode(), "P");
    parent->size() = Coordinate2{200.0f, 200.0f};
    DragWindowNode* window = layout<DragWindowNode>(parent->transformedNode(), "W");
    window->position() = Coordinate2{10.0f, 10.0f};
    window->size() = Coordinate2{50.0f, 50.0f};
    leaf(window->transformedNode(), "w", 6)->logWalks = false;
    auto at = [&] { return Floats{window->position().x, window->position().y}; };

    // Input reaches the window only through the focus of its parent's region,
    // and the innermost node hears it first.
    EXPECT_EQ(press(Button::Select, true), Lines{});
    press(Button::Select, false);
    host.pointerMove(-300.0f, -220.0f);
    // The parent's mode speaks to the first node it governs and below it,
    // even when that node has a mode of its own; then the window's mode speaks.
    EXPECT_EQ(frame(0.0f), (Lines{"w GainFocus", "w PointerIn", "w GainFocus", "w PointerIn"}));
    EXPECT_EQ(press(Button::Cancel, true), (Lines{"w ButtonPress"}));
    EXPECT_FALSE(window->isDragging());
    EXPECT_EQ(press(Button::Select, true), (Lines{"w ButtonPress"}));
    EXPECT_TRUE(window->isDragging());
    EXPECT_EQ(parent->mode()->targetLevel(), 3.0f);

    host.pointerMove(-295.0f, -223.0f);
    frame(0.1f);
    EXPECT_EQ(at(), (Floats{15.0f, 7.0f}));
    EXPECT_TRUE(host.paint());
    EXPECT_EQ(host.pictures, (Lines{"picture 6 -305,-233,0 -255,-183,0 clip none"}));

    press(Button::Select, false);
    EXPECT_FALSE(window->isDragging());
    EXPECT_EQ(parent->mode()->targetLevel(), 2.0f);
    host.pointerMove(-280.0f, -200.0f);
    frame(0.1f);
    EXPECT_EQ(at(), (Floats{15.0f, 7.0f}));

    // While the focus is locked the window keeps following a pointer that
    // has left its parent's region; it catches up with the first move out.
    press(Button::Select, true);
    host.increaseLockCount();
    host.pointerMove(-100.0f, -200.0f);
    frame(0.1f);
    EXPECT_EQ(at(), (Floats{15.0f, 7.0f}));
    host.pointerMove(-90.0f, -200.0f);
    frame(0.1f);
    EXPECT_EQ(at(), (Floats{205.0f, 7.0f}));
    host.decreaseLockCount();
}

// A window whose transformed split names the window again: every walk stops
// at the depth limit and says so once.
TEST_F(LayoutTest, WalksThroughALoopEndAtTheDepthLimit) {
    TransformNode* x = layout<TransformNode>(host.firstNode(), "X");
    SplitNode* s = layout<SplitNode>(x->transformedNode(), "S");
    s->splitNode() = x;
    host.pointerMove(-315.0f, -235.0f);
    EXPECT_TRUE(host.update(0.1f));
    host.buttonPress(Button::Select, 0, 1);
    EXPECT_TRUE(host.update(0.1f));
    EXPECT_TRUE(host.paint());
    EXPECT_EQ(host.log.text,
              "Kova: Error: Node tree deeper than 4096 nodes; is a node its own descendant?\r\n");
    s->splitNode() = nullptr;
}

}  // namespace
}  // namespace kova_test
