#include <cstring>

#include "kova/container.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(IStream, RuntimeObject)

namespace {

// No text an engine object keeps comes near this size; a length above it can
// only come from a damaged file and is refused before anything is allocated.
const int kMaxStringBytes = 1 << 24;

unsigned int littleEndian(const unsigned char* bytes, int count) {
    unsigned int value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

// A short read still leaves the caller a terminated text.
int terminatedAt(int got, int wanted) {
    if (got < 0) return 0;
    return got > wanted ? wanted : got;
}

}  // namespace

IStream::IStream(IStream* link) : link_(link ? link : this) {}

IStream* IStream::firstStream() {
    IStream* stream = this;
    while (stream->link_ != stream)
        stream = stream->link_;
    return stream;
}

bool IStream::readBytes(unsigned char* bytes, int count) {
    if (count <= 0) return true;
    return firstStream()->readBuffer(bytes, count) == count;
}

// Refuses what a writer never produces: a negative length, one above the
// size cap, and one longer than the rest of a stream that reports how much
// it has left (available() is 0 for streams that cannot tell).
bool IStream::readLength(int& length, int unitSize) {
    int count = 0;
    if (!firstStream()->streamInt(count, "Int")) return false;
    if (count < 0 || count > kMaxStringBytes / unitSize) return false;
    int left = firstStream()->available();
    if (left > 0 && count > left / unitSize) return false;
    length = count;
    return true;
}

// Resource names: a length byte and that many bytes, into a buffer of 256.
bool IStream::readResourceName(char* buffer) {
    buffer[0] = 0;
    unsigned char length = 0;
    if (!firstStream()->streamUbyte(length, "Ubyte")) return false;
    if (length == 0) return true;
    int got = firstStream()->readBuffer(buffer, length);
    buffer[terminatedAt(got, length)] = 0;
    return got == length;
}

bool IStream::streamUbyte(unsigned char& value, const char*) {
    unsigned char byte = 0;
    if (!readBytes(&byte, 1)) return false;
    value = byte;
    return true;
}

bool IStream::streamSbyte(signed char& value, const char*) {
    unsigned char byte = 0;
    if (!readBytes(&byte, 1)) return false;
    value = static_cast<signed char>(byte);
    return true;
}

bool IStream::streamUshort(unsigned short& value, const char*) {
    unsigned char bytes[2];
    if (!readBytes(bytes, 2)) return false;
    value = static_cast<unsigned short>(littleEndian(bytes, 2));
    return true;
}

bool IStream::streamSshort(short& value, const char*) {
    unsigned char bytes[2];
    if (!readBytes(bytes, 2)) return false;
    value = static_cast<short>(littleEndian(bytes, 2));
    return true;
}

bool IStream::streamUlong(unsigned int& value, const char*) {
    unsigned char bytes[4];
    if (!readBytes(bytes, 4)) return false;
    value = littleEndian(bytes, 4);
    return true;
}

bool IStream::streamSlong(int& value, const char*) {
    unsigned char bytes[4];
    if (!readBytes(bytes, 4)) return false;
    value = static_cast<int>(littleEndian(bytes, 4));
    return true;
}

// The single's bit pattern, little-endian like every other number, so files
// move between hosts unchanged.
bool IStream::streamFloat(float& value, const char*) {
    unsigned char bytes[4];
    if (!readBytes(bytes, 4)) return false;
    unsigned int bits = littleEndian(bytes, 4);
    std::memcpy(&value, &bits, sizeof(value));
    return true;
}

bool IStream::streamBool(bool& value, const char* label) {
    value = false;
    unsigned char byte = 0;
    if (!firstStream()->streamUbyte(byte, label)) return false;
    value = byte != 0;
    return true;
}

bool IStream::streamInt(int& value, const char* label) {
    int read = 0;
    if (!firstStream()->streamSlong(read, label)) return false;
    value = read;
    return true;
}

bool IStream::streamWchar(unsigned short& value, const char* label) {
    int read = 0;
    if (!firstStream()->streamInt(read, label)) return false;
    value = static_cast<unsigned short>(read & 0xFFFF);
    return true;
}

// The conversion functions travel with the call for streams that show
// indices by name; reading stores the number as it stands.
bool IStream::streamIndex(int& value, int (*)(int), const char* (*)(int), const char* label) {
    return firstStream()->streamInt(value, label);
}

bool IStream::streamString(char*& value, const char*) {
    Memory::stringDelete(value);
    int length = 0;
    if (!readLength(length, 1)) return false;
    if (length == 0) return true;
    value = Memory::stringCreate(static_cast<std::size_t>(length) + 1);
    if (!value) return false;
    int got = firstStream()->readBuffer(value, length);
    value[terminatedAt(got, length)] = 0;
    return got == length;
}

bool IStream::streamWstring(unsigned short*& value, const char*) {
    Memory::wstringDelete(value);
    int length = 0;
    if (!readLength(length, 2)) return false;
    if (length == 0) return true;
    value = Memory::wstringCreate(static_cast<std::size_t>(length) + 1);
    if (!value) return false;
    // The bytes land in the string's own storage and are turned into units in
    // place: unit i is written only after its two bytes have been taken.
    unsigned char* bytes = reinterpret_cast<unsigned char*>(value);
    int got = firstStream()->readBuffer(bytes, length * 2);
    int units = terminatedAt(got, length * 2) / 2;
    for (int i = 0; i < units; ++i)
        value[i] = static_cast<unsigned short>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    value[units] = 0;
    return got == length * 2;
}

bool IStream::streamPicture(System& system, int& handle, const char*) {
    handle = 0;
    char name[256];
    if (!readResourceName(name)) return false;
    handle = system.pictureHandle(name);
    return true;
}

bool IStream::streamFont(System& system, int& handle, const char*) {
    handle = 0;
    char name[256];
    if (!readResourceName(name)) return false;
    handle = system.fontHandle(name);
    return true;
}

bool IStream::streamSound(System& system, int& handle, const char*) {
    handle = 0;
    char name[256];
    if (!readResourceName(name)) return false;
    handle = system.soundHandle(name);
    return true;
}

bool IStream::streamList(System& system, List& list, const char*) {
    return list.load(system, *firstStream());
}

bool IStream::streamObject(System& system, Object*& reference, const char*, RuntimeClass*) {
    return Object::load(system, reference, *firstStream());
}

// The buffer holds maxLength + 1 bytes; a longer text is refused rather than
// cut, and the buffer is never written past that.
bool IStream::streamStaticString(System&, char* buffer, int maxLength, const char*) {
    if (!buffer || maxLength < 0) return false;
    buffer[0] = 0;
    unsigned char length = 0;
    if (!firstStream()->streamUbyte(length, "Ubyte")) return false;
    if (length > maxLength) return false;
    if (length == 0) return true;
    int got = firstStream()->readBuffer(buffer, length);
    buffer[terminatedAt(got, length)] = 0;
    return got == length;
}

}  // namespace kova
}  // namespace tarn
