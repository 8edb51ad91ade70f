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
    if (stream && host::FileStore::pathFor(files().root(), name, path)) diskFiles_.insert(path);
    return stream;
}

int ViewHost::pictureHandle(const char* name) {
    std::string path;
    if (name && *name && host::FileStore::pathFor(files().root(), name, path)) {
        diskFiles_.insert(path);
    }
    return ReferenceHost::pictureHandle(name);
}

}  // namespace view
}  // namespace kova
}  // namespace tarn
