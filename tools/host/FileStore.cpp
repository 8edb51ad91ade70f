#include "FileStore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "ToolHost.h"

namespace tarn {
namespace kova {
namespace host {

FileStore::~FileStore() {
    // A save still open when the host goes away was never confirmed.
    for (const FinishedFile& file : pending_)
        std::remove(file.temporaryPath.c_str());
}

bool FileStore::pathFor(const std::string& root, const char* name, std::string& path) {
    return name && text::streamNamePath(root, name, path);
}

IStream* FileStore::openInput(const char* name) {
    std::string path;
    std::error_code error;
    if (!pathFor(root_, name, path) || !std::filesystem::is_regular_file(path, error)) {
        return nullptr;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return nullptr;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    if (size < 0 || size > 0x7fffffffL || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return nullptr;
    }
    return new FileIStream(file, size);
}

OStream* FileStore::openOutput(const char* name) {
    FinishedFile target;
    if (!pathFor(root_, name, target.path)) {
        log_.printf("Error: Cannot write '%s': not a name below the root", name ? name : "");
        return nullptr;
    }
    target.name = name;
    target.temporaryPath = target.path + ".tmp";
    std::error_code error;
    std::filesystem::path parent = std::filesystem::path(target.path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, error);
    std::FILE* file = std::fopen(target.temporaryPath.c_str(), "wb");
    if (!file) {
        log_.printf("Error: Cannot write '%s': %s", name, std::strerror(errno));
        return nullptr;
    }
    return new FileOStream(*this, std::move(target), file);
}

void FileStore::beginSave() {
    saving_ = true;
}

bool FileStore::endSave(bool engineSucceeded) {
    saving_ = false;
    std::vector<FinishedFile> files;
    files.swap(pending_);
    bool whole = engineSucceeded;
    for (const FinishedFile& file : files)
        whole = whole && file.error.empty();
    for (const FinishedFile& file : files) {
        if (!whole) {
            drop(file, file.error.empty() ? "the save failed" : file.error);
        } else if (!keep(file)) {
            whole = false;
        }
    }
    return whole;
}

void FileStore::finish(FinishedFile file) {
    if (saving_) {
        pending_.push_back(std::move(file));
    } else if (!file.error.empty()) {
        drop(file, file.error);
    } else if (file.size == 0) {
        drop(file, "nothing was written");
    } else {
        keep(file);
    }
}

bool FileStore::keep(const FinishedFile& file) {
    if (std::rename(file.temporaryPath.c_str(), file.path.c_str()) != 0) {
        drop(file, std::string("renaming failed: ") + std::strerror(errno));
        return false;
    }
    saved_.push_back(file.name);
    return true;
}

void FileStore::drop(const FinishedFile& file, const std::string& why) {
    std::remove(file.temporaryPath.c_str());
    log_.printf("Error: '%s' not saved (%s); the file is left as it was", file.name.c_str(),
                why.c_str());
}

}  // namespace host
}  // namespace kova
}  // namespace tarn
