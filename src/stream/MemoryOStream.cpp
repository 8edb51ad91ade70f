#include "kova/stream.h"

namespace tarn {
namespace kova {

// A buffer that cannot be had leaves a stream of size 0 that refuses every
// write.
MemoryOStream::MemoryOStream(int size) : buffer_(nullptr), size_(0) {
    if (size <= 0) return;
    buffer_ = static_cast<unsigned char*>(Memory::operator new[](static_cast<std::size_t>(size)));
    if (buffer_) size_ = size;
}

MemoryOStream::~MemoryOStream() {
    Memory::operator delete[](buffer_);
}

// A write that does not fit is cut to the space left and reports the
// shorter count.
int MemoryOStream::writeBuffer(const void* data, int size) {
    if (!data || size <= 0 || position_ >= size_) return 0;
    if (size >= size_ - position_) size = size_ - position_;
    Memory::memoryCopy(buffer_ + position_, data, static_cast<std::size_t>(size));
    position_ += size;
    return size;
}

bool MemoryOStream::setPosition(int position) {
    if (position < 0 || position >= size_) return false;
    position_ = position;
    return true;
}

}  // namespace kova
}  // namespace tarn
