// Fonts through FreeType. A font name is "FILE SIZE": a font file and a size
// in pixels (the height of the em square), separated by the last space:
// "DejaVuSans 24", "DejaVuSerif-Bold 16", "Fonts/Title.ttf 40".
// - FILE without an extension means FILE.ttf. It is looked for below the
//   root directory first, then in the font directory
//   (/usr/share/fonts/truetype/dejavu by default, from fonts-dejavu-core:
//   DejaVuSans, DejaVuSans-Bold, DejaVuSansMono, DejaVuSansMono-Bold,
//   DejaVuSerif, DejaVuSerif-Bold).
// - SIZE is a whole number from 1 to 1000; a name without one uses the size
//   of the default font.
// The empty name is handle 0, the default font "DejaVuSans 24", which is
// also the font of the engine's system style. A name that does not resolve
// logs one line and draws with the default font; its handle keeps its own
// name, so a file saved again still names the font it asked for.
//
// Each glyph is rendered once, at its first use, and kept with its metrics:
// - before = the glyph bitmap's left bearing, width = its width,
//   after = the advance minus both, so the advance is the font's;
// - height = the bitmap's height, ascent = its top above the base line.
// Characters below 0 are bytes of 8-bit texts and mean Latin-1 characters.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "HostLog.h"
#include "NameTable.h"
#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace host {

// One rendered glyph: its metrics and a coverage byte per pixel.
struct Glyph {
    CharacterMetrics metrics;
    int width = 0;
    int rows = 0;
    std::vector<unsigned char> coverage;
};

class FontCache {
public:
    static const char* const kDefaultName;      // "DejaVuSans 24"
    static const char* const kSystemDirectory;  // "/usr/share/fonts/truetype/dejavu"

    FontCache(HostLog& log, std::string root, std::string fontDirectory = kSystemDirectory);
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // The handle of a font name; the same name gives the same handle.
    int handle(const char* name);
    // The name of a handle (the empty name for handle 0); null when unknown.
    const char* name(int handle) const { return names_.name(handle); }

    // The font's line height in pixels; 0 when it has no usable file.
    float height(int handle);
    // The glyph of a character, rendered at its first use; null when the
    // font has no usable file or the character cannot be rendered.
    const Glyph* glyph(int handle, int character);
    // The horizontal kerning between two characters in pixels.
    float kerning(int handle, int first, int second);

private:
    struct Face;

    Face* faceOf(int handle);
    int faceFor(const std::string& name);
    int loadFace(const std::string& path, int size);
    bool findFile(const std::string& file, std::string& path) const;

    HostLog& log_;
    std::string root_;
    std::string fontDirectory_;
    void* library_ = nullptr;  // FT_Library, kept out of this header
    bool libraryFailed_ = false;
    NameTable names_;
    std::vector<int> faceOfHandle_;  // per handle: index into faces_, -1 not loaded yet
    std::vector<std::unique_ptr<Face>> faces_;
    std::map<std::pair<std::string, int>, int> faceOfFile_;  // (path, size) -> index
};

}  // namespace host
}  // namespace kova
}  // namespace tarn
