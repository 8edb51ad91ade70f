// A screen for the frame harnesses (the allocation test and the benchmarks):
// regions with modes of their own holding chains of picture leaves, and a
// host that draws nothing and allocates nothing per frame.
#pragma once

#include "kova/kova.h"

namespace kova_scene {

using namespace tarn::kova;

// Counts the quads it is asked to draw instead of drawing them.
class SceneHost : public System {
public:
    SceneHost() : System(640.0f, 480.0f) {}

    bool picturePaint(int picture, PaintData& data) override;
    bool charPaint(int character, int font, PaintData& data) override;
    bool charMetrics(int character, int font, CharacterMetrics& m) override;
    float fontHeight(int) override { return 16.0f; }
    int pictureHandle(const char* name) override;
    const char* pictureName(int handle) override;
    float pictureWidth(int) override { return 32.0f; }
    float pictureHeight(int) override { return 32.0f; }

    long quads = 0;
    long glyphs = 0;
    long presses = 0;  // offered to picture leaves
    float checksum = 0.0f;
};

// Paints one picture filling its area, the way picture nodes do, and counts
// the presses offered to it (on a SceneHost) without taking them.
class PictureLeaf : public Node {
    KOVA_RUNTIME_CLASS(PictureLeaf)
public:
    void onPaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                 EffectPipe& pipe) override;
    bool onButtonPress(System& system, Rectangle& rect, Mode& mode, int button, int inputIndex,
                       int repeatCount) override;
    bool onStream(System& system, Stream& stream) override;

    int picture = 1;
    Rectangle area{0.0f, 0.0f, 32.0f, 32.0f, 0.0f};
};

// Governs a region with a mode of its own: inside when the parent's pointer
// is inside and the pointer lies in the area, enabled while the parent is.
class RegionNode : public Node {
    KOVA_RUNTIME_CLASS(RegionNode)
public:
    Mode* mode() override { return &own; }
    void iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) override;
    bool iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
    bool onStream(System& system, Stream& stream) override;

    Mode own{1.0f, 1.0f, false};
    Rectangle area{-300.0f, -220.0f, 600.0f, 440.0f, 0.0f};
    Node* child = nullptr;
};

// A named region kept in an object file of its own.
class ScreenNode : public RegionNode {
    KOVA_RUNTIME_CLASS(ScreenNode)
public:
    ~ScreenNode() override;

    const char* name() override { return name_; }
    bool setName(const char* name) override;
    bool isStreamOwner() override { return true; }

private:
    char* name_ = nullptr;
};

// Fills the region in root (already made) with count - 1 more nodes, breadth
// first, eight to a region; nodes that get no children are picture leaves.
bool fillScene(System& system, RegionNode* root, int count);

// The input of one frame of play: a press and release of Select, a typed
// character and a pointer move that stays inside the screen.
void sendFrameInput(System& system, int frame);

}  // namespace kova_scene
