// An input stream on bytes held in memory: a whole object file, read by
// tools that convert without a disk and by hosts that build files from text.
#pragma once

#include <string>

#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace text {

// Positions and skips move freely inside the bytes, which the stream keeps
// its own copy of.
class ByteIStream : public IStream {
public:
    explicit ByteIStream(std::string bytes) : bytes_(std::move(bytes)) {}

    int available() override { return size() - position_; }
    int skip(int count) override;
    int readBuffer(void* buffer, int count) override;
    int position() override { return position_; }
    bool setPosition(int position) override;

private:
    int size() const { return static_cast<int>(bytes_.size()); }

    std::string bytes_;
    int position_ = 0;
};

}  // namespace text
}  // namespace kova
}  // namespace tarn
