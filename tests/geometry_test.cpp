// The paint records and their operations, and the effect pipe between the
// painting nodes and the host's two drawing calls.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

PaintData quad(const Rectangle& r) {
    PaintData data;
    data.vertex[0].x = r.x;
    data.vertex[0].y = r.y;
    data.vertex[1].x = r.x + r.width;
    data.vertex[1].y = r.y;
    data.vertex[2].x = r.x + r.width;
    data.vertex[2].y = r.y + r.height;
    data.vertex[3].x = r.x;
    data.vertex[3].y = r.y + r.height;
    for (int i = 0; i < 4; ++i) {
        data.vertex[i].z = r.z;
        data.vertex[i].u = 0.1f * static_cast<float>(i);
        data.vertex[i].v = 0.2f * static_cast<float>(i);
        data.vertex[i].red = 0.25f * static_cast<float>(i);
    }
    return data;
}

bool sameBytes(const PaintData& a, const PaintData& b) {
    return std::memcmp(&a.vertex, &b.vertex, sizeof(a.vertex)) == 0 && a.hasUV == b.hasUV &&
           a.clipRect == b.clipRect && a.sourceBlendFunc == b.sourceBlendFunc &&
           a.destinationBlendFunc == b.destinationBlendFunc;
}

// Scales x by a factor, then passes the record on.
class ScaleEffect : public Effect {
    KOVA_RUNTIME_CLASS(ScaleEffect)
public:
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override {
        for (Vertex& corner : data.vertex)
            corner.x *= factor;
        return Effect::picturePaint(system, picture, data, self);
    }
    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override {
        for (Vertex& corner : data.vertex)
            corner.x *= factor;
        indexes.push_back(index);
        return Effect::charPaint(system, character, font, index, data, self);
    }
    bool onUpdate(System&, float elapsed) override {
        updated += elapsed;
        return true;
    }
    float factor = 1.0f;
    float updated = 0.0f;
    std::vector<int> indexes;
};
KOVA_IMPLEMENT_CLASS_NAMED(ScaleEffect, "kova_test::ScaleEffect", &Effect::absoluteClass)

// Moves x by an offset, then passes the record on.
class ShiftEffect : public Effect {
    KOVA_RUNTIME_CLASS(ShiftEffect)
public:
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override {
        for (Vertex& corner : data.vertex)
            corner.x += offset;
        return Effect::picturePaint(system, picture, data, self);
    }
    float offset = 0.0f;
};
KOVA_IMPLEMENT_CLASS_NAMED(ShiftEffect, "kova_test::ShiftEffect", &Effect::absoluteClass)

// Swallows every picture: nothing reaches the host.
class HideEffect : public Effect {
    KOVA_RUNTIME_CLASS(HideEffect)
public:
    bool picturePaint(System&, int, PaintData&, EffectPipe&) override { return true; }
};
KOVA_IMPLEMENT_CLASS_NAMED(HideEffect, "kova_test::HideEffect", &Effect::absoluteClass)

// Paints one picture into its rectangle, or one character when asked to.
class PictureLeaf : public Node {
    KOVA_RUNTIME_CLASS(PictureLeaf)
public:
    void onPaint(System& system, Mode&, Rectangle& rect, Rectangle* clip,
                 EffectPipe& pipe) override {
        PaintData data = quad(rect);
        data.clipRect = clip;
        if (character) {
            pipe.charPaint(system, character, 9, 4, data);
        } else {
            pipe.picturePaint(system, picture, data);
        }
    }
    int picture = 0;
    int character = 0;
};
KOVA_IMPLEMENT_CLASS_NAMED(PictureLeaf, "kova_test::PictureLeaf", &Node::absoluteClass)

// Installs its effect for the child chain, shrunk into a smaller rectangle,
// on a new pipe element that copies the carried state.
class EffectFrame : public Node {
    KOVA_RUNTIME_CLASS(EffectFrame)
public:
    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override {
        EffectPipe element = pipe;
        element.next = &pipe;
        element.effect = effect;
        Rectangle inner{rect.x + 10.0f, rect.y + 10.0f, 20.0f, 30.0f, rect.z + 1.0f};
        if (child) child->iteratePaint(system, mode, inner, clip, element);
        Node::iteratePaint(system, mode, rect, clip, pipe);
    }
    bool onStream(System& system, Stream& stream) override {
        return Node::onStream(system, stream) &&
               stream.streamChildNode(system, child, "Child", nullptr) &&
               stream.streamEffect(system, effect, "Effect", nullptr);
    }
    Node* child = nullptr;
    Effect* effect = nullptr;
};
KOVA_IMPLEMENT_CLASS_NAMED(EffectFrame, "kova_test::EffectFrame", &Node::absoluteClass)

TEST(GeometryTest, RecordsAndTheirOperations) {
    // Defaults of the records.
    Color white;
    EXPECT_EQ(white.red + white.green + white.blue + white.alpha, 4.0f);
    PaintData fresh;
    EXPECT_EQ(fresh.clipRect, nullptr);
    EXPECT_EQ(fresh.sourceBlendFunc, 7);
    EXPECT_EQ(fresh.destinationBlendFunc, 8);
    EXPECT_FALSE(fresh.hasUV);
    EXPECT_EQ(fresh.vertex[3].alpha, 1.0f);
    EXPECT_EQ(fresh.vertex[2].green, 1.0f);

    EXPECT_STREQ(PaintData::blendFuncName(0), "ERROR");
    EXPECT_STREQ(PaintData::blendFuncName(4), "One minus source color");
    EXPECT_STREQ(PaintData::blendFuncName(11), "Source alpha saturate");
    EXPECT_EQ(PaintData::blendFuncName(12), nullptr);
    EXPECT_EQ(PaintData::blendFuncName(-1), nullptr);

    // Clipping: overlap, containment, touching edges, disjoint.
    Rectangle r{0.0f, 0.0f, 100.0f, 50.0f, 7.0f};
    EXPECT_TRUE(r.clipTo(Rectangle{20.0f, -10.0f, 200.0f, 30.0f, 0.0f}));
    EXPECT_EQ(valuesOf(r), (Floats{20.0f, 0.0f, 80.0f, 20.0f, 7.0f}));
    Rectangle inside{10.0f, 10.0f, 5.0f, 5.0f, 0.0f};
    EXPECT_TRUE(inside.clipTo(Rectangle{0.0f, 0.0f, 100.0f, 100.0f, 0.0f}));
    EXPECT_EQ(inside.width, 5.0f);
    Rectangle big{-50.0f, -50.0f, 200.0f, 200.0f, 0.0f};
    EXPECT_TRUE(big.clipTo(Rectangle{0.0f, 10.0f, 20.0f, 30.0f, 0.0f}));
    EXPECT_EQ(valuesOf(big), (Floats{0.0f, 10.0f, 20.0f, 30.0f, 0.0f}));
    Rectangle left{0.0f, 0.0f, 10.0f, 10.0f, 0.0f};
    EXPECT_TRUE(left.clipTo(Rectangle{10.0f, 0.0f, 10.0f, 10.0f, 0.0f}));
    EXPECT_EQ(left.x, 10.0f);
    EXPECT_EQ(left.width, 0.0f);
    Rectangle top{0.0f, 0.0f, 10.0f, 10.0f, 0.0f};
    EXPECT_TRUE(top.clipTo(Rectangle{0.0f, 10.0f, 10.0f, 10.0f, 0.0f}));
    EXPECT_EQ(top.height, 0.0f);
    Rectangle apart{0.0f, 0.0f, 10.0f, 10.0f, 3.0f};
    EXPECT_FALSE(apart.clipTo(Rectangle{10.5f, 0.0f, 10.0f, 10.0f, 0.0f}));
    EXPECT_FALSE(apart.clipTo(Rectangle{0.0f, -20.0f, 10.0f, 10.0f, 0.0f}));
    EXPECT_EQ(valuesOf(apart), (Floats{0.0f, 0.0f, 10.0f, 10.0f, 3.0f}));

    // Fading channel by channel; this stays.
    Color from{0.0f, 0.5f, 1.0f, 0.2f};
    Color out;
    from.fadeTo(out, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f);
    EXPECT_EQ(valuesOf(out), (Floats{0.0f, 0.5f, 1.0f, 0.2f}));
    from.fadeTo(out, 1.0f, 0.3f, 0.4f, 0.5f, 0.6f);
    EXPECT_EQ(valuesOf(out), (Floats{0.3f, 0.4f, 0.5f, 0.6f}));
    from.fadeTo(out, 0.5f, 1.0f, 0.5f, 0.0f, 0.0f);
    EXPECT_EQ(valuesOf(out), (Floats{0.5f, 0.5f, 0.5f, 0.1f}));
    EXPECT_EQ(from.green, 0.5f);

    // Interpolating a corner at a clip edge keeps its own texture coordinate.
    // x, y, z, u, v, red, green, blue, alpha
    Vertex a{0.0f, 10.0f, 2.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f};
    Vertex b{100.0f, 30.0f, 4.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.0f};
    Vertex cut;
    cut.u = 0.75f;
    cut.v = 0.125f;
    cut.calculateClip(a, b, 0.25f);
    EXPECT_EQ(valuesOf(cut), (Floats{25.0f, 15.0f, 2.5f, 0.75f, 0.125f, 0.25f, 1.0f, 1.0f, 0.75f}));
}

TEST(GeometryTest, MovingTheQuadrilateral) {
    PaintData data = quad(Rectangle{10.0f, 20.0f, 40.0f, 60.0f, 3.0f});
    Coordinate3 centre;
    data.averageCoordinate(centre);
    EXPECT_EQ(centre.x, 30.0f);
    EXPECT_EQ(centre.y, 50.0f);
    EXPECT_EQ(centre.z, 3.0f);

    PaintData same = data;
    same.rotateZ(Coordinate2{30.0f, 50.0f}, 0.0f);
    EXPECT_TRUE(sameBytes(same, data));

    // A quarter turn about the origin takes (1, 0) to (0, -1): anticlockwise
    // on a screen whose y grows downwards.
    PaintData turned = quad(Rectangle{1.0f, 0.0f, 1.0f, 2.0f, 5.0f});
    turned.rotateZ(Coordinate2{0.0f, 0.0f}, 3.14159265f / 2.0f);
    EXPECT_NEAR(turned.vertex[0].x, 0.0f, 1e-6f);
    EXPECT_NEAR(turned.vertex[0].y, -1.0f, 1e-6f);
    EXPECT_NEAR(turned.vertex[2].x, 2.0f, 1e-6f);  // (2, 2) goes to (2, -2)
    EXPECT_NEAR(turned.vertex[2].y, -2.0f, 1e-6f);
    EXPECT_EQ(turned.vertex[2].z, 5.0f);
    EXPECT_EQ(turned.vertex[2].u, 0.2f);
    EXPECT_EQ(turned.vertex[2].red, 0.5f);

    PaintData grown = data;
    grown.stretchZ(Coordinate2{2.0f, 3.0f});
    const float expected[4][2] = {{8.0f, 17.0f}, {52.0f, 17.0f}, {52.0f, 83.0f}, {8.0f, 83.0f}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(grown.vertex[i].x, expected[i][0]) << i;
        EXPECT_EQ(grown.vertex[i].y, expected[i][1]) << i;
    }

    // Mirroring exchanges corners but leaves texture coordinates in place.
    PaintData mirrored = data;
    mirrored.flipHorizontal();
    EXPECT_EQ(mirrored.vertex[0].x, 50.0f);
    EXPECT_EQ(mirrored.vertex[0].red, 0.25f);
    EXPECT_EQ(mirrored.vertex[1].x, 10.0f);
    EXPECT_EQ(mirrored.vertex[2].x, 10.0f);
    EXPECT_EQ(mirrored.vertex[3].red, 0.5f);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(mirrored.vertex[i].u, data.vertex[i].u);
        EXPECT_EQ(mirrored.vertex[i].v, data.vertex[i].v);
    }
    mirrored.flipHorizontal();
    EXPECT_TRUE(sameBytes(mirrored, data));

    PaintData upsideDown = data;
    upsideDown.flipVertical();
    EXPECT_EQ(upsideDown.vertex[0].y, 80.0f);
    EXPECT_EQ(upsideDown.vertex[0].red, 0.75f);
    EXPECT_EQ(upsideDown.vertex[1].y, 80.0f);
    EXPECT_EQ(upsideDown.vertex[1].red, 0.5f);
    EXPECT_EQ(upsideDown.vertex[3].y, 20.0f);
    EXPECT_EQ(upsideDown.vertex[0].u, data.vertex[0].u);
    EXPECT_EQ(upsideDown.vertex[3].v, data.vertex[3].v);
    upsideDown.flipVertical();
    EXPECT_TRUE(sameBytes(upsideDown, data));
}

TEST(GeometryTest, StreamedFieldsAndLabels) {
    FieldRecorder recorder;
    Rectangle r{1.0f, 2.0f, 3.0f, 4.0f, 5.0f};
    EXPECT_TRUE(r.stream(recorder));
    std::vector<std::string> expected = {"float 'X' 1.000000", "float 'Y' 2.000000",
                                         "float 'Width' 3.000000", "float 'Height' 4.000000"};
    EXPECT_EQ(recorder.fields, expected);
    EXPECT_EQ(r.x, 2.0f);  // what the stream delivered lands in the record
    EXPECT_EQ(r.height, 5.0f);
    EXPECT_EQ(r.z, 5.0f);  // depth is not persisted

    FieldRecorder colors;
    Color c{0.0f, 0.25f, 0.5f, 0.75f};
    EXPECT_TRUE(c.stream(colors));
    expected = {"float 'Red' 0.000000", "float 'Green' 0.250000", "float 'Blue' 0.500000",
                "float 'Alpha' 0.750000"};
    EXPECT_EQ(colors.fields, expected);

    FieldRecorder failing;
    failing.budget = 1;
    Coordinate2 point{4.0f, 8.0f};
    EXPECT_FALSE(point.stream(failing, "Left", "Top"));
    EXPECT_EQ(failing.fields, std::vector<std::string>({"float 'Left' 4.000000"}));
    FieldRecorder failingColor;
    failingColor.budget = 2;
    EXPECT_FALSE(c.stream(failingColor));
    EXPECT_EQ(failingColor.fields.size(), 2u);
}

// A screen of 200 x 100.
struct SmallScreenHost : TestHost {
    SmallScreenHost() : TestHost(200.0f, 100.0f) {}
};

class PaintTest : public HostTest<SmallScreenHost> {
protected:
    std::vector<std::string> paintCalls() {
        std::vector<std::string> seen;
        for (const std::string& call : host.calls) {
            if (call.rfind("picturePaint", 0) == 0 || call.rfind("charPaint", 0) == 0)
                seen.push_back(call);
        }
        return seen;
    }
};

TEST_F(PaintTest, PipeWithoutEffectsReachesTheHostOnce) {
    PictureLeaf* first = make<PictureLeaf>(host.firstNode());
    first->picture = 4;
    PictureLeaf* second = make<PictureLeaf>(first->nextNode(0));
    second->picture = 5;
    ASSERT_TRUE(host.paint());
    EXPECT_EQ(paintCalls(), std::vector<std::string>({"picturePaint 4", "picturePaint 5"}));
    ASSERT_EQ(host.painted.size(), 2u);
    PaintData expected = quad(Rectangle{-100.0f, -50.0f, 200.0f, 100.0f, 0.0f});
    EXPECT_TRUE(sameBytes(host.painted[0], expected));
    EXPECT_EQ(host.painted[0].vertex[2].x, 100.0f);
    EXPECT_EQ(host.painted[0].vertex[2].y, 50.0f);
}

TEST_F(PaintTest, EffectsRunInnermostFirstAndMaySuppress) {
    // outer frame (+100) -> middle frame (no effect) -> inner frame (x2) -> leaf
    EffectFrame* outer = make<EffectFrame>(host.firstNode());
    make<ShiftEffect>(outer->effect)->offset = 100.0f;
    EffectFrame* middle = make<EffectFrame>(outer->child);
    EffectFrame* inner = make<EffectFrame>(middle->child);
    make<ScaleEffect>(inner->effect)->factor = 2.0f;
    PictureLeaf* leaf = make<PictureLeaf>(inner->child);
    leaf->picture = 8;

    ASSERT_TRUE(host.paint());
    ASSERT_EQ(paintCalls(), std::vector<std::string>({"picturePaint 8"}));
    // Three frames each shift the area by 10 and size it 20 x 30: the leaf
    // paints (-70, -20)..(-50, 10) at depth 3. Scaled first, then shifted.
    const PaintData& got = host.painted[0];
    EXPECT_EQ(got.vertex[0].x, -70.0f * 2.0f + 100.0f);
    EXPECT_EQ(got.vertex[1].x, -50.0f * 2.0f + 100.0f);
    EXPECT_EQ(got.vertex[2].x, -50.0f * 2.0f + 100.0f);
    EXPECT_EQ(got.vertex[3].x, -70.0f * 2.0f + 100.0f);
    EXPECT_EQ(got.vertex[0].y, -20.0f);
    EXPECT_EQ(got.vertex[2].y, 10.0f);
    EXPECT_EQ(got.vertex[3].z, 3.0f);
    EXPECT_EQ(got.vertex[1].u, 0.1f);

    // Characters take the same road; the host gets character and font only.
    leaf->character = 'K';
    host.calls.clear();
    host.painted.clear();
    ASSERT_TRUE(host.paint());
    EXPECT_EQ(paintCalls(), std::vector<std::string>({"charPaint 75 9"}));
    EXPECT_EQ(host.painted[0].vertex[0].x, -70.0f * 2.0f);  // the shift knows only pictures
    EXPECT_EQ(static_cast<ScaleEffect*>(inner->effect)->indexes, std::vector<int>({4}));

    // An effect that does not pass on hides the item; the rest still paints.
    leaf->character = 0;
    make<HideEffect>(middle->effect);
    PictureLeaf* after = make<PictureLeaf>(outer->nextNode(0));
    after->picture = 2;
    host.calls.clear();
    ASSERT_TRUE(host.paint());
    EXPECT_EQ(paintCalls(), std::vector<std::string>({"picturePaint 2"}));
}

TEST_F(PaintTest, PipeElementsAndEffectUpdate) {
    PaintData data;
    // An element without an effect and no next goes straight to the host.
    EffectPipe bare;
    EXPECT_TRUE(bare.picturePaint(host, 3, data));
    // A null effect in the middle is skipped; the outer effect still runs.
    Effect* scale = nullptr;
    make<ScaleEffect>(scale)->factor = 3.0f;
    EffectPipe outer;
    outer.effect = scale;
    EffectPipe middle;
    middle.next = &outer;
    EffectPipe innermost;
    innermost.next = &middle;
    data.vertex[1].x = 2.0f;
    EXPECT_TRUE(innermost.picturePaint(host, 6, data));
    EXPECT_EQ(paintCalls(), std::vector<std::string>({"picturePaint 3", "picturePaint 6"}));
    EXPECT_EQ(host.painted[1].vertex[1].x, 6.0f);

    // The base effect passes on unchanged, to the host when it is last.
    Effect* base = nullptr;
    ASSERT_TRUE(Object::create(host, base, Effect::absoluteClass()));
    EffectPipe alone;
    alone.effect = base;
    PaintData plain;
    EXPECT_TRUE(alone.charPaint(host, 'a', 2, 0, plain));
    EXPECT_TRUE(sameBytes(host.painted.back(), plain));
    EXPECT_TRUE(Effect::update(host, base, 0.5f));

    // A host refusal comes back through every element.
    struct RefusingHost : TestHost {
        bool picturePaint(int, PaintData&) override { return false; }
    } refusing;
    EXPECT_FALSE(innermost.picturePaint(refusing, 1, data));

    EXPECT_TRUE(Effect::update(host, nullptr, 1.0f));
    EXPECT_TRUE(Effect::update(host, scale, 0.25f));
    EXPECT_EQ(static_cast<ScaleEffect*>(scale)->updated, 0.25f);
    EXPECT_STREQ(Effect::absoluteClass()->parentClass()->name(), "Object");
    Object::clear(host, scale);
    Object::clear(host, base);
}

}  // namespace
}  // namespace kova_test
