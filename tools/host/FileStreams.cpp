#include "FileStreams.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "FileStore.h"

namespace tarn {
namespace kova {
namespace host {

FileIStream::~FileIStream() {
    std::fclose(file_);
}

int FileIStream::skip(int count) {
    long target = position_ + count;
    if (target < 0) target = 0;
    if (target > size_) target = size_;
    if (std::fseek(file_, target, SEEK_SET) != 0) return 0;
    int moved = static_cast<int>(target - position_);
    position_ = target;
    return moved;
}

int FileIStream::readBuffer(void* buffer, int count) {
    if (!buffer || count <= 0) return 0;
    std::size_t read = std::fread(buffer, 1, static_cast<std::size_t>(count), file_);
    position_ += static_cast<long>(read);
    return static_cast<int>(read);
}

bool FileIStream::setPosition(int position) {
    if (position < 0 || position > size_ || std::fseek(file_, position, SEEK_SET) != 0)
        return false;
    position_ = position;
    return true;
}

FileOStream::FileOStream(FileStore& store, FinishedFile target, std::FILE* file)
    : store_(store), target_(std::move(target)), file_(file) {}

// The bytes must be on the disk before the store may rename the file over
// the old one, or a crash could still leave a half-written file.
FileOStream::~FileOStream() {
    if (std::fflush(file_) != 0) fail("flushing");
    if (::fsync(fileno(file_)) != 0) fail("syncing");
    target_.size = end_;
    if (std::fclose(file_) != 0) fail("closing");
    store_.finish(std::move(target_));
}

int FileOStream::writeBuffer(const void* data, int count) {
    if (!data || count <= 0) return 0;
    std::size_t written = std::fwrite(data, 1, static_cast<std::size_t>(count), file_);
    if (written != static_cast<std::size_t>(count)) fail("writing");
    position_ += static_cast<long long>(written);
    if (position_ > end_) end_ = position_;
    return static_cast<int>(written);
}

void FileOStream::flush() {
    if (std::fflush(file_) != 0) fail("flushing");
}

bool FileOStream::setPosition(int position) {
    if (position < 0 || position > end_ || std::fseek(file_, position, SEEK_SET) != 0) return false;
    position_ = position;
    return true;
}

// The first failure is the one worth telling.
void FileOStream::fail(const char* what) {
    if (target_.error.empty())
        target_.error = std::string(what) + " failed: " + std::strerror(errno);
}

}  // namespace host
}  // namespace kova
}  // namespace tarn
