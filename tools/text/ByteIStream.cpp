#include "ByteIStream.h"

#include <cstring>

namespace tarn {
namespace kova {
namespace text {

int ByteIStream::skip(int count) {
    long long target = static_cast<long long>(position_) + count;
    if (target < 0) target = 0;
    if (target > size()) target = size();
    int moved = static_cast<int>(target) - position_;
    position_ = static_cast<int>(target);
    return moved;
}

int ByteIStream::readBuffer(void* buffer, int count) {
    int n = count < available() ? count : available();
    if (n <= 0) return 0;
    std::memcpy(buffer, bytes_.data() + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

bool ByteIStream::setPosition(int position) {
    if (position < 0 || position > size()) return false;
    position_ = position;
    return true;
}

}  // namespace text
}  // namespace kova
}  // namespace tarn
