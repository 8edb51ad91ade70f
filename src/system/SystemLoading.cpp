#include "kova/container.h"
#include "kova/event.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

namespace {
enum ShowEvent { PreShow = 13, PostShow = 14, PreWaitShow = 17 };
}

// Settles the cache for one load: replay an existing cache file, or record a
// new one, or read the object files directly when neither can be had.
void System::openCache(const char* cacheName) {
    if (!cacheName) return;
    cacheIStream_ = createIStream(cacheName);
    if (cacheIStream_) {
        printf("Kova: Using cache file '%s' for loading\r\n", cacheName);
        return;
    }
    cacheOStream_ = createOStream(cacheName);
    if (cacheOStream_) {
        printf("Kova: Creating cache file '%s'\r\n", cacheName);
    } else {
        printf("Kova: Cannot create cache file '%s', using standard reading\r\n", cacheName);
    }
}

void System::closeCache() {
    delete cacheIStream_;
    delete cacheOStream_;
    cacheIStream_ = nullptr;
    cacheOStream_ = nullptr;
}

void System::sendToTree(int type) {
    EventData data{type, 0, 0.0f, 0.0f, 0.0f};
    EventIterator iterator(data);
    iterator.iterate(*this, firstNode_, clipRect_, mode_);
}

bool System::load(const char* name, const char* cacheName) {
    openCache(cacheName);
    Object* object = nullptr;
    bool loaded = Object::loadNewStream(*this, object, name);
    if (!firstNode_ && object && object->actualClass()->is(Node::absoluteClass())) {
        firstNode_ = static_cast<Node*>(object);
        object = nullptr;
        sendToTree(PreWaitShow);
        sendToTree(PreShow);
        sendToTree(PostShow);
    }
    // A loaded object that does not become the root is released, unless it
    // is named: the name directory keeps named objects.
    Object::clear(*this, object);
    bool updated = update(0.0f);
    closeCache();
    return loaded && updated;
}

bool System::load(const char* name, Object*& object) {
    if (!Object::loadNewStream(*this, object, name)) return false;
    return update(0.0f);
}

bool System::save() {
    return nameTree_ ? nameTree_->saveAll(*this) : true;
}

bool System::streamAll(Stream& stream) {
    Object* self = this;
    if (!stream.streamObject(*this, self, "System", nullptr)) return false;
    return nameTree_ ? nameTree_->streamAll(*this, stream) : true;
}

IStream* System::createObjectIStream(const char* name) {
    if (cacheOStream_) {
        IStream* source = createIStream(name);
        if (!source) return nullptr;
        IStream* recording = new (std::nothrow) OutputIStream(cacheOStream_, source);
        if (!recording) deleteIStream(source);
        return recording;
    }
    if (cacheIStream_) return new (std::nothrow) CachedIStream(cacheIStream_);
    return createIStream(name);
}

OStream* System::createObjectOStream(const char* name) {
    return createOStream(name);
}

}  // namespace kova
}  // namespace tarn
