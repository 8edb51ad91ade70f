// Kova effects: objects that rewrite a paint record on its way to the host.
#pragma once

#include "kova/geometry.h"
#include "kova/runtime.h"

namespace tarn {
namespace kova {

// Base of all effects. Passing on means calling the pipe element after self;
// an effect that does not pass on suppresses the item.
class KOVA_API Effect : public Object {
    KOVA_RUNTIME_CLASS(Effect)
public:
    Effect() = default;

    virtual bool onUpdate(System& system, float elapsed);
    virtual bool charPaint(System& system, int character, int font, int index, PaintData& data,
                           EffectPipe& self);
    virtual bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self);

    static bool update(System& system, Effect* effect, float elapsed);
};

// ---- Concrete effects ------------------------------------------------------
// Each rewrites the record, passes it on once through its own element and
// returns what passing on gave. The level l of an effect is the effectLevel
// of the element it was reached through.

class Data;

// Sets the blend functions the host is asked to use.
class KOVA_API BlendFuncEffect : public Effect {
    KOVA_RUNTIME_CLASS(BlendFuncEffect)
public:
    explicit BlendFuncEffect(int sourceBlendFunc = 7, int destinationBlendFunc = 8)
        : source_(sourceBlendFunc), destination_(destinationBlendFunc) {}

    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override;
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override;
    bool onStream(System& system, Stream& stream) override;

    int& sourceBlendFunc() { return source_; }
    int& destinationBlendFunc() { return destination_; }

    static int nextBlendFuncIndex(int index);

private:
    int source_;
    int destination_;
};

// Clips what it encloses to a rectangle of its own, within any clip that is
// already in force.
class KOVA_API ClipEffect : public Effect {
    KOVA_RUNTIME_CLASS(ClipEffect)
public:
    ClipEffect() = default;

    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override;
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override;
    bool onStream(System& system, Stream& stream) override;

    Rectangle& clip() { return clip_; }

protected:
    // The clip rectangle for one item, given where this effect places its own
    // rectangle.
    static Rectangle clippedTo(const Rectangle& own, const PaintData& data);

    Rectangle clip_;
};

// A clip that slides in from length units away along direction (radians) as
// the level rises from 0 to 1.
class KOVA_API MoveClipEffect : public ClipEffect {
    KOVA_RUNTIME_CLASS(MoveClipEffect)
public:
    MoveClipEffect() = default;

    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override;
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override;
    bool onStream(System& system, Stream& stream) override;

    float& length() { return length_; }
    float& direction() { return direction_; }

private:
    Rectangle placed(const PaintData& data, float level) const;

    float length_ = 0.0f;
    float direction_ = 0.0f;
};

// Paints every corner in one colour.
class KOVA_API ColorEffect : public Effect {
    KOVA_RUNTIME_CLASS(ColorEffect)
public:
    explicit ColorEffect(float red = 1.0f, float green = 1.0f, float blue = 1.0f,
                         float alpha = 1.0f);
    explicit ColorEffect(Color& color) : color_(color) {}

    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override;
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override;
    bool onStream(System& system, Stream& stream) override;

    Color& color() { return color_; }

protected:
    Color color_;
};

// Tints every corner by one colour.
class KOVA_API MultiplyColorEffect : public ColorEffect {
    KOVA_RUNTIME_CLASS(MultiplyColorEffect)
public:
    explicit MultiplyColorEffect(float red = 1.0f, float green = 1.0f, float blue = 1.0f,
                                 float alpha = 1.0f)
        : ColorEffect(red, green, blue, alpha) {}
    explicit MultiplyColorEffect(Color& color) : ColorEffect(color) {}

    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override;
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override;
};

// Fades with the level: fully visible at 1, invisible at 0.
class KOVA_API AlphaFadeEffect : public Effect {
    KOVA_RUNTIME_CLASS(AlphaFadeEffect)
public:
    AlphaFadeEffect() = default;

    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override;
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override;
};

// Gives each corner a colour of its own, for gradients.
class KOVA_API VertexColorEffect : public Effect {
    KOVA_RUNTIME_CLASS(VertexColorEffect)
public:
    enum { TopLeft, TopRight, BottomRight, BottomLeft, CornerCount };

    VertexColorEffect() = default;

    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override;
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override;
    bool onStream(System& system, Stream& stream) override;

    // Corners outside 0 to 3 give the bottom left one rather than memory
    // beyond the table.
    Color& corner(int index);

protected:
    Color corner_[CornerCount];
};

// Tints each corner by a colour of its own.
class KOVA_API MultiplyVertexColorEffect : public VertexColorEffect {
    KOVA_RUNTIME_CLASS(MultiplyVertexColorEffect)
public:
    MultiplyVertexColorEffect() = default;

    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override;
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override;
};

// Slides what it encloses in from length units away along direction
// (radians, read from variables) as the level rises from 0 to 1; the clip in
// force moves with it.
class KOVA_API MoveEffect : public Effect {
    KOVA_RUNTIME_CLASS(MoveEffect)
public:
    MoveEffect() = default;

    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override;
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& length() { return length_; }
    Data*& direction() { return direction_; }

protected:
    // Moves the vertices by shift along the direction. When moveClip is set
    // and a clip is in force, fills scratch with the clip moved the same way
    // and returns it; otherwise returns the clip in force.
    Rectangle* moveBy(System& system, float shift, PaintData& data, Rectangle& scratch,
                      bool moveClip);
    float lengthValue(System& system);

    Data* length_ = nullptr;
    Data* direction_ = nullptr;
};

// Moves like MoveEffect but leaves the clip where it is.
class KOVA_API MoveNoClipEffect : public MoveEffect {
    KOVA_RUNTIME_CLASS(MoveNoClipEffect)
public:
    MoveNoClipEffect() = default;

    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override;
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override;
};

// Moves like MoveEffect, easing out: fast at the start of a show, slow at
// its end.
class KOVA_API SinMoveEffect : public MoveEffect {
    KOVA_RUNTIME_CLASS(SinMoveEffect)
public:
    SinMoveEffect() = default;

    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override;
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override;
};

// Turns what it encloses about its own centre by start angle + l x angle
// multiplier (radians, read from variables).
class KOVA_API RotateEffect : public Effect {
    KOVA_RUNTIME_CLASS(RotateEffect)
public:
    RotateEffect() = default;

    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override;
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& startAngle() { return startAngle_; }
    Data*& angleMultiplier() { return angleMultiplier_; }

protected:
    float angleAt(System& system, float level);

    Data* startAngle_ = nullptr;
    Data* angleMultiplier_ = nullptr;

private:
    void rotate(System& system, PaintData& data, float level);
};

// Turns by the same angle about a point read from two variables.
class KOVA_API RotateAroundCoordinateEffect : public RotateEffect {
    KOVA_RUNTIME_CLASS(RotateAroundCoordinateEffect)
public:
    RotateAroundCoordinateEffect() = default;

    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override;
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& x() { return x_; }
    Data*& y() { return y_; }

private:
    void rotateAbout(System& system, PaintData& data, float level);

    Data* x_ = nullptr;
    Data* y_ = nullptr;
};

// Applies two effects as one: effect 2 first, then effect 1, both at this
// effect's level.
class KOVA_API SplitEffect : public Effect {
    KOVA_RUNTIME_CLASS(SplitEffect)
public:
    SplitEffect() = default;

    bool onUpdate(System& system, float elapsed) override;
    bool charPaint(System& system, int character, int font, int index, PaintData& data,
                   EffectPipe& self) override;
    bool picturePaint(System& system, int picture, PaintData& data, EffectPipe& self) override;
    bool onStream(System& system, Stream& stream) override;

    Effect*& effect1() { return effect1_; }
    Effect*& effect2() { return effect2_; }

private:
    Effect* effect1_ = nullptr;
    Effect* effect2_ = nullptr;
};

}  // namespace kova
}  // namespace tarn
