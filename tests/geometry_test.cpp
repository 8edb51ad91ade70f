// The paint records and their operations.
#include <gtest/gtest.h>

#include <tuple>

#include "test_support.h"

namespace kova_test {
namespace {

using Lines = std::vector<std::string>;

TEST(GeometryTest, RectanglesClipToEachOther) {
    const std::tuple<Rectangle, Rectangle, bool, Floats> rows[] = {
        {{0, 0, 100, 50, 7}, {20, -10, 200, 30, 0}, true, {20, 0, 80, 20, 7}},
        {{-50, -50, 200, 200, 0}, {0, 10, 20, 30, 0}, true, {0, 10, 20, 30, 0}},
        {{0, 0, 10, 10, 0}, {10, 0, 10, 10, 0}, true, {10, 0, 0, 10, 0}},
        {{0, 0, 10, 10, 0}, {0, 10, 10, 10, 0}, true, {0, 10, 10, 0, 0}},
        // Wholly off the clip, on each side: the area stays as it was.
        {{0, 0, 10, 10, 3}, {10.5f, 0, 10, 10, 0}, false, {0, 0, 10, 10, 3}},
        {{0, 0, 10, 10, 3}, {0, 11, 10, 10, 0}, false, {0, 0, 10, 10, 3}},
        {{0, 0, 10, 10, 3}, {-11, 0, 10, 10, 0}, false, {0, 0, 10, 10, 3}},
        {{0, 0, 10, 10, 3}, {0, -20, 10, 10, 0}, false, {0, 0, 10, 10, 3}},
    };
    for (auto [area, clip, overlaps, expected] : rows) {
        EXPECT_EQ(area.clipTo(clip), overlaps) << describeArea(clip);
        EXPECT_EQ(valuesOf(area), expected) << describeArea(clip);
    }
}

// Fades, and a corner cut at a clip edge, which keeps its own texture
// coordinate.
TEST(GeometryTest, ColoursFadeAndCornersInterpolate) {
    const Color from{0.0f, 0.5f, 1.0f, 0.2f};
    Color out, half;
    from.fadeTo(out, 1.0f, 0.3f, 0.4f, 0.5f, 0.6f);
    from.fadeTo(half, 0.5f, 1.0f, 0.5f, 0.0f, 0.0f);
    EXPECT_EQ(valuesOf(out), (Floats{0.3f, 0.4f, 0.5f, 0.6f}));
    EXPECT_EQ(valuesOf(half), (Floats{0.5f, 0.5f, 0.5f, 0.1f}));
    Vertex cut{0, 0, 0, 0.75f, 0.125f, 0, 0, 0, 0};
    Vertex a{0, 10, 2, 0, 0, 0, 1, 1, 1}, b{100, 30, 4, 0, 0, 1, 1, 1, 0};
    cut.calculateClip(a, b, 0.25f);
    EXPECT_EQ(valuesOf(cut), (Floats{25.0f, 15.0f, 2.5f, 0.75f, 0.125f, 0.25f, 1.0f, 1.0f, 0.75f}));
}

// A 40 x 60 quadrilateral at (10, 20), depth 3, whose corner i has u 0.1 i,
// v 0.2 i and red 0.25 i, so every exchange of corners shows. Mirroring
// exchanges where corners are and what colour they carry, but the texture
// coordinates stay with their corner. Turning is anticlockwise on a screen
// whose y grows downwards: (10, 20) goes to (20, -10).
TEST(GeometryTest, QuadrilateralsTurnStretchAndMirror) {
    PaintData quads[4];
    for (PaintData& data : quads)
        for (int i = 0; i < 4; ++i)
            data.vertex[i] = Vertex{i % 3 ? 50.0f : 10.0f,
                                    i < 2 ? 20.0f : 80.0f,
                                    3,
                                    0.1f * i,
                                    0.2f * i,
                                    0.25f * i,
                                    1,
                                    1,
                                    1};
    quads[0].rotateZ(Coordinate2{0, 0}, 1.5707964f);
    quads[1].stretchZ(Coordinate2{2, 3});
    quads[2].flipHorizontal();
    quads[3].flipVertical();
    const std::string reds = " z3 rgba 0,1,1,1|0.25,1,1,1|0.5,1,1,1|0.75,1,1,1",
                      uv = " uv-off 0,0|0.1,0.2|0.2,0.4|0.3,0.6";
    EXPECT_EQ(
        (Lines{describePaint(quads[0]), describePaint(quads[1]), describePaint(quads[2]),
               describePaint(quads[3])}),
        (Lines{"20,-10 20,-50 80,-50 80,-10" + reds + uv, "8,17 52,17 52,83 8,83" + reds + uv,
               "50,20 10,20 10,80 50,80 z3 rgba 0.25,1,1,1|0,1,1,1|0.75,1,1,1|0.5,1,1,1" + uv,
               "10,80 50,80 50,20 10,20 z3 rgba 0.75,1,1,1|0.5,1,1,1|0.25,1,1,1|0,1,1,1" + uv}));
    Coordinate3 centre;
    quads[0].averageCoordinate(centre);
    EXPECT_EQ((Floats{centre.x, centre.y, centre.z}), (Floats{50, -30, 3}));
}

}  // namespace
}  // namespace kova_test
