// The leaves that put content on the screen: texts from variables painted
// with a style, and pictures painted whole or in part.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

std::vector<int> units(const std::string& text) {
    return std::vector<int>(text.begin(), text.end());
}

// Counts how often it is asked to lay a text out.
class CountingStyle : public Style {
public:
    CountingStyle() : Style("Counting", 1) {}
    int painted = 0;

protected:
    void onPaint(System& system, Data* text, int index, Rectangle& area, Rectangle* clip,
                 EffectPipe& pipe) override {
        ++painted;
        Style::onPaint(system, text, index, area, clip, pipe);
    }
};

// Lists the fields a class streams in order: references as "label:class",
// floats as "float label", pictures as "picture label".
class OrderRecorder : public ReferenceRecorder {
public:
    bool streamFloat(float&, const char* label) override {
        labels.push_back(std::string("float ") + label);
        return true;
    }
    bool streamPicture(System&, int&, const char* label) override {
        labels.push_back(std::string("picture ") + label);
        return true;
    }
};

class TextNodeTest : public HostTest<GlyphHost> {
protected:
    void paint(Node& node) {
        host.calls.clear();
        host.painted.clear();
        host.glyphs.clear();
        node.onPaint(host, host.mode(), area, &clip, pipe);
    }

    Rectangle area{-10.0f, 20.0f, 300.0f, 40.0f, 2.0f};
    Rectangle clip{0.0f, 0.0f, 5.0f, 5.0f, 0.0f};
    EffectPipe pipe;
};

TEST_F(TextNodeTest, PaintsTheTextOfItsVariable) {
    Node* root = nullptr;
    auto* node = make<TextNode>(root);
    CountingStyle style;
    node->style() = &style;
    paint(*node);  // no text: the style is not even asked
    EXPECT_EQ(style.painted, 0);
    EXPECT_TRUE(host.calls.empty());

    IntData* count = make<IntData>(node->string());
    count->set(host, 42.0f);
    paint(*node);
    EXPECT_EQ(style.painted, 1);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"charPaint 52 1", "charPaint 50 1"}));
    // Font 1: base line 20 + 17, glyphs 13 high from 27.
    ASSERT_EQ(host.painted.size(), 2u);
    const PaintData& four = host.painted[0];
    EXPECT_EQ(four.clipRect, &clip);
    EXPECT_EQ(valuesOf(four.vertex[0]), (Floats{-9, 27, 2, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(valuesOf(four.vertex[1]), (Floats{-1, 27, 2, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(valuesOf(four.vertex[2]), (Floats{-1, 40, 2, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(valuesOf(four.vertex[3]), (Floats{-9, 40, 2, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(valuesOf(host.painted[1].vertex[0]), (Floats{1, 27, 2, 0, 0, 1, 1, 1, 1}));
    count->set(host, -7.0f);
    paint(*node);
    EXPECT_EQ(host.glyphs, units("-7"));

    // Other kinds of variable give their text the same way.
    Object::clear(host, node->string());
    make<FloatData>(node->string())->set(host, 1.5f);
    paint(*node);
    EXPECT_EQ(host.glyphs, units("1.500000000"));
    Object::clear(host, node->string());
    make<StringData>(node->string())->set(host, "Hi\nyou");
    paint(*node);
    EXPECT_EQ(host.glyphs, units("Hiyou"));
    EXPECT_EQ(host.painted[2].vertex[0].y, 27.0f + 17.0f);

    // Without a style the system style paints, in font 0.
    node->style() = nullptr;
    paint(*node);
    EXPECT_EQ(host.calls.front(), "charPaint 72 0");
    EXPECT_EQ(host.painted.front().vertex[0].y, 20.0f + 16.0f - 10.0f);
    EXPECT_TRUE(Node::clear(host, root));  // the variable goes with the node
}

TEST_F(TextNodeTest, PaintsPicturesWholeOrInPart) {
    PictureNode whole(5);
    paint(whole);
    EXPECT_EQ(host.calls, std::vector<std::string>{"picturePaint 5"});
    const PaintData& data = host.painted[0];
    EXPECT_EQ(data.clipRect, &clip);
    EXPECT_EQ(data.sourceBlendFunc, 7);
    EXPECT_EQ(data.destinationBlendFunc, 8);
    EXPECT_FALSE(data.hasUV);
    Floats corners;
    for (const Vertex& v : data.vertex)
        corners.insert(corners.end(), {v.x, v.y, v.z, v.red, v.green, v.blue, v.alpha});
    EXPECT_EQ(corners, (Floats{-10, 20, 2, 1, 1, 1, 1, 290, 20, 2, 1, 1, 1, 1,  //
                               290, 60, 2, 1, 1, 1, 1, -10, 60, 2, 1, 1, 1, 1}));

    PictureUVNode part(6);
    part.uv() = Coordinate2{0.25f, 0.5f};
    part.size() = Coordinate2{0.5f, 0.25f};
    paint(part);
    EXPECT_EQ(host.calls, std::vector<std::string>{"picturePaint 6"});
    const PaintData& uv = host.painted[0];
    EXPECT_TRUE(uv.hasUV);
    EXPECT_EQ(uv.clipRect, &clip);
    EXPECT_EQ((std::vector<Floats>{valuesOf(uv.vertex[0]), valuesOf(uv.vertex[1]),
                                   valuesOf(uv.vertex[2]), valuesOf(uv.vertex[3])}),
              (std::vector<Floats>{{-10, 20, 2, 0.25f, 0.5f, 1, 1, 1, 1},
                                   {290, 20, 2, 0.75f, 0.5f, 1, 1, 1, 1},
                                   {290, 60, 2, 0.75f, 0.75f, 1, 1, 1, 1},
                                   {-10, 60, 2, 0.25f, 0.75f, 1, 1, 1, 1}}));

    // A part of size 0 still carries its coordinates; handle 0 is painted too.
    part.size() = Coordinate2{};
    part.pictureHandle() = 0;
    paint(part);
    EXPECT_EQ(host.calls, std::vector<std::string>{"picturePaint 0"});
    for (const Vertex& v : host.painted[0].vertex)
        EXPECT_EQ((Floats{v.u, v.v}), (Floats{0.25f, 0.5f}));
    EXPECT_TRUE(host.painted[0].hasUV);
}

TEST_F(TextNodeTest, IsPaintedByTheTreeWalkInChainOrder) {
    auto* picture = make<PictureNode>(host.firstNode());
    picture->pictureHandle() = 3;
    auto* text = make<TextNode>(picture->nextNode(0));
    make<StringData>(text->string())->set(host, "A");
    host.calls.clear();
    ASSERT_TRUE(host.paint());
    EXPECT_EQ(host.calls, (std::vector<std::string>{"onPrePaint", "picturePaint 3",
                                                    "charPaint 65 0", "onPostPaint"}));
    // The whole screen, centred on the origin, without a clip.
    ASSERT_EQ(host.painted.size(), 2u);
    EXPECT_EQ(valuesOf(host.painted[0].vertex[2]), (Floats{320, 240, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(host.painted[0].clipRect, nullptr);
    EXPECT_EQ(host.painted[1].vertex[0].x, -319.0f);
    EXPECT_EQ(host.painted[1].vertex[0].y, -240.0f + 16.0f - 10.0f);
    EXPECT_EQ(host.painted[1].clipRect, nullptr);
}

TEST_F(TextNodeTest, StreamsTheirFieldsInOrder) {
    auto fields = [&](Object& object) {
        OrderRecorder recorder;
        EXPECT_TRUE(object.onStream(host, recorder));
        std::string listed;
        for (const std::string& label : recorder.labels)
            listed += label + ";";
        return listed;
    };
    TextNode text;
    PictureNode picture;
    PictureUVNode part;
    EXPECT_EQ(fields(text), "Next node:Node;String:Data;Style:Style;");
    EXPECT_EQ(fields(picture), "Next node:Node;picture Picture;");
    EXPECT_EQ(fields(part),
              "Next node:Node;picture Picture;float U;float V;float Width;float Height;");
    EXPECT_EQ(picture.pictureHandle(), 0);
    EXPECT_EQ((Floats{part.uv().x, part.uv().y, part.size().x, part.size().y}),
              (Floats{0, 0, 0, 0}));
    for (RuntimeClass* cls :
         {TextNode::absoluteClass(), PictureNode::absoluteClass(), PictureUVNode::absoluteClass()})
        EXPECT_EQ(cls->parentClass(), Node::absoluteClass()) << cls->name();
}

}  // namespace
}  // namespace kova_test
