#include <climits>
#include <cstring>

#include "kova/container.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(OStream, RuntimeObject)

namespace {

void toLittleEndian(unsigned int value, unsigned char* bytes, int count) {
    for (int i = 0; i < count; ++i) {
        bytes[i] = static_cast<unsigned char>(value & 0xFF);
        value >>= 8;
    }
}

int textLength(const char* text) {
    if (!text) return 0;
    unsigned int length = Memory::stringLength(text);
    return length > INT_MAX ? INT_MAX : static_cast<int>(length);
}

}  // namespace

bool OStream::writeBytes(const unsigned char* bytes, int count) {
    if (count <= 0) return true;
    return writeBuffer(bytes, count) == count;
}

// A length byte and the bytes. The length is taken modulo 256, so a text of
// exactly 256 bytes is stored as an empty one.
bool OStream::writeShortText(const char* text) {
    unsigned char length = static_cast<unsigned char>(textLength(text) & 0xFF);
    if (!streamUbyte(length, "Ubyte")) return false;
    return writeBytes(reinterpret_cast<const unsigned char*>(text), length);
}

bool OStream::streamUbyte(unsigned char& value, const char*) {
    unsigned char byte = value;
    return writeBytes(&byte, 1);
}

bool OStream::streamSbyte(signed char& value, const char*) {
    unsigned char byte = static_cast<unsigned char>(value);
    return writeBytes(&byte, 1);
}

bool OStream::streamUshort(unsigned short& value, const char*) {
    unsigned char bytes[2];
    toLittleEndian(value, bytes, 2);
    return writeBytes(bytes, 2);
}

bool OStream::streamSshort(short& value, const char*) {
    unsigned char bytes[2];
    toLittleEndian(static_cast<unsigned short>(value), bytes, 2);
    return writeBytes(bytes, 2);
}

bool OStream::streamUlong(unsigned int& value, const char*) {
    unsigned char bytes[4];
    toLittleEndian(value, bytes, 4);
    return writeBytes(bytes, 4);
}

bool OStream::streamSlong(int& value, const char*) {
    unsigned char bytes[4];
    toLittleEndian(static_cast<unsigned int>(value), bytes, 4);
    return writeBytes(bytes, 4);
}

// The single's bit pattern, little-endian like every other number.
bool OStream::streamFloat(float& value, const char*) {
    unsigned int bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    unsigned char bytes[4];
    toLittleEndian(bits, bytes, 4);
    return writeBytes(bytes, 4);
}

bool OStream::streamBool(bool& value, const char* label) {
    unsigned char byte = value ? 1 : 0;
    return streamUbyte(byte, label);
}

bool OStream::streamInt(int& value, const char* label) {
    int written = value;
    return streamSlong(written, label);
}

bool OStream::streamWchar(unsigned short& value, const char* label) {
    int written = value;
    return streamInt(written, label);
}

bool OStream::streamIndex(int& value, int (*)(int), const char* (*)(int), const char* label) {
    int written = value;
    return streamInt(written, label);
}

bool OStream::streamString(char*& value, const char*) {
    int length = textLength(value);
    if (!streamInt(length, "Int")) return false;
    return writeBytes(reinterpret_cast<const unsigned char*>(value), length);
}

// Units go out little-endian in small batches, so no copy of the whole
// string is made.
bool OStream::streamWstring(unsigned short*& value, const char*) {
    unsigned int units = Memory::wstringLength(value);
    int length = units > INT_MAX / 2 ? INT_MAX / 2 : static_cast<int>(units);
    if (!streamInt(length, "Int")) return false;
    unsigned char bytes[256];
    int done = 0;
    while (done < length) {
        int batch = length - done;
        if (batch > 128) batch = 128;
        for (int i = 0; i < batch; ++i)
            toLittleEndian(value[done + i], bytes + 2 * i, 2);
        if (!writeBytes(bytes, batch * 2)) return false;
        done += batch;
    }
    return true;
}

bool OStream::streamPicture(System& system, int& handle, const char*) {
    return writeShortText(system.pictureName(handle));
}

bool OStream::streamFont(System& system, int& handle, const char*) {
    return writeShortText(system.fontName(handle));
}

bool OStream::streamSound(System& system, int& handle, const char*) {
    return writeShortText(system.soundName(handle));
}

bool OStream::streamList(System& system, List& list, const char*) {
    return list.save(system, *this);
}

bool OStream::streamObject(System& system, Object*& reference, const char*, RuntimeClass*) {
    return Object::save(system, reference, *this);
}

bool OStream::streamStaticString(System&, const char* text, const char*) {
    return writeShortText(text);
}

}  // namespace kova
}  // namespace tarn
