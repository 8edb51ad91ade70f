#include "PictureCache.h"

#include <filesystem>

#include "FileStore.h"
#include "PngFile.h"

namespace tarn {
namespace kova {
namespace host {

int PictureCache::handle(const char* name) {
    bool added = false;
    int handle = names_.handle(name, &added);
    if (added) {
        pictures_.emplace_back();
        read(name, pictures_.back());
    }
    return handle;
}

const Picture& PictureCache::picture(int handle) const {
    if (handle < 0 || handle >= static_cast<int>(pictures_.size())) return pictures_[0];
    return pictures_[static_cast<std::size_t>(handle)];
}

void PictureCache::read(const char* name, Picture& picture) {
    std::string path, error;
    std::error_code missing;
    if (!FileStore::pathFor(root_, name, path)) {
        error = "not a name below the root";
    } else if (!std::filesystem::is_regular_file(path, missing)) {
        error = "no file " + path;
    } else if (PngFile::read(path, picture.width, picture.height, picture.rgba, error)) {
        return;
    }
    log_.printf("Error: Picture '%s' cannot be read (%s); it draws nothing", name, error.c_str());
}

}  // namespace host
}  // namespace kova
}  // namespace tarn
