#include "kova/event.h"

#include "kova/node.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(Pointer, Object)

// The graphical node is owned; exit clears the pointer, which releases it.
Pointer::~Pointer() = default;

bool Pointer::onClear(System& system, Stream& stream) {
    Node::clear(system, graphicalNode_);
    return Object::onClear(system, stream);
}

void Pointer::setGraphicalNode(System& system, Node* node) {
    Node::clear(system, graphicalNode_);
    graphicalNode_ = node;
}

Rectangle Pointer::pointerRect(System& system) {
    Coordinate2& at = system.pointerPosition();
    return Rectangle{at.x, at.y, width_, height_, 0.0f};
}

bool Pointer::onPaint(System& system) {
    if (graphicalNode_) {
        Rectangle rect = pointerRect(system);
        Mode mode(1.0f, 1.0f, false);
        EffectPipe pipe;
        graphicalNode_->iteratePaint(system, mode, rect, nullptr, pipe);
    }
    return true;
}

bool Pointer::onUpdate(System& system, float elapsed) {
    system.pointerOldPosition() = system.pointerPosition();
    if (!graphicalNode_) return true;
    Rectangle rect = pointerRect(system);
    Mode mode(1.0f, 1.0f, false);
    return graphicalNode_->iterateUpdate(system, mode, rect, elapsed);
}

// The host may correct its copies of the position; the engine keeps its own.
bool Pointer::onMove(System& system, float x, float y) {
    system.pointerPosition() = Coordinate2{x, y};
    float hostX = x;
    float hostY = y;
    system.setPointerPosition(hostX, hostY);
    return true;
}

bool Pointer::onButtonPress(System& system, int button, int inputIndex, int repeatCount) {
    system.postMessage(Event::ButtonPress, inputIndex, static_cast<float>(button),
                       static_cast<float>(repeatCount), 0.0f);
    return true;
}

bool Pointer::onButtonRelease(System& system, int button, int inputIndex) {
    system.postMessage(Event::ButtonRelease, inputIndex, static_cast<float>(button), 0.0f, 0.0f);
    return true;
}

bool Pointer::onUnicodePress(System& system, int character, int inputIndex, int repeatCount) {
    system.postMessage(Event::UnicodePress, inputIndex, static_cast<float>(character),
                       static_cast<float>(repeatCount), 0.0f);
    return true;
}

bool Pointer::onUnicodeRelease(System& system, int character, int inputIndex) {
    system.postMessage(Event::UnicodeRelease, inputIndex, static_cast<float>(character), 0.0f,
                       0.0f);
    return true;
}

bool Pointer::paint(System& system, Pointer* pointer) {
    return pointer ? pointer->onPaint(system) : true;
}

bool Pointer::update(System& system, Pointer* pointer, float elapsed) {
    return pointer ? pointer->onUpdate(system, elapsed) : true;
}

bool Pointer::move(System& system, Pointer* pointer, float x, float y) {
    return pointer ? pointer->onMove(system, x, y) : true;
}

bool Pointer::buttonPress(System& system, Pointer* pointer, int button, int inputIndex,
                          int repeatCount) {
    return pointer ? pointer->onButtonPress(system, button, inputIndex, repeatCount) : true;
}

bool Pointer::buttonRelease(System& system, Pointer* pointer, int button, int inputIndex) {
    return pointer ? pointer->onButtonRelease(system, button, inputIndex) : true;
}

bool Pointer::unicodePress(System& system, Pointer* pointer, int character, int inputIndex,
                           int repeatCount) {
    return pointer ? pointer->onUnicodePress(system, character, inputIndex, repeatCount) : true;
}

bool Pointer::unicodeRelease(System& system, Pointer* pointer, int character, int inputIndex) {
    return pointer ? pointer->onUnicodeRelease(system, character, inputIndex) : true;
}

bool Pointer::clear(System& system, Pointer*& pointer) {
    return Object::clear(system, pointer);
}

}  // namespace kova
}  // namespace tarn
