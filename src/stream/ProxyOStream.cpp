#include "kova/container.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

ProxyOStream::ProxyOStream(OStream* target) : target_(target) {}

ProxyOStream::~ProxyOStream() {
    delete target_;
}

int ProxyOStream::writeBuffer(const void* data, int size) {
    return target_ ? target_->writeBuffer(data, size) : 0;
}
void ProxyOStream::flush() {
    if (target_) target_->flush();
}
int ProxyOStream::position() {
    return target_ ? target_->position() : 0;
}
bool ProxyOStream::setPosition(int position) {
    return target_ && target_->setPosition(position);
}
bool ProxyOStream::streamStaticString(System& system, const char* text, const char* label) {
    return target_ && target_->streamStaticString(system, text, label);
}

bool ProxyOStream::streamUbyte(unsigned char& value, const char* label) {
    return target_ && target_->streamUbyte(value, label);
}
bool ProxyOStream::streamSbyte(signed char& value, const char* label) {
    return target_ && target_->streamSbyte(value, label);
}
bool ProxyOStream::streamUshort(unsigned short& value, const char* label) {
    return target_ && target_->streamUshort(value, label);
}
bool ProxyOStream::streamSshort(short& value, const char* label) {
    return target_ && target_->streamSshort(value, label);
}
bool ProxyOStream::streamUlong(unsigned int& value, const char* label) {
    return target_ && target_->streamUlong(value, label);
}
bool ProxyOStream::streamSlong(int& value, const char* label) {
    return target_ && target_->streamSlong(value, label);
}
bool ProxyOStream::streamFloat(float& value, const char* label) {
    return target_ && target_->streamFloat(value, label);
}
bool ProxyOStream::streamBool(bool& value, const char* label) {
    return target_ && target_->streamBool(value, label);
}
bool ProxyOStream::streamInt(int& value, const char* label) {
    return target_ && target_->streamInt(value, label);
}
bool ProxyOStream::streamString(char*& value, const char* label) {
    return target_ && target_->streamString(value, label);
}
bool ProxyOStream::streamWstring(unsigned short*& value, const char* label) {
    return target_ && target_->streamWstring(value, label);
}
bool ProxyOStream::streamWchar(unsigned short& value, const char* label) {
    return target_ && target_->streamWchar(value, label);
}
bool ProxyOStream::streamPicture(System& system, int& handle, const char* label) {
    return target_ && target_->streamPicture(system, handle, label);
}
bool ProxyOStream::streamFont(System& system, int& handle, const char* label) {
    return target_ && target_->streamFont(system, handle, label);
}
bool ProxyOStream::streamSound(System& system, int& handle, const char* label) {
    return target_ && target_->streamSound(system, handle, label);
}
bool ProxyOStream::streamIndex(int& value, int (*toIndex)(int), const char* (*toName)(int),
                               const char* label) {
    return target_ && target_->streamIndex(value, toIndex, toName, label);
}

// Lists and records are written here, not by the target, so the names and
// class names inside them go through this stream's streamStaticString.
bool ProxyOStream::streamList(System& system, List& list, const char*) {
    return list.save(system, *this);
}
bool ProxyOStream::streamObject(System& system, Object*& reference, const char*, RuntimeClass*) {
    return Object::save(system, reference, *this);
}

}  // namespace kova
}  // namespace tarn
