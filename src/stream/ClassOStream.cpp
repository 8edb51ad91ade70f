#include "../runtime/TextHash.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

namespace {
const char kMagic[] = "KovaFile 2.0";
}

// The body goes to memory first: the table of names is only complete once
// the whole body has been written.
ClassOStream::ClassOStream(OStream* target)
    : ProxyOStream(nullptr), host_(target), body_(BodySize) {
    setTarget(&body_);
}

ClassOStream::~ClassOStream() {
    for (int i = 0; i < nameCount_; ++i)
        Memory::stringDelete(table_[i]);
    setTarget(host_);  // the proxy destroys the host stream, never the embedded body
}

const char* ClassOStream::name(int index) const {
    return index >= 1 && index <= nameCount_ ? table_[index - 1] : nullptr;
}

// Each text is stored once in the table; the body holds its 1-based index.
// Every record writes two texts, so they are found by hash rather than by
// walking the table. A full table refuses new texts, which fails the field
// and the save.
bool ClassOStream::streamStaticString(System&, const char* text, const char*) {
    unsigned short index = 0;
    if (text && *text) {
        unsigned int slot = text_hash::ofTail(text) % HashSlots;
        while (hashed_[slot] && Memory::stringCompare(table_[hashed_[slot] - 1], text) != 0)
            slot = (slot + 1) % HashSlots;
        if (!hashed_[slot]) {
            // Table names are stored with a length byte, so longer texts cannot be written.
            if (nameCount_ >= TableSlots - 1 || Memory::stringLength(text) > 255) return false;
            char* copy = Memory::stringDuplicate(text);
            if (!copy) return false;
            table_[nameCount_++] = copy;
            hashed_[slot] = static_cast<unsigned short>(nameCount_);
        }
        index = hashed_[slot];
    }
    return streamUshort(index, "Ushort");
}

bool ClassOStream::streamFinished(System& system) {
    if (!host_) return false;
    setTarget(host_);
    // The header uses the plain length-and-bytes encoding of static strings.
    bool ok = OStream::streamStaticString(system, kMagic, "Static string");
    for (int i = 0; ok && i < nameCount_; ++i) {
        ok = OStream::streamStaticString(system, table_[i], "Static string");
    }
    ok = ok && OStream::streamStaticString(system, nullptr, "Static string");
    int bodyLength = body_.position();
    return ok && writeBuffer(body_.buffer(), bodyLength) == bodyLength;
}

}  // namespace kova
}  // namespace tarn
