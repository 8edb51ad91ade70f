#include <climits>

#include "kova/stream.h"

namespace tarn {
namespace kova {

namespace {

// A damaged record length can ask for a skip far past the end of any file;
// the replayed position saturates instead of overflowing.
int saturated(long long value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace

OutputIStream::OutputIStream(OStream* copy, IStream* source)
    : ProxyIStream(source, true), copy_(copy) {}

int OutputIStream::readBuffer(void* buffer, int size) {
    int read = ProxyIStream::readBuffer(buffer, size);
    if (read > 0 && copy_) copy_->writeBuffer(buffer, read);
    return read;
}

// Many adapters share the cache stream one after another; the one in use
// takes the cache's link back, so typed reads return through it.
CachedIStream::CachedIStream(IStream* cache)
    : ProxyIStream(cache, false), start_(cache ? cache->position() : 0) {}

void CachedIStream::reclaimLink() {
    if (target()) target()->setLink(this);
}

int CachedIStream::readBuffer(void* buffer, int size) {
    reclaimLink();
    return ProxyIStream::readBuffer(buffer, size);
}

int CachedIStream::skip(int count) {
    reclaimLink();
    skipped_ = saturated(static_cast<long long>(skipped_) + count);
    return count;
}

int CachedIStream::position() {
    reclaimLink();
    long long cache = target() ? target()->position() : 0;
    return saturated(cache + skipped_ - start_);
}

}  // namespace kova
}  // namespace tarn
