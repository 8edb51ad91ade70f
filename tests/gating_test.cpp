// Gating nodes: chains faded in and out by a variable with the show and hide
// events, disabled by a variable, and held at the sticky level, observed over
// elapsed time through events, mode levels, the pipe an effect sees and what
// reaches the host.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

using Lines = std::vector<std::string>;

std::string text(float value) {
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%g", static_cast<double>(value));
    return buffer;
}

// Records each picture with the alpha of its first corner.
class GateHost : public TestHost {
public:
    bool picturePaint(int picture, PaintData& data) override {
        pictures.push_back("picture " + std::to_string(picture) + " alpha " +
                           text(data.vertex[0].alpha));
        return true;
    }
    Lines pictures;
};

// Logs the events and updates that reach it and paints one picture.
class GateLeaf : public Node {
    KOVA_RUNTIME_CLASS(GateLeaf)
public:
    using Node::onEvent;
    bool onEvent(System&, Rectangle&, Mode& mode, EventData& data) override {
        log->push_back(label + " " + Event::name(data.type));
        eventMode = &mode;
        return false;
    }
    bool onUpdate(System&, Mode& mode, Rectangle&, float) override {
        log->push_back(label + " update");
        updateMode = &mode;
        return true;
    }
    void onPaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                 EffectPipe& pipe) override {
        paintMode = &mode;
        PaintData data;
        data.clipRect = clip;
        data.vertex[0].x = rect.x;
        pipe.picturePaint(system, picture, data);
    }

    Lines* log = nullptr;
    std::string label;
    int picture = 0;
    Mode* eventMode = nullptr;
    Mode* updateMode = nullptr;
    Mode* paintMode = nullptr;
};
KOVA_IMPLEMENT_CLASS_NAMED(GateLeaf, "kova_test::GateLeaf", &Node::absoluteClass)

// Fades each picture by the show level of its element and writes down the
// element's state, as a transitional effect reads it.
class GateFadeEffect : public Effect {
    KOVA_RUNTIME_CLASS(GateFadeEffect)
public:
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override {
        seen.push_back(text(self.showDirection) + " " + text(self.showLevel) + " " +
                       text(self.modeDirection) + " " + text(self.modeLevel + 0.0f));  // no "-0"
        for (Vertex& v : data.vertex)
            v.alpha *= self.showLevel;
        return self.next ? self.next->picturePaint(system, picture, data)
                         : system.picturePaint(picture, data);
    }
    Lines seen;
};
KOVA_IMPLEMENT_CLASS_NAMED(GateFadeEffect, "kova_test::GateFadeEffect", &Effect::absoluteClass)

// Puts its effect into an element that has none while its chain paints, as
// the effect nodes do.
class GateEffectNode : public Node {
    KOVA_RUNTIME_CLASS(GateEffectNode)
public:
    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override {
        if (!next_) return;
        if (pipe.effect) {
            next_->iteratePaint(system, mode, rect, clip, pipe);
            return;
        }
        pipe.effect = effect;
        next_->iteratePaint(system, mode, rect, clip, pipe);
        pipe.effect = nullptr;
    }
    Effect* effect = nullptr;
};
KOVA_IMPLEMENT_CLASS_NAMED(GateEffectNode, "kova_test::GateEffectNode", &Node::absoluteClass)

// Names every node handed to it and goes on below.
class SeenIterator : public Iterator {
public:
    explicit SeenIterator(SearchMode search) : Iterator(search) {}
    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override {
        if (!node) return;
        GateLeaf* leaf = node->actualClass()->is(GateLeaf::absoluteClass())
                             ? static_cast<GateLeaf*>(node)
                             : nullptr;
        if (leaf) seen.push_back(leaf->label);
        node->iterateIterator(system, mode, rect, *this);
    }
    Lines seen;
};

class FieldLabels : public ReferenceRecorder {
public:
    bool streamFloat(float&, const char* label) override {
        labels.push_back(std::string("float ") + label);
        return true;
    }
};

class GatingTest : public HostTest<GateHost> {
protected:
    void TearDown() override {
        EXPECT_TRUE(Object::clear(host, effect));
        HostTest<GateHost>::TearDown();
    }
    GateLeaf* leaf(Node*& slot, const char* label, int picture = 0) {
        GateLeaf* node = make<GateLeaf>(slot);
        node->label = label;
        node->log = &log;
        node->picture = picture;
        return node;
    }
    FloatData* value(Data*& slot, float v) {
        FloatData* data = make<FloatData>(slot);
        data->set(host, v);
        return data;
    }
    Lines frame(float elapsed) {
        log.clear();
        EXPECT_TRUE(host.update(elapsed));
        return log;
    }
    Lines paint() {
        host.pictures.clear();
        if (fade) fade->seen.clear();
        EXPECT_TRUE(host.paint());
        return host.pictures;
    }
    Lines search(Iterator::SearchMode mode) {
        SeenIterator visitor(mode);
        visitor.iterate(host, host.firstNode(), host.clipRect(), host.mode());
        return visitor.seen;
    }
    // An effect node at the given slot whose effect fades by the show level.
    GateEffectNode* effectNode(Node*& slot) {
        GateEffectNode* node = make<GateEffectNode>(slot);
        if (!fade) fade = make<GateFadeEffect>(effect);
        node->effect = fade;
        return node;
    }

    Lines log;
    Object* effect = nullptr;
    GateFadeEffect* fade = nullptr;
};

TEST_F(GatingTest, ClassesDefaultsAndFields) {
    std::string family;
    for (RuntimeClass* cls :
         {CullNode::absoluteClass(), DisableNode::absoluteClass(), StickyNode::absoluteClass()})
        family += std::string(cls->fullName()) + ":" + cls->parentClass()->name() + " ";
    EXPECT_EQ(family,
              "tarn::kova::CullNode:Node tarn::kova::DisableNode:Node "
              "tarn::kova::StickyNode:Node ");

    Node* cull = nullptr;
    Node* disable = nullptr;
    Node* sticky = nullptr;
    ASSERT_TRUE(Node::create(host, cull, RuntimeClass::findClass("CullNode")));
    ASSERT_TRUE(Node::create(host, disable, RuntimeClass::findClass("DisableNode")));
    ASSERT_TRUE(Node::create(host, sticky, RuntimeClass::findClass("StickyNode")));
    CullNode* c = static_cast<CullNode*>(cull);
    EXPECT_EQ((Floats{c->inTime(), c->outTime(), c->position()}), (Floats{0.0f, 0.0f, -1.0f}));
    EXPECT_EQ(c->mode(), nullptr);
    EXPECT_TRUE(static_cast<DisableNode*>(disable)->isEnabled());
    EXPECT_FALSE(static_cast<StickyNode*>(sticky)->equalAtLoad());
    for (Node* node : {disable, sticky}) {
        ASSERT_NE(node->mode(), nullptr);
        EXPECT_EQ((Floats{node->mode()->storedTarget(), node->mode()->storedCurrent()}),
                  (Floats{1.0f, 1.0f}));
    }
    // A cull node without a chain does nothing and succeeds.
    EXPECT_TRUE(cull->iterateUpdate(host, host.mode(), host.clipRect(), 1.0f));
    EXPECT_EQ(c->position(), -1.0f);

    FieldLabels fields;
    for (Node* node : {cull, disable, sticky})
        ASSERT_TRUE(node->onStream(host, fields));
    EXPECT_EQ(fields.labels, (Lines{"Next node:Node", "Data:Data", "float In time",
                                    "float Out time",                       //
                                    "Next node:Node", "Disable data:Data",  //
                                    "Next node:Node", "Variable:Data", "Data:Data"}));

    // Equality needs both variables.
    StickyNode* s = static_cast<StickyNode*>(sticky);
    value(s->variable(), 2.0f);
    EXPECT_FALSE(s->dataEqualsValue(host));
    value(s->data(), 2.0f);
    EXPECT_TRUE(s->dataEqualsValue(host));
    s->data()->set(host, 2.5f);
    EXPECT_FALSE(s->dataEqualsValue(host));
    for (Node** node : {&cull, &disable, &sticky})
        EXPECT_TRUE(Node::clear(host, *node));
}

TEST_F(GatingTest, CullWithoutDataShowsAtOnce) {
    CullNode* cull = make<CullNode>(host.firstNode());
    GateLeaf* a = leaf(cull->nextNode(0), "a", 1);
    leaf(a->nextNode(0), "b", 2);
    EXPECT_EQ(frame(0.0f), (Lines{"a PreWaitShow", "b PreWaitShow", "a PreShow", "b PreShow",
                                  "a PostShow", "b PostShow", "a update", "b update"}));
    EXPECT_EQ(cull->position(), 2.0f);
    EXPECT_EQ(a->eventMode, &host.mode());
    EXPECT_EQ(frame(0.5f), (Lines{"a update", "b update"}));
    EXPECT_EQ(paint(), (Lines{"picture 1 alpha 1", "picture 2 alpha 1"}));
}

// cull (in 2 s, out 1 s) -> effect node -> leaf a
TEST_F(GatingTest, CullFadesTheChainInAndOut) {
    CullNode* cull = make<CullNode>(host.firstNode());
    cull->inTime() = 2.0f;
    cull->outTime() = 1.0f;
    FloatData* shown = value(cull->data(), 0.0f);
    leaf(effectNode(cull->nextNode(0))->nextNode(0), "a", 1);

    // Hidden from the start: no events, no update, nothing painted or found.
    EXPECT_EQ(frame(0.5f), Lines{});
    EXPECT_EQ(paint(), Lines{});
    EXPECT_EQ(search(Iterator::SearchAll), Lines{});

    shown->set(host, 1.0f);
    EXPECT_EQ(frame(0.5f), (Lines{"a PreWaitShow", "a PreShow", "a update"}));
    EXPECT_EQ(cull->position(), 0.25f);
    EXPECT_EQ(paint(), (Lines{"picture 1 alpha 0.25"}));
    EXPECT_EQ(fade->seen, (Lines{"0 0.25 1 1"}));
    EXPECT_EQ(search(Iterator::SearchFocused), Lines{});  // fading is not shown
    EXPECT_EQ(frame(0.5f), (Lines{"a update"}));
    EXPECT_EQ(frame(0.5f), (Lines{"a update"}));
    EXPECT_EQ(frame(0.5f), (Lines{"a PostShow", "a update"}));  // the fourth update
    EXPECT_EQ(cull->position(), 2.0f);
    EXPECT_EQ(paint(), (Lines{"picture 1 alpha 1"}));
    EXPECT_EQ(fade->seen, (Lines{"0 1 0 1"}));  // the root element itself
    for (Iterator::SearchMode mode :
         {Iterator::SearchAll, Iterator::SearchFocused, Iterator::SearchHidden})
        EXPECT_EQ(search(mode), (Lines{"a"})) << mode;

    // Hiding: the events at once, the fade over the out time.
    shown->set(host, 0.0f);
    EXPECT_EQ(frame(0.25f), (Lines{"a PreWaitHide", "a PreHide", "a update"}));
    EXPECT_EQ(cull->position(), 0.75f);
    EXPECT_EQ(paint(), (Lines{"picture 1 alpha 0.75"}));
    EXPECT_EQ(fade->seen, (Lines{"0 0.75 -1 1"}));

    // Changing its mind turns the fade round where it stands, without
    // PreWaitShow or PreShow.
    shown->set(host, 1.0f);
    EXPECT_EQ(paint(), (Lines{"picture 1 alpha 0.75"}));
    EXPECT_EQ(fade->seen, (Lines{"0 0.75 1 1"}));
    EXPECT_EQ(frame(0.25f), (Lines{"a update"}));
    EXPECT_EQ(cull->position(), 0.875f);
    EXPECT_EQ(frame(0.25f), (Lines{"a PostShow", "a update"}));

    // A show interrupted half way hides from there and ends with PostHide.
    shown->set(host, 0.0f);
    frame(1.0f);
    EXPECT_EQ(cull->position(), -1.0f);
    shown->set(host, 1.0f);
    EXPECT_EQ(frame(1.0f), (Lines{"a PreWaitShow", "a PreShow", "a update"}));
    shown->set(host, 0.0f);
    EXPECT_EQ(frame(0.25f), (Lines{"a update"}));
    EXPECT_EQ(cull->position(), 0.25f);
    EXPECT_EQ(frame(0.25f), (Lines{"a PostHide"}));
    EXPECT_EQ(cull->position(), -1.0f);
    EXPECT_EQ(paint(), Lines{});
    EXPECT_EQ(frame(1.0f), Lines{});
}

// The show level of a path transition above is scaled, not replaced.
TEST_F(GatingTest, CullScalesTheReceivedShowLevel) {
    CullNode* cull = make<CullNode>(host.firstNode());
    cull->inTime() = 1.0f;
    GateLeaf* a = leaf(cull->nextNode(0), "a", 1);
    EXPECT_TRUE(cull->iterateUpdate(host, host.mode(), host.clipRect(), 0.5f));
    GateFadeEffect* inner = make<GateFadeEffect>(effect);
    fade = inner;
    EffectPipe outer;
    outer.effect = inner;
    outer.showDirection = -1.0f;
    outer.showLevel = 0.5f;
    outer.modeLevel = 2.0f;
    cull->iteratePaint(host, host.mode(), host.clipRect(), nullptr, outer);
    EXPECT_EQ(inner->seen, (Lines{"-1 0.5 0 2"}));  // reached through its own element
    EXPECT_EQ(host.pictures, (Lines{"picture 1 alpha 0.5"}));
    EXPECT_EQ(a->paintMode, &host.mode());
}

// disable -> effect node -> leaf a; a second disable as a's next node
TEST_F(GatingTest, DisableNodeTakesTheChainToTheDisabledLevel) {
    Object* outerEffect = nullptr;
    GateEffectNode* outer = make<GateEffectNode>(host.firstNode());
    outer->effect = make<Effect>(outerEffect);
    DisableNode* disable = make<DisableNode>(outer->nextNode(0));
    FloatData* on = value(disable->disableData(), 1.0f);
    GateLeaf* a = leaf(effectNode(disable->nextNode(0))->nextNode(0), "a", 1);
    Mode& own = *disable->mode();

    EXPECT_EQ(frame(0.0f), (Lines{"a GainFocus", "a PointerIn", "a update"}));
    EXPECT_EQ(a->updateMode, &own);
    EXPECT_EQ(own.targetLevel(), 2.0f);
    frame(1.0f);
    EXPECT_EQ(own.currentLevel(), 2.0f);
    EXPECT_EQ(search(Iterator::SearchFocused), (Lines{"a"}));

    on->set(host, 0.0f);
    EXPECT_EQ(frame(0.1f), (Lines{"a LostFocus", "a Disable", "a update"}));
    EXPECT_FALSE(disable->isEnabled());
    EXPECT_EQ(own.targetLevel(), 0.0f);
    frame(0.1f);
    EXPECT_FLOAT_EQ(own.currentLevel(), 1.7f);
    EXPECT_EQ(paint(), (Lines{"picture 1 alpha 1"}));
    ASSERT_EQ(fade->seen.size(), 1u);
    EXPECT_EQ(fade->seen[0].substr(0, 7), "0 1 -3 ");
    EXPECT_FLOAT_EQ(std::stof(fade->seen[0].substr(7)), 1.7f);
    EXPECT_EQ(a->paintMode, &own);
    // Disabled: only a search over everything finds the chain.
    EXPECT_EQ(search(Iterator::SearchAll), (Lines{"a"}));
    EXPECT_EQ(search(Iterator::SearchFocused), Lines{});
    EXPECT_EQ(search(Iterator::SearchHidden), Lines{});
    EXPECT_EQ(frame(1.0f), (Lines{"a update"}));
    EXPECT_EQ(own.currentLevel(), 0.0f);

    // The disabled region kept track of the pointer, so enabling it again
    // brings no PointerIn.
    on->set(host, 1.0f);
    EXPECT_EQ(frame(0.0f), (Lines{"a Enable", "a GainFocus", "a update"}));
    EXPECT_TRUE(disable->isEnabled());
    EXPECT_EQ(own.targetLevel(), 2.0f);
    EXPECT_EQ(paint(), (Lines{"picture 1 alpha 1"}));
    EXPECT_EQ(fade->seen, (Lines{"0 1 3 0"}));

    // A disabled parent disables an enabled node's chain too.
    Mode disabled(0.0f, 0.0f, false);
    log.clear();
    EXPECT_TRUE(disable->iterateUpdate(host, disabled, host.clipRect(), 0.0f));
    EXPECT_EQ(log, (Lines{"a LostFocus", "a Disable", "a update"}));
    EXPECT_TRUE(Object::clear(host, outerEffect));
}

// sticky -> effect node -> leaf a, under an effect
TEST_F(GatingTest, StickyNodeHoldsTheChainAtLevelFour) {
    Object* outerEffect = nullptr;
    GateEffectNode* outer = make<GateEffectNode>(host.firstNode());
    outer->effect = make<Effect>(outerEffect);
    StickyNode* sticky = make<StickyNode>(outer->nextNode(0));
    FloatData* variable = value(sticky->variable(), 3.0f);
    value(sticky->data(), 3.0f);
    GateLeaf* a = leaf(effectNode(sticky->nextNode(0))->nextNode(0), "a", 1);
    Mode& own = *sticky->mode();

    EXPECT_EQ(frame(0.0f), (Lines{"a GainFocus", "a PointerIn", "a update"}));
    EXPECT_EQ(own.targetLevel(), 4.0f);
    EXPECT_TRUE(own.isInside());
    EXPECT_EQ(a->updateMode, &own);
    EXPECT_EQ(frame(0.5f), (Lines{"a update"}));
    EXPECT_EQ(own.currentLevel(), 2.5f);
    EXPECT_EQ(paint(), (Lines{"picture 1 alpha 1"}));
    EXPECT_EQ(fade->seen, (Lines{"0 1 3 2.5"}));
    frame(0.5f);
    EXPECT_EQ(own.currentLevel(), 4.0f);
    paint();
    EXPECT_EQ(fade->seen, (Lines{"0 1 0 4"}));
    EXPECT_EQ(a->paintMode, &own);
    for (Iterator::SearchMode mode :
         {Iterator::SearchAll, Iterator::SearchFocused, Iterator::SearchHidden})
        EXPECT_EQ(search(mode), (Lines{"a"})) << mode;

    // Off the value the region follows the pointer again: focused, falling.
    variable->set(host, 1.0f);
    EXPECT_EQ(frame(0.0f), (Lines{"a update"}));
    EXPECT_EQ(own.targetLevel(), 2.0f);
    frame(0.5f);
    EXPECT_EQ(own.currentLevel(), 2.5f);
    paint();
    EXPECT_EQ(fade->seen, (Lines{"0 1 -3 2.5"}));

    // Back on the value while the pointer moves: PointerMove, then level 4.
    variable->set(host, 3.0f);
    host.pointerMove(10.0f, 10.0f);
    EXPECT_EQ(frame(0.0f), (Lines{"a PointerMove", "a update"}));
    EXPECT_EQ(own.targetLevel(), 4.0f);

    // A disabled parent takes the sticky region to 0 as well.
    Mode disabled(0.0f, 0.0f, false);
    log.clear();
    EXPECT_TRUE(sticky->iterateUpdate(host, disabled, host.clipRect(), 0.0f));
    EXPECT_EQ(log, (Lines{"a LostFocus", "a Disable", "a update"}));
    EXPECT_EQ(own.targetLevel(), 0.0f);
    EXPECT_TRUE(Object::clear(host, outerEffect));
}

// The states read from variables are settled as soon as a node is loaded.
TEST_F(GatingTest, LoadingSettlesEnabledAndEqualAtLoad) {
    Object* disable = make<DisableNode>();
    value(static_cast<DisableNode*>(disable)->disableData(), 0.0f);
    Object* sticky = make<StickyNode>();
    value(static_cast<StickyNode*>(sticky)->variable(), 5.0f);
    value(static_cast<StickyNode*>(sticky)->data(), 5.0f);
    for (Object** saved : {&disable, &sticky}) {
        FileOStream out;
        ASSERT_TRUE(Object::save(host, *saved, out));
        EXPECT_TRUE(Object::clear(host, *saved));
        MemoryIStream in(out.bytes());
        ASSERT_TRUE(Object::load(host, *saved, in));
        ASSERT_NE(*saved, nullptr);
    }
    ASSERT_EQ(disable->actualClass(), DisableNode::absoluteClass());
    ASSERT_EQ(sticky->actualClass(), StickyNode::absoluteClass());
    EXPECT_FALSE(static_cast<DisableNode*>(disable)->isEnabled());
    EXPECT_TRUE(static_cast<StickyNode*>(sticky)->equalAtLoad());
    EXPECT_TRUE(Object::clear(host, disable));
    EXPECT_TRUE(Object::clear(host, sticky));
}

// disable -> cull -> sticky -> the disable node again: every walk stops at the
// depth limit and says so once.
TEST_F(GatingTest, WalksThroughALoopEndAtTheDepthLimit) {
    DisableNode* disable = make<DisableNode>(host.firstNode());
    CullNode* cull = make<CullNode>(disable->nextNode(0));
    StickyNode* sticky = make<StickyNode>(cull->nextNode(0));
    sticky->nextNode(0) = disable;
    EXPECT_TRUE(host.update(0.1f));
    EXPECT_TRUE(host.update(0.1f));
    EXPECT_TRUE(host.paint());
    EXPECT_EQ(search(Iterator::SearchAll), Lines{});
    EXPECT_EQ(host.log.text,
              "Kova: Error: Node tree deeper than 4096 nodes; is a node its own descendant?\r\n");
    sticky->nextNode(0) = nullptr;
}

}  // namespace
}  // namespace kova_test
