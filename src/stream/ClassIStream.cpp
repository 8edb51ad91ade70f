#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(ClassIStream, IStream)

namespace {
const char kMagic[] = "KovaFile 2.0";
}

ClassIStream::ClassIStream(IStream* source) : ProxyIStream(source, true) {}

ClassIStream::~ClassIStream() {
    Memory::stringDelete(names_);
}

// A file names hundreds of objects and classes; their texts share one block
// rather than taking an allocation each. The table's pointers follow the
// block when it grows.
bool ClassIStream::appendName(const char* text) {
    int length = static_cast<int>(Memory::stringLength(text));
    if (namesUsed_ + length + 1 > namesSize_) {
        int size = namesSize_ ? namesSize_ * 2 : 4096;
        while (size < namesUsed_ + length + 1)
            size *= 2;
        char* block = Memory::stringCreate(static_cast<std::size_t>(size));
        if (!block) return false;
        Memory::memoryCopy(block, names_, static_cast<std::size_t>(namesUsed_));
        Memory::stringDelete(names_);
        names_ = block;
        namesSize_ = size;
        for (int i = 0, offset = 0; i < nameCount_; offset += lengths_[i++] + 1)
            table_[i] = names_ + offset;
    }
    Memory::memoryCopy(names_ + namesUsed_, text, static_cast<std::size_t>(length) + 1);
    lengths_[nameCount_] = static_cast<unsigned char>(length);
    table_[nameCount_++] = names_ + namesUsed_;
    namesUsed_ += length + 1;
    return true;
}

bool ClassIStream::readHeader(System& system) {
    char text[256];
    if (!IStream::streamStaticString(system, text, 255, "Static string")) return false;
    if (Memory::stringCompare(text, kMagic) != 0) {
        system.printf("Kova: Error: Wrong file version(%s)\r\n", text);
        return false;
    }
    for (;;) {
        if (!IStream::streamStaticString(system, text, 255, "Static string")) return false;
        if (!*text) break;
        // Writers store at most 511 names; a longer table is damaged.
        if (nameCount_ >= TableSlots - 1) {
            system.printf("Kova: Error: Too many names in file (more than %d)\r\n", TableSlots - 1);
            return false;
        }
        if (!appendName(text)) return false;
    }
    bodyStart_ = ProxyIStream::position();
    return true;
}

// An index past the table comes only from a damaged file: the read fails.
// A name longer than the caller's buffer fails too, rather than being cut.
bool ClassIStream::streamStaticString(System&, char* buffer, int maxLength, const char*) {
    if (buffer && maxLength >= 0) *buffer = 0;
    unsigned short index = 0;
    if (!streamUshort(index, "Ushort")) return false;
    if (index == 0) return true;
    if (index > nameCount_ || !buffer) return false;
    int length = lengths_[index - 1];
    if (length > maxLength) return false;
    Memory::memoryCopy(buffer, table_[index - 1], static_cast<std::size_t>(length) + 1);
    return true;
}

int ClassIStream::position() {
    return ProxyIStream::position() - bodyStart_;
}

bool ClassIStream::setPosition(int position) {
    return ProxyIStream::setPosition(position + bodyStart_);
}

}  // namespace kova
}  // namespace tarn
