// Effect nodes: how strongly each applies its effect as screens come and go
// and regions gain and lose the focus over elapsed time, seen in what the
// host paints; and nodes caught in a loop under hostile times.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>

#include "test_support.h"

namespace kova_test {
namespace {

const char kDeprecated[] =
    "Kova: Warning: ShowEffectNode is deprecated and will be removed, use "
    "TransitionalEffectNode instead!\r\n";

// Writes each picture as " <picture>", followed by "@<alpha>" when it came
// through the marker effect, which zeroes green and fades by level.
class LevelHost : public TestHost {
public:
    bool picturePaint(int picture, PaintData& data) override {
        char line[64];
        const Vertex& v = data.vertex[0];
        std::snprintf(line, sizeof line, v.green == 0.0f ? " %d@%g" : " %d", picture,
                      static_cast<double>(v.alpha));
        seen += line;
        return TestHost::picturePaint(picture, data);
    }
    std::string seen;
};

class EffectNodeTest : public HostTest<LevelHost> {
protected:
    // An effect node of class cls holding the marker effect, over a picture.
    EffectNode* item(Node*& slot, const char* cls, int picture) {
        EXPECT_TRUE(Node::create(host, slot, RuntimeClass::findClass(cls))) << cls;
        EffectNode* node = static_cast<EffectNode*>(slot);
        SplitEffect* marker = make<SplitEffect>(node->nodeEffect());
        make<AlphaFadeEffect>(marker->effect1());
        make<ColorEffect>(marker->effect2())->color().green = 0.0f;
        make<PictureNode>(node->nextNode(0))->pictureHandle() = picture;
        return node;
    }
};

// Root: under the root mode (level 2, focused). Variable: the level variable
// holds the time so far. Sticky: a sticky node takes the mode from level 1 to
// 4 at 3 levels a second. Path: screen 1 is shown, then screen 2 replaces it
// with in and out times of 1 s; both hold the node. Cull: a cull node fades
// the node in over 1 s, without a show direction.
enum Driver { Root, Variable, Sticky, Path, Cull };

TEST_F(EffectNodeTest, EachNodeAppliesItsEffectAtTheLevelOfItsSource) {
    // clang-format off
    const std::vector<float> steady{0.0f, 0.25f, 0.5f, 1e30f}, times[] = {
        steady, steady, {0.0f, 0.1f, 0.1f, 0.2f, 0.2f, 0.5f}, {0.0f, 0.25f, 0.25f, 0.25f, 0.25f}, steady};
    const struct { const char* cls; Driver driver; std::string expected; } rows[] = {
        {"EffectNode", Root, "| 1@1| 1@1| 1@1| 1@1"}, {"VariableEffectNode", Root, "| 1@1| 1@1| 1@1| 1@1"},
        {"VariableEffectNode", Variable, "| 1@0| 1@0.25| 1@0.75| 1@1e+30"},
        {"NotFocusEffectNode", Root, "| 1| 1| 1| 1"}, {"FocusEffectNode", Root, "| 1@1| 1@1| 1@1| 1@1"},
        {"NormalToFocusEffectNode", Root, "| 1| 1| 1| 1"}, {"FocusToPressedEffectNode", Root, "| 1@0| 1@0| 1@0| 1@0"},
        {"NormalToFocusEffectNode", Sticky, "| 1@0| 1@0.3| 1@0.6| 1| 1| 1"},
        {"ExtendedNormalToFocusEffectNode", Sticky, "| 1@0.5| 1@0.8| 1@1.1| 1| 1| 1"},
        {"FocusToPressedEffectNode", Sticky, "| 1| 1| 1| 1@0.2| 1@0.8| 1"},
        {"ExtendedFocusToPressedEffectNode", Sticky, "| 1| 1| 1| 1@1.3| 1@0.7| 1"},
        {"TransitionalEffectNode", Path, "| 1| 1@0.75 2@0.25| 1@0.5 2@0.5| 1@0.25 2@0.75| 2"},
        {"ShowEffectNode", Path, "| 1| 1@0.75 2@0.25| 1@0.5 2@0.5| 1@0.25 2@0.75| 2"},
        {"TransitionalShowEffectNode", Path, "| 1| 1 2@0.25| 1 2@0.5| 1 2@0.75| 2"},
        {"TransitionalHideEffectNode", Path, "| 1| 1@0.75 2| 1@0.5 2| 1@0.25 2| 2"},
        {"TransitionalEffectNode", Cull, "|| 1@0.25| 1@0.75| 1"}, {"TransitionalShowEffectNode", Cull, "|| 1| 1| 1"}};
    // clang-format on
    const char* drivers[] = {
        nullptr, nullptr,
        "StickyNode { Next node: null  Variable: FloatData { \"Value <do not edit>\": 0 }"
        "  Data: FloatData { \"Value <do not edit>\": 0 } }",
        "PathNode { Next node: null }",
        "CullNode { Next node: null  Data: null  \"In time\": 1  \"Out time\": 0 }"};
    for (const auto& row : rows) {
        Node*& root = host.firstNode();
        if (drivers[row.driver]) root = static_cast<Node*>(readObject(host, drivers[row.driver]));
        Node** slot = root ? &root->nextNode(0) : &root;
        PathNode* path = dynamic_cast<PathNode*>(root);
        NameNode* second = nullptr;
        for (int picture = 1; path && picture <= 2; ++picture) {  // named screens, as a path shows
            second = make<NameNode>();
            EXPECT_TRUE(host.setObjectName(
                second, (std::to_string(&row - rows) + "AB"[picture - 1]).c_str()));
            item(second->nextNode(0), row.cls, picture);
            if (picture == 1) path->setNextNode(0, second);
        }
        EffectNode* node = path ? nullptr : item(*slot, row.cls, 1);
        FloatData* level = nullptr;
        if (row.driver == Variable)
            level = make<FloatData>(static_cast<VariableEffectNode*>(node)->levelVariable());
        // The extended focus-to-pressed node falls as the level rises.
        if (auto* n = dynamic_cast<ExtendedNormalToFocusEffectNode*>(node))
            n->minValue() = 0.5f, n->maxValue() = 1.5f;
        if (auto* n = dynamic_cast<ExtendedFocusToPressedEffectNode*>(node))
            n->minValue() = 1.5f, n->maxValue() = 0.5f;

        float total = 0.0f;
        host.seen.clear();
        for (float elapsed : times[row.driver]) {
            if (level) level->set(host, total += elapsed);
            EXPECT_TRUE(host.update(elapsed));
            host.seen += "|";
            EXPECT_TRUE(host.paint());
            if (path) path->setPath(second, 1.0f, 1.0f, 0.0f, 0.0f, true);
        }
        EXPECT_EQ(host.seen, row.expected) << row.cls << " driver " << row.driver;
        EXPECT_TRUE(Node::clear(host, root));
    }
}

// A loaded ShowEffectNode warns; every effect node class in a loop through a
// named node, under hostile times, stops at the depth limit.
TEST_F(EffectNodeTest, ShowWarningHostileTimesAndLoopsAreHarmless) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    RuntimeClass* family = EffectNode::absoluteClass();
    // A loaded ShowEffectNode warns as a created one does.
    Object* show = make<ShowEffectNode>();
    FileOStream out;
    ASSERT_TRUE(Object::save(host, show, out) && Object::clear(host, show));
    MemoryIStream in(out.bytes());
    ASSERT_TRUE(Object::load(host, show, in) && Object::clear(host, show));
    EXPECT_EQ(host.log.text, std::string(kDeprecated) + kDeprecated);

    // Loop -> one node of each class over a picture, the variable one at NaN -> Loop.
    host.log.text.clear();
    NameNode* loop = make<NameNode>(host.firstNode());
    ASSERT_TRUE(host.setObjectName(loop, "Loop"));  // so the way back is a reference, not owned
    Node** slot = &loop->nextNode(0);
    for (RuntimeClass* cls = RuntimeClass::firstClass(family); cls; cls = cls->nextClass(family)) {
        EffectNode* node = item(*slot, cls->name(), 4);
        if (VariableEffectNode* variable = dynamic_cast<VariableEffectNode*>(node))
            make<FloatData>(variable->levelVariable())->set(host, nan);
        slot = &node->nextNode(0)->nextNode(0);
    }
    *slot = loop;
    for (float elapsed : {0.1f, nan, 1e30f})
        EXPECT_TRUE(host.update(elapsed));
    EXPECT_TRUE(host.paint());
    MovedOutIterator visitor;
    visitor.iterate(host, host.firstNode(), host.clipRect(), host.mode());
    EXPECT_EQ(host.log.text, std::string(kDeprecated) +
                                 "Kova: Error: Node tree deeper than 4096 "
                                 "nodes; is a node its own descendant?\r\n");
}

}  // namespace
}  // namespace kova_test
