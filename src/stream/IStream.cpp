#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(IStream, RuntimeObject)

IStream::IStream(IStream* link) : link_(link ? link : this) {}

IStream* IStream::firstStream() {
    IStream* stream = this;
    while (stream->link_ != stream)
        stream = stream->link_;
    return stream;
}

bool IStream::streamStaticString(System&, char*, int, const char*) {
    return stream();
}

}  // namespace kova
}  // namespace tarn
