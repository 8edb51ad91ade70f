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
    for (int i = 0; i < nameCount_; ++i)
        Memory::stringDelete(table_[i]);
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
        char* copy = Memory::stringDuplicate(text);
        if (!copy) return false;
        table_[nameCount_++] = copy;
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
    const char* name = table_[index - 1];
    if (static_cast<int>(Memory::stringLength(name)) > maxLength) return false;
    Memory::stringCopy(buffer, name);
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
