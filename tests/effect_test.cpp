// The concrete effects: what the host receives when a record passes through a
// pipe element holding each of them at a given level.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "test_support.h"

namespace kova_test {
namespace {

using Lines = std::vector<std::string>;

// Effects in the text form, with three shorthands: =v for a variable
// holding v, rgba(r,g,b,a) for a colour's fields and <corner>(r,g,b,a) for a
// corner's.
std::string expanded(const std::string& text) {
    const std::string number = "(-?[\\d.]+)", four = "\\(([^,]+),([^,]+),([^,]+),([^)]+)\\)";
    std::string out =
        std::regex_replace(text, std::regex("=" + number), "FloatData { Value <do not edit>: $1 }");
    out =
        std::regex_replace(out, std::regex("rgba" + four), "Red: $1 Green: $2 Blue: $3 Alpha: $4");
    return std::regex_replace(out, std::regex("((Top|Bottom) (left|right))" + four),
                              "$1 red: $4 $1 green: $5 $1 blue: $6 $1 alpha: $7");
}

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
    // effect | level | the record reaching the host, its corners when they
    // do not lead | the clip in force, "x,y,width,height,depth" | the outer
    // element's effect.

    // A colour set inside is tinted outside, and not the other way round. A
    // clip is its own within the one in force; a moving clip stands length
    // away along its direction at 0 and at its place at 1. Moves come in from
    // length away (from the left without a direction) as the level rises; the
    // clip in force goes with them, but not with MoveNoClipEffect; easing out
    // keeps less than linear halfway. Turns are about the picture's centre
    // (30, 40) or a point of their own. A split applies effect 2, then effect
    // 1, both at its own level.
    for (
        Lines row : tableRows(
            R"(ColorEffect { rgba(0.5,0.5,0.5,0.8) } | 1 | rgba 0.25,0.25,0.25,0.4 |  | MultiplyColorEffect { rgba(0.5,0.5,0.5,0.5) }
        MultiplyColorEffect { rgba(0.5,0.5,0.5,0.5) } | 1 | rgba 0.5,0.5,0.5,0.8 |  | ColorEffect { rgba(0.5,0.5,0.5,0.8) }
        AlphaFadeEffect {} | 0.5 | rgba 1,1,1,0.25 |  | AlphaFadeEffect {}
        VertexColorEffect { Top left(0.5,0,0.125,1) Top right(0.5,0.25,0.125,0.75) Bottom right(0.5,0.5,0.125,0.5) Bottom left(0.5,0.75,0.125,0.25) } | 0 | rgba 0.5,0,0.125,1|0.5,0.25,0.125,0.75|0.5,0.5,0.125,0.5|0.5,0.75,0.125,0.25
        MultiplyVertexColorEffect { Top left(0.5,1,1,1) Top right(1,1,1,1) Bottom right(1,1,1,1) Bottom left(1,1,1,0.5) } | 1 | rgba 0.5,1,1,1|1,1,1,1|1,1,1,1|1,1,1,0.5
        BlendFuncEffect { Source blend func: One Destination blend func: 2 } | 0 | blend 2,2
        ClipEffect { X: 0 Y: 0 Width: 100 Height: 40 } | 1 | clip 50,20,50,20,0 | 50,20,100,100,3
        MoveClipEffect { X: 10 Y: 20 Width: 30 Height: 40 Move length: 100 Move direction: 1.5707964 } | 0.5 | clip 10,70,30,40,0
        MoveEffect { Move length: null Move direction: null } | 0 | 10,30 50,30 50,50 10,50
        MoveEffect { Move length: =100 Move direction: =1.5707964 } | 0.5 | 10,80 50,80 50,100 10,100 clip 0,50,60,60,1 | 0,0,60,60,1
        MoveNoClipEffect { Move length: =100 Move direction: null } | 0 | -90,30 -50,30 -50,50 -90,50 clip 0,0,60,60,1 | 0,0,60,60,1
        SinMoveEffect { Move length: =100 Move direction: null } | 0 | -90,30 -50,30 -50,50 -90,50 clip -100,0,60,60,1 | 0,0,60,60,1
        SinMoveEffect { Move length: =100 Move direction: null } | 0.5 | -19.291,30 20.709,30 20.709,50 -19.291,50
        RotateEffect { Start angle: null Angle multiplyer: =3.1415927 } | 0.5 | 20,60 20,20 40,20 40,60
        RotateAroundCoordinateEffect { Start angle: =1.5707964 Angle multiplyer: =3.1415927 X: =1 Y: =1 } | 0.5 | -8,-28 -48,-28 -48,-48 -8,-48
        SplitEffect { Effect 1: AlphaFadeEffect {} Effect 2: ColorEffect { rgba(0.5,0.5,0.5,0.8) } } | 0.5 | rgba 0.5,0.5,0.5,0.4)")) {
        SCOPED_TRACE(row[0] + " at " + row[1]);
        row.resize(5);
        const std::string expected =
            row[2][0] >= 'a' ? "10,30 50,30 50,50 10,50 " + row[2] : row[2];
        Effect* effect = static_cast<Effect*>(readObject(host, expanded(row[0])));
        Effect* outerEffect =
            row[4].empty() ? nullptr : static_cast<Effect*>(readObject(host, expanded(row[4])));
        EffectPipe noting{nullptr, &note}, outer{&noting, outerEffect, 0, 1, 0, 1, 0.5f},
            empty{&outer},
            element{&empty, effect, 0, 1, 0, 1, std::strtof(row[1].c_str(), nullptr)};
        for (bool glyph : {false, true}) {
            PaintData data;
            for (int i = 0; i < 4; ++i)
                data.vertex[i] =
                    Vertex{i % 3 ? 50.0f : 10.0f, i < 2 ? 30.0f : 50.0f, 0, 0, 0, 1, 1, 1, 1};
            Rectangle inForce;
            std::sscanf(row[3].c_str(), "%f,%f,%f,%f,%f", &inForce.x, &inForce.y, &inForce.width,
                        &inForce.height, &inForce.z);
            Rectangle* const given = data.clipRect = row[3].empty() ? nullptr : &inForce;
            const Floats before = valuesOf(inForce);
            host.paints.clear(), note.indexes.clear();
            EXPECT_TRUE(glyph ? element.charPaint(host, 'A', 3, 7, data)
                              : element.picturePaint(host, 5, data));
            EXPECT_EQ(host.paints, Lines{(glyph ? "char 65 font 3: " : "picture 5: ") + expected});
            EXPECT_EQ(note.indexes, glyph ? std::vector<int>{7} : std::vector<int>{});
            EXPECT_TRUE(data.clipRect == given && valuesOf(inForce) == before);
        }
        Object::clear(host, effect), Object::clear(host, outerEffect);
    }
}

// Updating a split runs effect 1, then effect 2 while the first succeeds; a
// split that holds itself stops at the walk depth limit, and says so once.
TEST_F(EffectTest, SplitsUpdateBothAndEndWhenTheyHoldThemselves) {
    NoteEffect one, two;
    SplitEffect split;
    split.effect1() = &one;
    split.effect2() = &two;
    for (int results : {3, 1, 2}) {  // effect 1's in bit 0, effect 2's in bit 1
        one.result = results & 1;
        two.result = results & 2;
        EXPECT_EQ(Effect::update(host, &split, 0.25f), results == 3);
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

}  // namespace
}  // namespace kova_test
