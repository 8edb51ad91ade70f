// Kova events and pointers: the event record every handler receives, event
// matchers, and the pointer that turns host input into queued messages.
#pragma once

#include "kova/geometry.h"
#include "kova/runtime.h"

namespace tarn {
namespace kova {

class Node;

// One event: its type (0 to 22), the input index of the device or player, and
// three parameters whose meaning depends on the type.
struct KOVA_API EventData {
    int type = 0;
    int inputIndex = 0;
    float first = 0.0f;
    float second = 0.0f;
    float third = 0.0f;
};

// Base of the event matchers.
class KOVA_API Event : public Object {
    KOVA_RUNTIME_CLASS(Event)
public:
    Event() = default;
};

// Stands between the host's raw input and the message queue, keeps the
// on-screen pointer position and paints an optional node that draws it.
class KOVA_API Pointer : public Object {
    KOVA_RUNTIME_CLASS(Pointer)
public:
    Pointer() = default;
    ~Pointer() override;

    virtual bool onPaint(System& system);
    virtual bool onUpdate(System& system, float elapsed);
    virtual bool onMove(System& system, float x, float y);
    virtual bool onButtonPress(System& system, int button, int inputIndex, int repeatCount);
    virtual bool onButtonRelease(System& system, int button, int inputIndex);
    virtual bool onUnicodePress(System& system, int character, int inputIndex, int repeatCount);
    virtual bool onUnicodeRelease(System& system, int character, int inputIndex);
    bool onClear(System& system, Stream& stream) override;

    void setGraphicalNode(System& system, Node* node);
    Node* graphicalNode() { return graphicalNode_; }
    float width() const { return width_; }
    float height() const { return height_; }

    static bool paint(System& system, Pointer* pointer);
    static bool update(System& system, Pointer* pointer, float elapsed);
    static bool move(System& system, Pointer* pointer, float x, float y);
    static bool buttonPress(System& system, Pointer* pointer, int button, int inputIndex,
                            int repeatCount);
    static bool buttonRelease(System& system, Pointer* pointer, int button, int inputIndex);
    static bool unicodePress(System& system, Pointer* pointer, int character, int inputIndex,
                             int repeatCount);
    static bool unicodeRelease(System& system, Pointer* pointer, int character, int inputIndex);
    static bool clear(System& system, Pointer*& pointer);

protected:
    Rectangle pointerRect(System& system);

    float width_ = 20.0f;
    float height_ = 20.0f;
    Node* graphicalNode_ = nullptr;
};

}  // namespace kova
}  // namespace tarn
