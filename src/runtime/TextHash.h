// The hash by which the class chain and the object-file writer find names.
#pragma once

#include "kova/runtime.h"

namespace tarn {
namespace kova {
namespace text_hash {

// The length and the last ten characters: names that share a beginning (a
// namespace, a directory) differ there. Callers compare whole texts anyway.
inline unsigned int ofTail(const char* text) {
    unsigned int length = Memory::stringLength(text);
    unsigned int hash = 2166136261u ^ length;
    for (unsigned int i = length > 10 ? length - 10 : 0; i < length; ++i)
        hash = (hash ^ static_cast<unsigned char>(text[i])) * 16777619u;
    return hash;
}

}  // namespace text_hash
}  // namespace kova
}  // namespace tarn
