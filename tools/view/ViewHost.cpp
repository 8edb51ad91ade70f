#include "ViewHost.h"

#include "ByteIStream.h"

namespace tarn {
namespace kova {
namespace view {

IStream* ViewHost::createIStream(const char* name) {
    if (!name) return nullptr;
    std::size_t failures = sources_.errors().size();
    const std::string* built = sources_.objectFile(name);
    if (built) return new text::ByteIStream(*built);
    if (sources_.errors().size() != failures) return nullptr;
    IStream* stream = ReferenceHost::createIStream(name);
    std::string path;
    if (stream && host::FileStore::pathFor(files().root(), name, path)) diskFiles_.push_back(path);
    return stream;
}

}  // namespace view
}  // namespace kova
}  // namespace tarn
