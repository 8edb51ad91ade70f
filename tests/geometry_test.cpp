// The paint records and their operations.
#include <gtest/gtest.h>

#include "test_support.h"

namespace kova_test {
namespace {

// A 40 x 60 quadrilateral at (10, 20), depth 3, whose corner i has u 0.1 i,
// v 0.2 i and red 0.25 i, so every exchange of corners shows. Mirroring
// exchanges where corners are and what colour they carry, but the texture
// coordinates stay with their corner.
PaintData quad() {
    PaintData data;
    const float xs[4] = {10, 50, 50, 10}, ys[4] = {20, 20, 80, 80};
    for (int i = 0; i < 4; ++i) {
        const float f = static_cast<float>(i);
        data.vertex[i] = Vertex{xs[i], ys[i], 3, 0.1f * f, 0.2f * f, 0.25f * f, 1, 1, 1};
    }
    return data;
}

TEST(GeometryTest, RectanglesClipToEachOther) {
    struct Row {
        const char* name;
        Rectangle area, clip;
        bool overlaps;
        Floats expected;
    };
    const Row rows[] = {
        {"overlap", {0, 0, 100, 50, 7}, {20, -10, 200, 30, 0}, true, {20, 0, 80, 20, 7}},
        {"around", {-50, -50, 200, 200, 0}, {0, 10, 20, 30, 0}, true, {0, 10, 20, 30, 0}},
        {"touching left", {0, 0, 10, 10, 0}, {10, 0, 10, 10, 0}, true, {10, 0, 0, 10, 0}},
        {"touching top", {0, 0, 10, 10, 0}, {0, 10, 10, 10, 0}, true, {0, 10, 10, 0, 0}},
        {"right of it", {0, 0, 10, 10, 3}, {10.5f, 0, 10, 10, 0}, false, {0, 0, 10, 10, 3}},
        {"below it", {0, 0, 10, 10, 3}, {0, 11, 10, 10, 0}, false, {0, 0, 10, 10, 3}},
        {"left of it", {0, 0, 10, 10, 3}, {-11, 0, 10, 10, 0}, false, {0, 0, 10, 10, 3}},
        {"above it", {0, 0, 10, 10, 3}, {0, -20, 10, 10, 0}, false, {0, 0, 10, 10, 3}},
    };
    for (const Row& row : rows) {
        Rectangle area = row.area;
        EXPECT_EQ(area.clipTo(row.clip), row.overlaps) << row.name;
        EXPECT_EQ(valuesOf(area), row.expected) << row.name;
    }
}

TEST(GeometryTest, ColoursFadeCornersInterpolateAndBlendsHaveNames) {
    const Color from{0.0f, 0.5f, 1.0f, 0.2f};
    Color out;
    from.fadeTo(out, 1.0f, 0.3f, 0.4f, 0.5f, 0.6f);
    EXPECT_EQ(valuesOf(out), (Floats{0.3f, 0.4f, 0.5f, 0.6f}));
    from.fadeTo(out, 0.5f, 1.0f, 0.5f, 0.0f, 0.0f);
    EXPECT_EQ(valuesOf(out), (Floats{0.5f, 0.5f, 0.5f, 0.1f}));

    // A corner cut at a clip edge keeps its own texture coordinate.
    Vertex a{0.0f, 10.0f, 2.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f};
    Vertex b{100.0f, 30.0f, 4.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.0f};
    Vertex cut;
    cut.u = 0.75f;
    cut.v = 0.125f;
    cut.calculateClip(a, b, 0.25f);
    EXPECT_EQ(valuesOf(cut), (Floats{25.0f, 15.0f, 2.5f, 0.75f, 0.125f, 0.25f, 1.0f, 1.0f, 0.75f}));
    EXPECT_EQ(PaintData::blendFuncName(-1), nullptr);  // no blend function below 0
}

TEST(GeometryTest, QuadrilateralsTurnStretchAndMirror) {
    PaintData turned = quad(), stretched = quad(), mirrored = quad(), flipped = quad();
    turned.rotateZ(Coordinate2{0, 0}, 1.5707964f);
    stretched.stretchZ(Coordinate2{2, 3});
    mirrored.flipHorizontal();
    flipped.flipVertical();
    const std::string reds = " z3 rgba 0,1,1,1|0.25,1,1,1|0.5,1,1,1|0.75,1,1,1",
                      uv = " uv-off 0,0|0.1,0.2|0.2,0.4|0.3,0.6";
    // Anticlockwise on a screen whose y grows downwards: (10, 20) goes to
    // (20, -10).
    EXPECT_EQ((std::vector<std::string>{describePaint(turned), describePaint(stretched),
                                        describePaint(mirrored), describePaint(flipped)}),
              (std::vector<std::string>{
                  "20,-10 20,-50 80,-50 80,-10" + reds + uv, "8,17 52,17 52,83 8,83" + reds + uv,
                  "50,20 10,20 10,80 50,80 z3 rgba 0.25,1,1,1|0,1,1,1|0.75,1,1,1|0.5,1,1,1" + uv,
                  "10,80 50,80 50,20 10,20 z3 rgba 0.75,1,1,1|0.5,1,1,1|0.25,1,1,1|0,1,1,1" + uv}));
    Coordinate3 centre;
    turned.averageCoordinate(centre);
    EXPECT_EQ((Floats{centre.x, centre.y, centre.z}), (Floats{50, -30, 3}));
}

// The failing field ends each stream.
TEST(GeometryTest, RecordsStopStreamingAtAFailingField) {
    for (int budget = 1; budget <= 4; ++budget) {
        FieldRecorder colourFields, areaFields;
        colourFields.budget = areaFields.budget = budget;
        Color colour;
        Rectangle area;
        EXPECT_FALSE(colour.stream(colourFields)) << budget;
        EXPECT_FALSE(area.stream(areaFields)) << budget;
        EXPECT_EQ((Floats{float(colourFields.fields.size()), float(areaFields.fields.size())}),
                  Floats(2, float(budget)));
    }
}

}  // namespace
}  // namespace kova_test
