// The host's streams on files: an input stream that reads one file, and an
// output stream that writes a temporary file beside its target and lets the
// FileStore decide, when the stream ends, whether it replaces the target.
#pragma once

#include <cstdio>
#include <string>

#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace host {

class FileStore;

// Reads one open file from its start; skips and positions stay inside it.
class FileIStream : public IStream {
public:
    // Takes over the file and closes it at the end.
    FileIStream(std::FILE* file, long size) : file_(file), size_(size) {}
    ~FileIStream() override;

    int available() override { return static_cast<int>(size_ - position_); }
    int skip(int count) override;
    int readBuffer(void* buffer, int count) override;
    int position() override { return static_cast<int>(position_); }
    bool setPosition(int position) override;

private:
    std::FILE* file_;
    long size_;
    long position_ = 0;
};

// What an output stream leaves behind when it ends.
struct FinishedFile {
    std::string name;           // the stream name
    std::string path;           // the file it is meant to replace
    std::string temporaryPath;  // where its bytes are
    std::string error;          // why its own writing failed; empty when it did not
    long long size = 0;         // bytes in the file
};

// Writes to a temporary file. The engine releases its output streams by
// destroying them (directly, or through the stream wrapped around them); the
// destructor closes the file and hands it to the store.
class FileOStream : public OStream {
public:
    FileOStream(FileStore& store, FinishedFile target, std::FILE* file);
    ~FileOStream() override;

    int writeBuffer(const void* data, int count) override;
    void flush() override;
    int position() override { return static_cast<int>(position_); }
    bool setPosition(int position) override;

private:
    void fail(const char* what);

    FileStore& store_;
    FinishedFile target_;
    std::FILE* file_;
    long long position_ = 0;
    long long end_ = 0;  // the furthest byte written
};

}  // namespace host
}  // namespace kova
}  // namespace tarn
