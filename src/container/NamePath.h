// Splitting of directory paths, shared by the name directory's sources.
#pragma once

#include <cstring>

namespace tarn {
namespace kova {
namespace name_path {

// Copies the part of path before separator (the whole path when separator is
// null) into buffer. A component that does not fit with its terminator is
// refused rather than cut, so an overlong name can never match or create the
// wrong entry.
inline bool copyComponent(const char* path, const char* separator, char* buffer, std::size_t size) {
    std::size_t length = separator ? static_cast<std::size_t>(separator - path) : std::strlen(path);
    if (length >= size) return false;
    std::memcpy(buffer, path, length);
    buffer[length] = 0;
    return true;
}

// Empty parts of a path ("a//b", "/a") name nothing: both registration and
// lookup pass over them, so a name is filed and found in the same place.
inline const char* skipSeparators(const char* path) {
    while (path && (*path == '/' || *path == '\\'))
        ++path;
    return path;
}

}  // namespace name_path
}  // namespace kova
}  // namespace tarn
