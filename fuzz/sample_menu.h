// The sample menu (samples/ in the source tree) as object files in memory,
// built once from its text form, so that fuzz targets drive a real menu
// without the kova tool.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "TextForm.h"
#include "fuzz_support.h"

namespace kova_fuzz {

// The texts in the order samples/CMakeLists.txt builds them: each names only
// object files built before it.
inline const std::map<std::string, Bytes>& sampleFiles() {
    static const std::map<std::string, Bytes> files = [] {
        const char* names[] = {"Menus/Path", "Screens/Options", "Screens/Join", "Screens/Title",
                               "Menus/Main"};
        tarn::kova::text::MemoryHost host;
        host.init();
        for (const char* name : names) {
            std::string path = std::string(KOVA_SAMPLES_DIR) + "/" + name + ".txt";
            std::ifstream file(path, std::ios::binary);
            std::string text((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
            std::string error;
            if (!file || !tarn::kova::text::buildObjectFile(host, text, path, name, error)) {
                std::fprintf(stderr, "the sample menu does not build: %s %s\n", path.c_str(),
                             error.c_str());
                std::abort();
            }
        }
        host.exit();
        std::map<std::string, Bytes> built;
        for (const auto& file : host.files)
            built[file.first] = Bytes(file.second.begin(), file.second.end());
        return built;
    }();
    return files;
}

}  // namespace kova_fuzz
