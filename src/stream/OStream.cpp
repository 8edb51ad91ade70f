#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(OStream, RuntimeObject)

bool OStream::streamStaticString(System&, const char*, const char*) {
    return stream();
}

}  // namespace kova
}  // namespace tarn
