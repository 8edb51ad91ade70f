// A host whose named streams live in memory, so tests can build object files
// byte by byte and read back exactly what the engine wrote.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "test_host.h"

namespace kova_test {

using Bytes = std::vector<unsigned char>;

// Reads a copy of one file; supports positions and skips in both directions.
// It may hide how much it has left, as a stream that cannot tell does.
class MemoryIStream : public IStream {
public:
    explicit MemoryIStream(Bytes bytes, bool tellsAvailable = true)
        : bytes_(std::move(bytes)), tellsAvailable_(tellsAvailable) {}

    int left() const { return static_cast<int>(bytes_.size()) - position_; }
    int available() override { return tellsAvailable_ ? left() : 0; }
    int skip(int count) override {
        long long target = static_cast<long long>(position_) + count;
        if (target < 0) target = 0;
        if (target > static_cast<long long>(bytes_.size())) target = bytes_.size();
        int moved = static_cast<int>(target - position_);
        position_ = static_cast<int>(target);
        return moved;
    }
    int readBuffer(void* buffer, int size) override {
        int count = size < left() ? size : left();
        if (count <= 0) return 0;
        std::memcpy(buffer, bytes_.data() + position_, static_cast<std::size_t>(count));
        position_ += count;
        return count;
    }
    int position() override { return position_; }
    bool setPosition(int position) override {
        if (position < 0 || position > static_cast<int>(bytes_.size())) return false;
        position_ = position;
        return true;
    }

private:
    Bytes bytes_;
    bool tellsAvailable_;
    int position_ = 0;
};

// Writes into a file of the host, or into bytes of its own when it is given
// none; positions may be moved back to patch bytes.
class FileOStream : public OStream {
public:
    FileOStream() : file_(&own_) {}
    explicit FileOStream(Bytes& file) : file_(&file) { file_->clear(); }

    int writeBuffer(const void* data, int size) override {
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        for (int i = 0; i < size; ++i) {
            if (position_ < static_cast<int>(file_->size())) {
                (*file_)[position_] = bytes[i];
            } else {
                file_->push_back(bytes[i]);
            }
            ++position_;
        }
        return size;
    }
    int position() override { return position_; }
    bool setPosition(int position) override {
        if (position < 0 || position > static_cast<int>(file_->size())) return false;
        position_ = position;
        return true;
    }
    const Bytes& bytes() const { return *file_; }

private:
    Bytes own_;
    Bytes* file_;
    int position_ = 0;
};

class FileHost : public TestHost {
public:
    IStream* createIStream(const char* name) override {
        opened.push_back(name);
        auto found = files.find(name);
        return found == files.end() ? nullptr : new MemoryIStream(found->second);
    }
    OStream* createOStream(const char* name) override {
        created.push_back(name);
        if (refuseWrites) return nullptr;
        return new FileOStream(files[name]);
    }

    std::map<std::string, Bytes> files;
    std::vector<std::string> opened;
    std::vector<std::string> created;
    bool refuseWrites = false;
};

// Builders for hand-made files.
inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
inline void append(Bytes& out, std::initializer_list<int> bytes) {
    for (int b : bytes)
        out.push_back(static_cast<unsigned char>(b));
}
inline void appendText(Bytes& out, const std::string& text) {
    out.push_back(static_cast<unsigned char>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}
inline void appendU16(Bytes& out, int value) {
    append(out, {value & 0xFF, (value >> 8) & 0xFF});
}
inline void appendU32(Bytes& out, unsigned int value) {
    append(out, {static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                 static_cast<int>((value >> 16) & 0xFF), static_cast<int>(value >> 24)});
}
// Magic and name table of a "KovaFile 2.0" file.
inline Bytes fileHeader(std::initializer_list<std::string> names) {
    Bytes out;
    appendText(out, "KovaFile 2.0");
    for (const std::string& name : names)
        appendText(out, name);
    out.push_back(0);
    return out;
}

// One object record of a hand-made file: stored length, name index, class
// index, then the fields; class 0 with no fields is a null reference.
inline Bytes recordBytes(int nameIndex, int classIndex, const Bytes& fields = {}) {
    Bytes out;
    appendU32(out, static_cast<unsigned int>(8 + fields.size()));
    appendU16(out, nameIndex);
    appendU16(out, classIndex);
    return out + fields;
}
// A 32-bit field, little-endian.
inline Bytes u32Bytes(unsigned int value) {
    Bytes out;
    appendU32(out, value);
    return out;
}

}  // namespace kova_test
