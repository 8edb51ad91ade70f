// The concrete effects: what the host receives when a record passes through
// a pipe holding each of them at given levels.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "kova/data.h"
#include "kova/effect.h"
#include "test_support.h"

namespace kova_test {
namespace {

const float quarterTurn = 1.5707964f;

// Records the clip rectangle in force at each host call (or that there was
// none), since the pointer itself dies with the call.
class ClipHost : public TestHost {
public:
    bool charPaint(int character, int font, PaintData& data) override {
        noteClip(data);
        return TestHost::charPaint(character, font, data);
    }
    bool picturePaint(int picture, PaintData& data) override {
        noteClip(data);
        return TestHost::picturePaint(picture, data);
    }
    std::vector<Floats> clips;  // empty entry: no clip

private:
    void noteClip(const PaintData& data) {
        clips.push_back(data.clipRect ? valuesOf(*data.clipRect) : Floats());
    }
};

// Counts updates and reports a chosen result.
class TallyEffect : public Effect {
    KOVA_RUNTIME_CLASS(TallyEffect)
public:
    bool onUpdate(System&, float elapsed) override {
        total += elapsed;
        ++calls;
        return result;
    }
    float total = 0.0f;
    int calls = 0;
    bool result = true;
};
KOVA_IMPLEMENT_CLASS_NAMED(TallyEffect, "kova_test::TallyEffect", &Effect::absoluteClass)

// A 40 x 20 picture at (10, 30), depth 2, white.
PaintData picture() {
    PaintData data;
    const float xs[4] = {10.0f, 50.0f, 50.0f, 10.0f};
    const float ys[4] = {30.0f, 30.0f, 50.0f, 50.0f};
    for (int i = 0; i < 4; ++i) {
        data.vertex[i].x = xs[i];
        data.vertex[i].y = ys[i];
        data.vertex[i].z = 2.0f;
    }
    return data;
}

Floats positions(const PaintData& data) {
    Floats out;
    for (const Vertex& v : data.vertex) {
        out.push_back(v.x);
        out.push_back(v.y);
    }
    return out;
}

Floats colors(const PaintData& data) {
    Floats out;
    for (const Vertex& v : data.vertex) {
        out.insert(out.end(), {v.red, v.green, v.blue, v.alpha});
    }
    return out;
}

class EffectTest : public HostTest<ClipHost> {
protected:
    // Paints picture 5 (or glyph 'A' of font 3 at index 7) through an element
    // holding effect at level, enclosed by outer; returns what the host got.
    PaintData paint(Effect* effect, float level, PaintData data = picture(),
                    EffectPipe* outer = nullptr, bool glyph = false) {
        EffectPipe element;
        element.next = outer;
        element.effect = effect;
        element.effectLevel = level;
        Rectangle* clip = data.clipRect;
        size_t before = host.painted.size();
        bool ok =
            glyph ? element.charPaint(host, 'A', 3, 7, data) : element.picturePaint(host, 5, data);
        EXPECT_TRUE(ok);
        EXPECT_EQ(data.clipRect, clip);  // a substituted clip is put back
        EXPECT_EQ(host.painted.size(), before + 1);
        return host.painted.empty() ? PaintData() : host.painted.back();
    }
    Floats lastClip() { return host.clips.empty() ? Floats{-1.0f} : host.clips.back(); }

    template <class T>
    T* effect() {
        T* made = make<T>(owned[count++]);
        return made;
    }
    FloatData* variable(float value) {
        Data* data = nullptr;
        FloatData* made = make<FloatData>(data);
        made->set(host, value);
        variables[variableCount++] = data;
        return made;
    }
    void TearDown() override {
        for (int i = 0; i < count; ++i)
            Object::clear(host, owned[i]);
        for (int i = 0; i < variableCount; ++i)
            Object::clear(host, variables[i]);
        HostTest<ClipHost>::TearDown();
    }

    Effect* owned[16] = {};
    int count = 0;
    Data* variables[16] = {};
    int variableCount = 0;
};

TEST_F(EffectTest, ColoursAndFading) {
    ColorEffect* byName = effect<ColorEffect>();
    EXPECT_EQ(valuesOf(byName->color()), Floats({1.0f, 1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(valuesOf(effect<MultiplyColorEffect>()->color()), Floats({1, 1, 1, 1}));

    ColorEffect color(0.5f, 0.25f, 0.125f, 0.75f);
    PaintData tinted = picture();
    tinted.vertex[2].red = 0.0f;
    PaintData got = paint(&color, 0.0f, tinted);  // the level plays no part
    EXPECT_EQ(colors(got), Floats({0.5f, 0.25f, 0.125f, 0.75f, 0.5f, 0.25f, 0.125f, 0.75f, 0.5f,
                                   0.25f, 0.125f, 0.75f, 0.5f, 0.25f, 0.125f, 0.75f}));
    EXPECT_EQ(positions(got), positions(picture()));

    Color half{0.5f, 0.5f, 0.5f, 0.5f};
    MultiplyColorEffect multiply(half);
    got = paint(&multiply, 1.0f, got);
    EXPECT_EQ(colors(got),
              Floats({0.25f, 0.125f, 0.0625f, 0.375f, 0.25f, 0.125f, 0.0625f, 0.375f, 0.25f, 0.125f,
                      0.0625f, 0.375f, 0.25f, 0.125f, 0.0625f, 0.375f}));

    // Glyphs get the same change; the host sees character and font only.
    got = paint(&color, 1.0f, picture(), nullptr, true);
    EXPECT_EQ(host.calls.back(), "charPaint 65 3");
    EXPECT_EQ(got.vertex[3].blue, 0.125f);

    AlphaFadeEffect fade;
    EXPECT_EQ(paint(&fade, 1.0f).vertex[0].alpha, 1.0f);
    EXPECT_EQ(paint(&fade, 0.0f).vertex[1].alpha, 0.0f);
    got = paint(&fade, 0.5f);
    EXPECT_EQ(colors(got), Floats({1, 1, 1, 0.5f, 1, 1, 1, 0.5f, 1, 1, 1, 0.5f, 1, 1, 1, 0.5f}));
    EffectPipe outerFade;
    outerFade.effect = &fade;
    outerFade.effectLevel = 0.5f;
    got = paint(&fade, 0.5f, picture(), &outerFade);
    EXPECT_EQ(got.vertex[2].alpha, 0.25f);  // nested twice, each at its own level
    EXPECT_EQ(got.vertex[2].red, 1.0f);
}

TEST_F(EffectTest, CornerColours) {
    VertexColorEffect* corners = effect<VertexColorEffect>();
    EXPECT_EQ(colors(paint(corners, 1.0f)), Floats(16, 1.0f));
    for (int i = 0; i < 4; ++i) {
        float f = static_cast<float>(i);
        corners->corner(i) = Color{0.5f, 0.25f * f, 0.125f, 1.0f - 0.25f * f};
    }
    PaintData got = paint(corners, 0.0f);
    EXPECT_EQ(colors(got), Floats({0.5f, 0.0f, 0.125f, 1.0f, 0.5f, 0.25f, 0.125f, 0.75f, 0.5f, 0.5f,
                                   0.125f, 0.5f, 0.5f, 0.75f, 0.125f, 0.25f}));
    EXPECT_EQ(&corners->corner(9), &corners->corner(3));

    MultiplyVertexColorEffect multiply;
    multiply.corner(0).red = 0.5f;
    multiply.corner(3).alpha = 0.5f;
    got = paint(&multiply, 1.0f, got);
    EXPECT_EQ(got.vertex[0].red, 0.25f);
    EXPECT_EQ(got.vertex[3].alpha, 0.125f);
    EXPECT_EQ(got.vertex[1].green, 0.25f);

    FieldRecorder fields;
    EXPECT_TRUE(corners->onStream(host, fields));
    ASSERT_EQ(fields.fields.size(), 16u);
    EXPECT_EQ(fields.fields[0], "float 'Top left red' 0.500000");
    EXPECT_EQ(fields.fields[7], "float 'Top right alpha' 0.750000");
    EXPECT_EQ(fields.fields[9], "float 'Bottom right green' 0.500000");
    EXPECT_EQ(fields.fields[15], "float 'Bottom left alpha' 0.250000");
    FieldRecorder failing;
    failing.budget = 6;
    EXPECT_FALSE(corners->onStream(host, failing));
    EXPECT_EQ(failing.fields.size(), 6u);
}

TEST_F(EffectTest, BlendFunctions) {
    BlendFuncEffect* byName = effect<BlendFuncEffect>();
    PaintData got = paint(byName, 1.0f);
    EXPECT_EQ(got.sourceBlendFunc, 7);
    EXPECT_EQ(got.destinationBlendFunc, 8);
    BlendFuncEffect additive(2, 2);
    got = paint(&additive, 0.0f, picture(), nullptr, true);
    EXPECT_EQ(got.sourceBlendFunc, 2);
    EXPECT_EQ(got.destinationBlendFunc, 2);
    EXPECT_EQ(colors(got), Floats(16, 1.0f));

    EXPECT_EQ(BlendFuncEffect::nextBlendFuncIndex(0), 1);
    EXPECT_EQ(BlendFuncEffect::nextBlendFuncIndex(11), 12);
    EXPECT_EQ(BlendFuncEffect::nextBlendFuncIndex(12), 0);
    EXPECT_EQ(BlendFuncEffect::nextBlendFuncIndex(-1), 0);
    FieldRecorder fields;
    EXPECT_TRUE(additive.onStream(host, fields));
    EXPECT_EQ(fields.fields, std::vector<std::string>(
                                 {"index 'Source blend func' 2 One [1,2,3,4,5,6,7,8,9,10,11,]",
                                  "index 'Destination blend func' 2 One "
                                  "[1,2,3,4,5,6,7,8,9,10,11,]"}));
}

TEST_F(EffectTest, ClipsAndMovingClips) {
    // Created by name, the clip is an empty rectangle at the origin.
    ClipEffect* empty = effect<ClipEffect>();
    paint(empty, 1.0f);
    EXPECT_EQ(lastClip(), Floats({0, 0, 0, 0, 0}));

    ClipEffect clip;
    clip.clip() = Rectangle{0.0f, 0.0f, 100.0f, 40.0f, 0.0f};
    Rectangle inForce{50.0f, 20.0f, 100.0f, 100.0f, 3.0f};
    PaintData data = picture();
    data.clipRect = &inForce;
    paint(&clip, 1.0f, data);
    EXPECT_EQ(lastClip(), Floats({50, 20, 50, 20, 0}));  // both at once
    EXPECT_EQ(valuesOf(inForce), Floats({50, 20, 100, 100, 3}));

    Rectangle apart{500.0f, 500.0f, 10.0f, 10.0f, 0.0f};
    data.clipRect = &apart;
    paint(&clip, 1.0f, data, nullptr, true);
    EXPECT_EQ(lastClip(), Floats({0, 0, 100, 40, 0}));  // no overlap: its own alone

    // Nested clips: the outer effect sees the inner effect's clip in force.
    ClipEffect outer;
    outer.clip() = Rectangle{-10.0f, 10.0f, 200.0f, 200.0f, 0.0f};
    EffectPipe outerElement;
    outerElement.effect = &outer;
    paint(&clip, 1.0f, picture(), &outerElement);
    EXPECT_EQ(lastClip(), Floats({0, 10, 100, 30, 0}));

    MoveClipEffect moving;
    moving.clip() = Rectangle{10.0f, 20.0f, 30.0f, 40.0f, 0.0f};
    moving.length() = 100.0f;
    paint(&moving, 1.0f);
    EXPECT_EQ(lastClip(), Floats({10, 20, 30, 40, 0}));
    paint(&moving, 0.0f);
    EXPECT_EQ(lastClip(), Floats({-90, 20, 30, 40, 0}));
    paint(&moving, 0.75f);
    EXPECT_EQ(lastClip(), Floats({-15, 20, 30, 40, 0}));
    moving.direction() = quarterTurn;
    paint(&moving, 0.5f);
    Floats seen = lastClip();
    EXPECT_FLOAT_EQ(seen[0], 10.0f);
    EXPECT_FLOAT_EQ(seen[1], 70.0f);
    Rectangle small{0.0f, 0.0f, 20.0f, 100.0f, 0.0f};
    data.clipRect = &small;
    paint(&moving, 1.0f, data);
    EXPECT_EQ(lastClip(), Floats({10, 20, 10, 40, 0}));

    FieldRecorder fields;
    EXPECT_TRUE(moving.onStream(host, fields));
    std::vector<std::string> labels;
    for (const std::string& field : fields.fields)
        labels.push_back(field.substr(0, field.rfind(' ')));
    EXPECT_EQ(labels,
              std::vector<std::string>({"float 'X'", "float 'Y'", "float 'Width'", "float 'Height'",
                                        "float 'Move length'", "float 'Move direction'"}));
}

TEST_F(EffectTest, Moving) {
    MoveEffect* still = effect<MoveEffect>();
    EXPECT_EQ(positions(paint(still, 0.0f)), positions(picture()));  // no length variable

    // Without a direction it displaces towards negative x.
    MoveEffect move;
    move.length() = variable(100.0f);
    EXPECT_EQ(positions(paint(&move, 0.0f)), Floats({-90, 30, -50, 30, -50, 50, -90, 50}));
    EXPECT_EQ(positions(paint(&move, 0.75f)), Floats({-15, 30, 25, 30, 25, 50, -15, 50}));
    EXPECT_EQ(positions(paint(&move, 1.0f)), positions(picture()));

    // The clip in force travels with the content, and is put back after.
    Rectangle inForce{0.0f, 0.0f, 60.0f, 60.0f, 1.0f};
    PaintData data = picture();
    data.clipRect = &inForce;
    paint(&move, 0.5f, data);
    EXPECT_EQ(lastClip(), Floats({-50, 0, 60, 60, 1}));
    EXPECT_EQ(paint(&move, 0.5f).clipRect, nullptr);
    EXPECT_EQ(lastClip(), Floats());

    move.direction() = variable(quarterTurn);
    PaintData got = paint(&move, 0.5f, data, nullptr, true);
    EXPECT_FLOAT_EQ(got.vertex[0].x, 10.0f);
    EXPECT_FLOAT_EQ(got.vertex[0].y, 80.0f);
    EXPECT_FLOAT_EQ(got.vertex[2].y, 100.0f);
    EXPECT_FLOAT_EQ(lastClip()[1], 50.0f);
    EXPECT_EQ(got.vertex[0].z, 2.0f);

    MoveNoClipEffect noClip;
    noClip.length() = move.length();
    paint(&noClip, 0.0f, data);
    EXPECT_EQ(positions(host.painted.back()), Floats({-90, 30, -50, 30, -50, 50, -90, 50}));
    EXPECT_EQ(lastClip(), Floats({0, 0, 60, 60, 1}));
    noClip.length() = nullptr;

    // Easing out: the full length at 0, nothing left at 1, past the linear
    // move halfway.
    SinMoveEffect ease;
    ease.length() = move.length();
    EXPECT_EQ(paint(&ease, 0.0f, data).vertex[0].x, -90.0f);
    EXPECT_EQ(lastClip(), Floats({-100, 0, 60, 60, 1}));
    EXPECT_EQ(positions(paint(&ease, 1.0f)), positions(picture()));
    float shift = 100.0f * (1.0f - std::sin(0.5f * 1.57075f));
    got = paint(&ease, 0.5f);
    EXPECT_FLOAT_EQ(got.vertex[1].x, 50.0f - shift);
    EXPECT_GT(got.vertex[1].x, 0.0f);  // linear would give exactly 0
    ease.length() = nullptr;
    move.length() = nullptr;
    move.direction() = nullptr;

    ReferenceRecorder references;
    EXPECT_TRUE(ease.onStream(host, references));
    ASSERT_EQ(references.labels.size(), 2u);
    EXPECT_EQ(references.labels[0].substr(0, 12), "Move length:");
    EXPECT_EQ(references.labels[1].substr(0, 15), "Move direction:");
}

TEST_F(EffectTest, Rotating) {
    // A square of side 2 around (0, 0).
    PaintData square;
    const float xs[4] = {-1, 1, 1, -1};
    const float ys[4] = {-1, -1, 1, 1};
    for (int i = 0; i < 4; ++i) {
        square.vertex[i].x = xs[i];
        square.vertex[i].y = ys[i];
        square.vertex[i].u = 0.5f;
    }
    RotateEffect* still = effect<RotateEffect>();
    EXPECT_EQ(positions(paint(still, 1.0f, square)), positions(square));

    RotateEffect rotate;
    rotate.angleMultiplier() = variable(2.0f * quarterTurn);
    PaintData got = paint(&rotate, 0.5f, square);  // a quarter turn about its centre
    const float expected[8] = {-1, 1, -1, -1, 1, -1, 1, 1};
    Floats seen = positions(got);
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(seen[i], expected[i], 1e-6f) << i;
    EXPECT_EQ(got.vertex[2].u, 0.5f);
    rotate.startAngle() = variable(quarterTurn);
    seen = positions(paint(&rotate, 0.0f, square));
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(seen[i], expected[i], 1e-6f) << i;

    // Moved away from the origin, it still turns about its own centre.
    PaintData shifted = square;
    for (Vertex& v : shifted.vertex)
        v.x += 10.0f;
    seen = positions(paint(&rotate, 0.0f, shifted));
    EXPECT_NEAR(seen[0], 9.0f, 1e-5f);
    EXPECT_NEAR(seen[1], 1.0f, 1e-5f);

    RotateAroundCoordinateEffect around;
    around.startAngle() = rotate.startAngle();
    around.angleMultiplier() = rotate.angleMultiplier();
    around.x() = variable(1.0f);
    around.y() = variable(1.0f);
    seen = positions(paint(&around, 0.5f, square));  // half a turn about (1, 1)
    const float turned[8] = {3, 3, 1, 3, 1, 1, 3, 1};
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(seen[i], turned[i], 1e-5f) << i;
    RotateAroundCoordinateEffect* origin = effect<RotateAroundCoordinateEffect>();
    origin->startAngle() = rotate.startAngle();
    seen = positions(paint(origin, 1.0f, shifted));  // about (0, 0), not the centre
    EXPECT_NEAR(seen[0], -1.0f, 1e-5f);
    EXPECT_NEAR(seen[1], -9.0f, 1e-5f);
    origin->startAngle() = nullptr;

    ReferenceRecorder references;
    EXPECT_TRUE(around.onStream(host, references));
    std::vector<std::string> labels;
    for (const std::string& label : references.labels)
        labels.push_back(label.substr(0, label.find(':')));
    EXPECT_EQ(labels, std::vector<std::string>({"Start angle", "Angle multiplyer", "X", "Y"}));
    rotate.startAngle() = rotate.angleMultiplier() = nullptr;
    around.startAngle() = around.angleMultiplier() = around.x() = around.y() = nullptr;
}

TEST_F(EffectTest, SplitAppliesTwoAsOne) {
    SplitEffect* split = effect<SplitEffect>();
    EXPECT_EQ(colors(paint(split, 0.5f)), Floats(16, 1.0f));  // neither set

    ColorEffect* first = make<ColorEffect>(split->effect1());
    first->color() = Color{0.5f, 0.5f, 0.5f, 0.8f};
    MultiplyColorEffect* second = make<MultiplyColorEffect>(split->effect2());
    second->color() = Color{0.5f, 0.5f, 0.5f, 0.5f};
    // Effect 2 runs first, so effect 1's colour is what remains.
    EXPECT_EQ(colors(paint(split, 1.0f)).back(), 0.8f);
    EXPECT_EQ(colors(paint(split, 1.0f))[0], 0.5f);

    // Both run at the split's level: fade (effect 1) after colour (effect 2).
    Object::clear(host, split->effect1());
    Object::clear(host, split->effect2());
    make<AlphaFadeEffect>(split->effect1());
    make<ColorEffect>(split->effect2());
    static_cast<ColorEffect*>(split->effect2())->color().alpha = 0.8f;
    PaintData got = paint(split, 0.5f, picture(), nullptr, true);
    EXPECT_FLOAT_EQ(got.vertex[1].alpha, 0.4f);
    EXPECT_EQ(host.calls.back(), "charPaint 65 3");

    // With one of them, that one alone; then the enclosing effects.
    Object::clear(host, split->effect2());
    AlphaFadeEffect outerFade;
    EffectPipe outer;
    outer.effect = &outerFade;
    outer.effectLevel = 0.5f;
    EXPECT_EQ(paint(split, 0.5f, picture(), &outer).vertex[0].alpha, 0.25f);
    Object::clear(host, split->effect1());
    make<AlphaFadeEffect>(split->effect2());
    EXPECT_EQ(paint(split, 0.25f).vertex[3].alpha, 0.25f);

    // Update runs effect 1, then effect 2 only while the first succeeds.
    Object::clear(host, split->effect2());
    TallyEffect* one = make<TallyEffect>(split->effect1());
    TallyEffect* two = make<TallyEffect>(split->effect2());
    EXPECT_TRUE(Effect::update(host, split, 0.25f));
    EXPECT_EQ(one->total, 0.25f);
    EXPECT_EQ(two->total, 0.25f);
    one->result = false;
    EXPECT_FALSE(Effect::update(host, split, 0.5f));
    EXPECT_EQ(one->calls, 2);
    EXPECT_EQ(two->calls, 1);
    one->result = true;
    two->result = false;
    EXPECT_FALSE(Effect::update(host, split, 0.5f));
    EXPECT_EQ(two->calls, 2);

    ReferenceRecorder references;
    EXPECT_TRUE(split->onStream(host, references));
    ASSERT_EQ(references.seen.size(), 2u);
    EXPECT_EQ(references.seen[0], one);
    EXPECT_EQ(references.seen[1], two);
    EXPECT_EQ(references.labels[0].substr(0, 9), "Effect 1:");
    EXPECT_EQ(references.labels[1].substr(0, 9), "Effect 2:");
}

// A split that holds itself stops at the walk depth limit instead of
// exhausting the stack.
TEST_F(EffectTest, SplitHoldingItselfEnds) {
    SplitEffect* split = effect<SplitEffect>();
    split->effect1() = split;
    PaintData got = paint(split, 1.0f);
    EXPECT_EQ(positions(got), positions(picture()));
    EXPECT_TRUE(Effect::update(host, split, 1.0f));
    split->effect1() = nullptr;
}

}  // namespace
}  // namespace kova_test
