#include "kova/system.h"

#include <cstdarg>
#include <cstdio>

#include "kova/container.h"
#include "kova/event.h"
#include "kova/stream.h"
#include "kova/style.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(System, Object)

System::System(float width, float height) : mode_(2.0f, 2.0f, true) {
    clipRect_.x = width * -0.5f;
    clipRect_.y = height * -0.5f;
    clipRect_.width = width;
    clipRect_.height = height;
}

// The host calls exit before destroying the System; nothing is released here.
System::~System() = default;

bool System::init() {
    nameTree_ = new (std::nothrow) NameTree();
    Style* style = new (std::nothrow) Style("System", 0);
    if (style && !registerStyle(style, nullptr)) {
        delete style;
        style = nullptr;
    }
    systemStyle_ = style;
    messageManager_ = new (std::nothrow) MessageManager(10);
    Object::create(*this, pointer_, Pointer::absoluteClass());
    return true;
}

bool System::exit() {
    Object::clear(*this, pointer_);
    Object::clear(*this, firstNode_);
    if (nameTree_) {
        nameTree_->deleteAll(*this);
        delete nameTree_;
        nameTree_ = nullptr;
    }
    delete messageManager_;
    messageManager_ = nullptr;
    systemStyle_ = nullptr;  // it died with the directory
    return true;
}

void System::setSize(float width, float height) {
    Coordinate2 oldSize{clipRect_.width, clipRect_.height};
    clipRect_.x = width * -0.5f;
    clipRect_.y = height * -0.5f;
    clipRect_.width = width;
    clipRect_.height = height;
    Coordinate2 newSize{clipRect_.width, clipRect_.height};
    onSetSize(oldSize, newSize);
}

bool System::update(float elapsed) {
    if (!onPreUpdate(elapsed)) return false;
    mode_.update(*this, nullptr, nullptr, clipRect_, elapsed, true, true);
    if (firstNode_ && !firstNode_->iterateUpdate(*this, mode_, clipRect_, elapsed)) return false;
    if (messageManager_ && !messageManager_->processMessages(*this)) return false;
    if (!Pointer::update(*this, pointer_, elapsed)) return false;
    return onPostUpdate(elapsed);
}

bool System::paint() {
    onPrePaint();
    if (firstNode_) {
        EffectPipe rootPipe;
        firstNode_->iteratePaint(*this, mode_, clipRect_, nullptr, rootPipe);
    }
    if (!Pointer::paint(*this, pointer_)) return false;
    onPostPaint();
    return true;
}

bool System::pointerMove(float x, float y) {
    return Pointer::move(*this, pointer_, x, y);
}

void System::deleteIStream(IStream* stream) {
    delete stream;
}

void System::deleteOStream(OStream* stream) {
    delete stream;
}

void System::printf(const char* format, ...) {
    OStream* out = infoOStream();
    if (!out) return;
    char text[1024];
    va_list arguments;
    va_start(arguments, format);
    int length = std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    if (length < 0) return;
    if (length > static_cast<int>(sizeof(text)) - 1)
        length = sizeof(text) - 1;  // cut to the buffer
    out->writeBuffer(text, length);
}

bool System::onRegister(System& system, Stream& stream) {
    Object* pointer = pointer_;
    pointer_ = nullptr;  // empty while the stream works on it, like any typed field
    bool ok = Object::onRegister(system, stream) &&
              stream.streamInt(focusLockCount_, "Lock count") &&
              stream.streamObject(system, pointer, "Pointer", Pointer::absoluteClass());
    pointer_ = static_cast<Pointer*>(pointer);
    return ok && stream.streamNode(system, firstNode_, "Start node", nullptr);
}

bool System::buttonPress(int button, int inputIndex, int repeatCount) {
    return Pointer::buttonPress(*this, pointer_, button, inputIndex, repeatCount);
}

bool System::buttonRelease(int button, int inputIndex) {
    return Pointer::buttonRelease(*this, pointer_, button, inputIndex);
}

bool System::unicodePress(int character, int inputIndex, int repeatCount) {
    return Pointer::unicodePress(*this, pointer_, character, inputIndex, repeatCount);
}

bool System::unicodeRelease(int character, int inputIndex) {
    return Pointer::unicodeRelease(*this, pointer_, character, inputIndex);
}

void System::postMessage(int type, int inputIndex, float first, float second, float third) {
    if (!messageManager_) return;
    Message message(type, inputIndex, first, second, third);
    messageManager_->postMessage(*this, message);
}

}  // namespace kova
}  // namespace tarn
