#include "kova/stream.h"

namespace tarn {
namespace kova {

ProxyIStream::ProxyIStream(IStream* target, bool ownsTarget)
    : IStream(nullptr), target_(target), ownsTarget_(ownsTarget) {
    if (target_) target_->setLink(this);
}

// Without ownership the target gets the proxy's own link: the stream in
// front of the proxy when there is one, else nothing (the target's link is
// then the target itself), so it never points at a dead proxy.
ProxyIStream::~ProxyIStream() {
    if (!target_) return;
    if (ownsTarget_) {
        delete target_;
    } else {
        target_->setLink(link() == this ? nullptr : link());
    }
}

int ProxyIStream::available() {
    return target_ ? target_->available() : 0;
}
int ProxyIStream::skip(int count) {
    return target_ ? target_->skip(count) : 0;
}
int ProxyIStream::readBuffer(void* buffer, int size) {
    return target_ ? target_->readBuffer(buffer, size) : 0;
}
int ProxyIStream::position() {
    return target_ ? target_->position() : 0;
}
bool ProxyIStream::setPosition(int position) {
    return target_ && target_->setPosition(position);
}
bool ProxyIStream::streamStaticString(System& system, char* buffer, int maxLength,
                                      const char* label) {
    return target_ && target_->streamStaticString(system, buffer, maxLength, label);
}

bool ProxyIStream::streamUbyte(unsigned char& value, const char* label) {
    return target_ && target_->streamUbyte(value, label);
}
bool ProxyIStream::streamSbyte(signed char& value, const char* label) {
    return target_ && target_->streamSbyte(value, label);
}
bool ProxyIStream::streamUshort(unsigned short& value, const char* label) {
    return target_ && target_->streamUshort(value, label);
}
bool ProxyIStream::streamSshort(short& value, const char* label) {
    return target_ && target_->streamSshort(value, label);
}
bool ProxyIStream::streamUlong(unsigned int& value, const char* label) {
    return target_ && target_->streamUlong(value, label);
}
bool ProxyIStream::streamSlong(int& value, const char* label) {
    return target_ && target_->streamSlong(value, label);
}
bool ProxyIStream::streamFloat(float& value, const char* label) {
    return target_ && target_->streamFloat(value, label);
}
bool ProxyIStream::streamBool(bool& value, const char* label) {
    return target_ && target_->streamBool(value, label);
}
bool ProxyIStream::streamInt(int& value, const char* label) {
    return target_ && target_->streamInt(value, label);
}
bool ProxyIStream::streamString(char*& value, const char* label) {
    return target_ && target_->streamString(value, label);
}
bool ProxyIStream::streamWstring(unsigned short*& value, const char* label) {
    return target_ && target_->streamWstring(value, label);
}
bool ProxyIStream::streamWchar(unsigned short& value, const char* label) {
    return target_ && target_->streamWchar(value, label);
}
bool ProxyIStream::streamPicture(System& system, int& handle, const char* label) {
    return target_ && target_->streamPicture(system, handle, label);
}
bool ProxyIStream::streamFont(System& system, int& handle, const char* label) {
    return target_ && target_->streamFont(system, handle, label);
}
bool ProxyIStream::streamSound(System& system, int& handle, const char* label) {
    return target_ && target_->streamSound(system, handle, label);
}
bool ProxyIStream::streamList(System& system, List& list, const char* label) {
    return target_ && target_->streamList(system, list, label);
}
bool ProxyIStream::streamIndex(int& value, int (*toIndex)(int), const char* (*toName)(int),
                               const char* label) {
    return target_ && target_->streamIndex(value, toIndex, toName, label);
}
bool ProxyIStream::streamObject(System& system, Object*& reference, const char* label,
                                RuntimeClass* requiredClass) {
    return target_ && target_->streamObject(system, reference, label, requiredClass);
}

}  // namespace kova
}  // namespace tarn
