#include "ToolHost.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ByteIStream.h"

namespace tarn {
namespace kova {
namespace text {

namespace {

// Gathers a file in memory, patches included, and hands it to the host when
// the engine releases the stream.
class ByteOStream : public OStream {
public:
    ByteOStream(ToolHost& host, std::string name) : host_(host), name_(std::move(name)) {}
    ~ByteOStream() override { host_.commitFile(name_, bytes_); }

    int writeBuffer(const void* data, int count) override {
        if (count <= 0) return 0;
        const char* bytes = static_cast<const char*>(data);
        std::size_t at = static_cast<std::size_t>(position_);
        std::size_t n = static_cast<std::size_t>(count);
        if (at + n > bytes_.size()) bytes_.resize(at + n);
        bytes_.replace(at, n, bytes, n);
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
    ToolHost& host_;
    std::string name_;
    std::string bytes_;
    int position_ = 0;
};

// Collects the objects of the name directory.
class NamedObjects : public Stream {
public:
    bool streamObject(System&, Object*& reference, const char*, RuntimeClass*) override {
        if (reference) objects.push_back(reference);
        return true;
    }
    std::vector<Object*> objects;
};

}  // namespace

int ResourceNames::handle(const char* name) {
    std::string text = name ? name : "";
    auto found = handles_.find(text);
    if (found != handles_.end()) return found->second;
    int handle = static_cast<int>(names_.size());
    names_.push_back(text);
    handles_[text] = handle;
    return handle;
}

const char* ResourceNames::name(int handle) const {
    if (handle < 0 || handle >= static_cast<int>(names_.size())) return nullptr;
    return names_[static_cast<std::size_t>(handle)].c_str();
}

int ToolHost::LogStream::writeBuffer(const void* data, int size) {
    if (size <= 0) return 0;
    pending_.append(static_cast<const char*>(data), static_cast<std::size_t>(size));
    std::size_t end;
    while ((end = pending_.find('\n')) != std::string::npos) {
        std::string line = pending_.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        pending_.erase(0, end + 1);
    }
    return size;
}

ToolHost::ToolHost(bool setAsideStartObjects)
    : System(640.0f, 480.0f), setAside_(setAsideStartObjects) {}

bool ToolHost::init() {
    if (!System::init()) return false;
    if (!setAside_ || !nameTree()) return true;
    NamedObjects named;
    nameTree()->streamAll(*this, named);
    for (Object* object : named.objects) {
        char fullName[256];
        if (!copyObjectFullName(object, fullName, sizeof(fullName))) continue;
        const char* last = std::strrchr(fullName, '/');
        std::string directory =
            last ? std::string(fullName, static_cast<std::size_t>(last - fullName)) : std::string();
        if (removeNamedObject(object)) asideObjects_.emplace_back(object, directory);
    }
    return true;
}

bool ToolHost::exit() {
    for (auto& aside : asideObjects_) {
        addNamedObject(aside.first, aside.second.empty() ? nullptr : aside.second.c_str());
    }
    asideObjects_.clear();
    return System::exit();
}

IStream* ToolHost::createIStream(const char* name) {
    std::string bytes;
    if (!name || !readFile(name, bytes)) return nullptr;
    return new ByteIStream(std::move(bytes));
}

OStream* ToolHost::createOStream(const char* name) {
    if (!name) return nullptr;
    return new ByteOStream(*this, name);
}

void ToolHost::commitFile(const std::string& name, const std::string& bytes) {
    if (holding_) {
        held_.emplace_back(name, bytes);
        return;
    }
    if (writeFile(name, bytes)) {
        written_.push_back(name);
    } else {
        failed_.push_back(name);
    }
}

void ToolHost::releaseFiles(bool write) {
    holding_ = false;
    std::vector<std::pair<std::string, std::string>> held;
    held.swap(held_);
    for (const auto& file : held) {
        if (write) commitFile(file.first, file.second);
    }
}

bool MemoryHost::readFile(const std::string& name, std::string& bytes) {
    auto found = files.find(name);
    if (found == files.end()) return false;
    bytes = found->second;
    return true;
}

bool MemoryHost::writeFile(const std::string& name, const std::string& bytes) {
    files[name] = bytes;
    return true;
}

bool streamNamePath(const std::string& root, const std::string& name, std::string& path) {
    std::string relative = name;
    for (char& c : relative) {
        if (c == '\\') c = '/';
    }
    if (relative.empty() || relative[0] == '/') return false;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = relative.find('/', start);
        if (end == std::string::npos) end = relative.size();
        if (relative.compare(start, end - start, "..") == 0) return false;
        start = end + 1;
    }
    path = (std::filesystem::path(root) / relative).string();
    return true;
}

bool DirectoryHost::pathFor(const std::string& name, std::string& path) const {
    return streamNamePath(root_, name, path);
}

bool DirectoryHost::readFile(const std::string& name, std::string& bytes) {
    std::string path;
    std::error_code error;
    if (!pathFor(name, path) || !std::filesystem::is_regular_file(path, error)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool DirectoryHost::writeFile(const std::string& name, const std::string& bytes) {
    std::string path;
    if (!pathFor(name, path)) return false;
    std::error_code error;
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

}  // namespace text
}  // namespace kova
}  // namespace tarn
