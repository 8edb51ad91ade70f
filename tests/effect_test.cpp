// The concrete effects: what the host receives when a record passes through a
// pipe element holding each of them at a given level.
#include <gtest/gtest.h>

#include <cstdio>

#include "test_support.h"

namespace kova_test {
namespace {

using Lines = std::vector<std::string>;

// A variable holding v, a colour's fields and a corner's, in the text form.
#define VALUE(v) "FloatData { Value <do not edit>: " #v " }"
#define RGBA(r, g, b, a) " Red: " #r " Green: " #g " Blue: " #b " Alpha: " #a " "
#define CORNER(c, r, g, b, a) \
    " " c " red: " #r " " c " green: " #g " " c " blue: " #b " " c " alpha: " #a

// Notes the glyph positions it is handed, and counts its updates with a
// chosen result.
class NoteEffect : public Effect {
public:
    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override {
        indexes.push_back(index);
        return Effect::charPaint(system, character, font, index, data, self);
    }
    bool onUpdate(System&, float elapsed) override {
        total += elapsed;
        return result;
    }
    std::vector<int> indexes;
    float total = 0.0f;
    bool result = true;
};

using EffectTest = HostTest<PaintLogHost>;

// A white picture of 40 x 20 at (10, 30) goes through an element holding
// the effect at the level, then one without an effect, which is passed
// over, then one whose effect runs at 0.5, then one that notes glyph
// positions; as a glyph it takes the same road. Each effect passes the item
// on once, and a clip it puts in force is the caller's own again afterwards.
TEST_F(EffectTest, RecordsReachTheHostChanged) {
    NoteEffect note;
    struct Row {
        std::string effect;
        float level;
        std::string expected;
        const char* clip = "";  // the clip in force, "x,y,width,height,depth"
        const char* outer = "";
    };
    const std::string picture = "10,30 50,30 50,50 10,50";
    const Row rows[] = {
        // A colour set inside is tinted outside, and not the other way round.
        {"ColorEffect {" RGBA(0.5, 0.5, 0.5, 0.8) "}", 1, picture + " rgba 0.25,0.25,0.25,0.4", "",
         "MultiplyColorEffect {" RGBA(0.5, 0.5, 0.5, 0.5) "}"},
        {"MultiplyColorEffect {" RGBA(0.5, 0.5, 0.5, 0.5) "}", 1, picture + " rgba 0.5,0.5,0.5,0.8",
         "", "ColorEffect {" RGBA(0.5, 0.5, 0.5, 0.8) "}"},
        {"AlphaFadeEffect {}", 0.5f, picture + " rgba 1,1,1,0.25", "", "AlphaFadeEffect {}"},
        {"VertexColorEffect {" CORNER("Top left", 0.5, 0, 0.125, 1) CORNER(
             "Top right", 0.5, 0.25, 0.125, 0.75) CORNER("Bottom right", 0.5, 0.5, 0.125, 0.5)
             CORNER("Bottom left", 0.5, 0.75, 0.125, 0.25) " }",
         0,
         picture + " rgba 0.5,0,0.125,1|0.5,0.25,0.125,0.75|0.5,0.5,0.125,0.5|0.5,0.75,0.125,0.25"},
        {"MultiplyVertexColorEffect {" CORNER("Top left", 0.5, 1, 1, 1)
             CORNER("Top right", 1, 1, 1, 1) CORNER("Bottom right", 1, 1, 1, 1)
                 CORNER("Bottom left", 1, 1, 1, 0.5) " }",
         1, picture + " rgba 0.5,1,1,1|1,1,1,1|1,1,1,1|1,1,1,0.5"},
        {"BlendFuncEffect { Source blend func: One Destination blend func: 2 }", 0,
         picture + " blend 2,2"},
        // A clip: its own within the one in force.
        {"ClipEffect { X: 0 Y: 0 Width: 100 Height: 40 }", 1, picture + " clip 50,20,50,20,0",
         "50,20,100,100,3"},
        // A moving clip stands length away along its direction at 0 and at its
        // place at 1.
        {"MoveClipEffect { X: 10 Y: 20 Width: 30 Height: 40 Move length: 100 Move direction: "
         "1.5707964 }",
         0.5f, picture + " clip 10,70,30,40,0"},
        // Moves come in from length away (from the left without a direction)
        // as the level rises; the clip in force goes with them, but not with
        // MoveNoClipEffect.
        {"MoveEffect { Move length: null Move direction: null }", 0, picture},
        {"MoveEffect { Move length: " VALUE(100) " Move direction: " VALUE(1.5707964) "}", 0.5f,
         "10,80 50,80 50,100 10,100 clip 0,50,60,60,1", "0,0,60,60,1"},
        {"MoveNoClipEffect { Move length: " VALUE(100) " Move direction: null }", 0,
         "-90,30 -50,30 -50,50 -90,50 clip 0,0,60,60,1", "0,0,60,60,1"},
        // Easing out: the whole length at 0, less than linear halfway.
        {"SinMoveEffect { Move length: " VALUE(100) " Move direction: null }", 0,
         "-90,30 -50,30 -50,50 -90,50 clip -100,0,60,60,1", "0,0,60,60,1"},
        {"SinMoveEffect { Move length: " VALUE(100) " Move direction: null }", 0.5f,
         "-19.291,30 20.709,30 20.709,50 -19.291,50"},
        // Turns about the picture's centre (30, 40) or a point of its own.
        {"RotateEffect { Start angle: null Angle multiplyer: " VALUE(3.1415927) "}", 0.5f,
         "20,60 20,20 40,20 40,60"},
        {"RotateAroundCoordinateEffect { Start angle: " VALUE(
             1.5707964) " Angle multiplyer: " VALUE(3.1415927) " X: " VALUE(1) " Y: " VALUE(1) "}",
         0.5f, "-8,-28 -48,-28 -48,-48 -8,-48"},
        // A split applies effect 2, then effect 1, both at its own level.
        {"SplitEffect { Effect 1: AlphaFadeEffect {} Effect 2: ColorEffect {" RGBA(0.5, 0.5, 0.5,
                                                                                   0.8) "} }",
         0.5f, picture + " rgba 0.5,0.5,0.5,0.4"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.effect + " at " + printed(row.level));
        Effect* effect = static_cast<Effect*>(readObject(host, row.effect));
        Effect* outerEffect =
            *row.outer ? static_cast<Effect*>(readObject(host, row.outer)) : nullptr;
        EffectPipe noting{nullptr, &note}, outer{&noting, outerEffect, 0, 1, 0, 1, 0.5f},
            empty{&outer}, element{&empty, effect, 0, 1, 0, 1, row.level};
        for (bool glyph : {false, true}) {
            PaintData data;
            for (int i = 0; i < 4; ++i)
                data.vertex[i] =
                    Vertex{i % 3 ? 50.0f : 10.0f, i < 2 ? 30.0f : 50.0f, 0, 0, 0, 1, 1, 1, 1};
            Rectangle inForce;
            std::sscanf(row.clip, "%f,%f,%f,%f,%f", &inForce.x, &inForce.y, &inForce.width,
                        &inForce.height, &inForce.z);
            Rectangle* const given = data.clipRect = *row.clip ? &inForce : nullptr;
            const Floats before = valuesOf(inForce);
            host.paints.clear();
            note.indexes.clear();
            EXPECT_TRUE(glyph ? element.charPaint(host, 'A', 3, 7, data)
                              : element.picturePaint(host, 5, data));
            EXPECT_EQ(host.paints,
                      Lines{(glyph ? "char 65 font 3: " : "picture 5: ") + row.expected});
            EXPECT_EQ(note.indexes, glyph ? std::vector<int>{7} : std::vector<int>{});
            EXPECT_TRUE(data.clipRect == given && valuesOf(inForce) == before);
        }
        Object::clear(host, effect);
        Object::clear(host, outerEffect);
    }
}

// Updating a split runs effect 1, then effect 2 while the first succeeds; a
// split that holds itself stops at the walk depth limit, and says so once.
TEST_F(EffectTest, SplitsUpdateBothAndEndWhenTheyHoldThemselves) {
    NoteEffect one, two;
    SplitEffect split;
    split.effect1() = &one;
    split.effect2() = &two;
    const std::vector<std::pair<bool, bool>> results = {{true, true}, {false, true}, {true, false}};
    for (const auto& result : results) {
        one.result = result.first;
        two.result = result.second;
        EXPECT_EQ(Effect::update(host, &split, 0.25f), result.first && result.second);
    }
    EXPECT_EQ((Floats{one.total, two.total}), (Floats{0.75f, 0.5f}));
    AlphaFadeEffect plain;  // updating does nothing
    EXPECT_TRUE(Effect::update(host, nullptr, 1.0f) && Effect::update(host, &plain, 1.0f));

    split.effect1() = &split;
    split.effect2() = nullptr;
    EXPECT_TRUE(Effect::update(host, &split, 1.0f));
    EffectPipe element{nullptr, &split};
    PaintData data, glyph;
    EXPECT_TRUE(element.picturePaint(host, 1, data) && element.charPaint(host, 'A', 0, 0, glyph));
    EXPECT_EQ(host.paints,
              (Lines{"picture 1: 0,0 0,0 0,0 0,0", "char 65 font 0: 0,0 0,0 0,0 0,0"}));
    EXPECT_EQ(host.log.text,
              "Kova: Error: Node tree deeper than 4096 nodes; is a node its own descendant?\r\n");
}

// Corners outside 0 to 3 are the bottom left one; a failing field ends the
// corner colours.
TEST_F(EffectTest, VertexColoursGuardTheirCorners) {
    VertexColorEffect corners;
    EXPECT_TRUE(&corners.corner(9) == &corners.corner(3) &&
                &corners.corner(-1) == &corners.corner(3));
    for (int budget : {1, 6, 11, 16}) {
        FieldRecorder failing;
        failing.budget = budget;
        EXPECT_FALSE(corners.onStream(host, failing));
        EXPECT_EQ(failing.fields.size(), static_cast<size_t>(budget));
    }
}

}  // namespace
}  // namespace kova_test
