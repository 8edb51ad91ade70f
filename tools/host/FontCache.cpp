#include "FontCache.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cctype>
#include <filesystem>
#include <set>

namespace tarn {
namespace kova {
namespace host {

namespace {

const int kDefaultSize = 24;
const int kLargestSize = 1000;
const int kNotLoaded = -1;
const int kNoFace = -2;

FT_Library libraryOf(void* library) {
    return static_cast<FT_Library>(library);
}

std::string trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "FILE SIZE" -> FILE and SIZE; a name without a size keeps the default.
void splitName(const std::string& name, std::string& file, int& size) {
    file = trimmed(name);
    size = kDefaultSize;
    std::size_t space = file.find_last_of(" \t");
    if (space == std::string::npos) return;
    std::string digits = file.substr(space + 1);
    if (digits.size() > 4) return;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return;
    }
    int value = std::stoi(digits);
    if (value < 1 || value > kLargestSize) {
        size = 0;  // a size, but not one a font can have
        return;
    }
    size = value;
    file = trimmed(file.substr(0, space));
}

// Copies FreeType's bitmap as one coverage byte per pixel.
void copyBitmap(const FT_Bitmap& bitmap, Glyph& glyph) {
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.coverage.assign(static_cast<std::size_t>(glyph.width) * glyph.rows, 0);
    for (int y = 0; y < glyph.rows; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<long>(y) * bitmap.pitch;
        for (int x = 0; x < glyph.width; ++x) {
            unsigned char value = 0;
            if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
                value = static_cast<unsigned char>(row[x] * 255 / (bitmap.num_grays - 1));
            } else if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
                value = (row[x / 8] & (0x80 >> (x % 8))) ? 255 : 0;
            }
            glyph.coverage[static_cast<std::size_t>(y) * glyph.width + x] = value;
        }
    }
}

}  // namespace

const char* const FontCache::kDefaultName = "DejaVuSans 24";
const char* const FontCache::kSystemDirectory = "/usr/share/fonts/truetype/dejavu";

struct FontCache::Face {
    FT_Face face = nullptr;
    std::map<int, Glyph> glyphs;
    std::set<int> missing;  // characters FreeType could not render
};

FontCache::FontCache(HostLog& log, std::string root, std::string fontDirectory)
    : log_(log), root_(std::move(root)), fontDirectory_(std::move(fontDirectory)) {
    faceOfHandle_.push_back(kNotLoaded);  // handle 0, the default font
}

FontCache::~FontCache() {
    for (auto& face : faces_)
        FT_Done_Face(face->face);
    if (library_) FT_Done_FreeType(libraryOf(library_));
}

int FontCache::handle(const char* name) {
    bool added = false;
    int handle = names_.handle(name, &added);
    if (added) faceOfHandle_.push_back(kNotLoaded);
    faceOf(handle);  // resolved now, so an unknown name is logged where the engine reads it
    return handle;
}

float FontCache::height(int handle) {
    Face* face = faceOf(handle);
    return face ? static_cast<float>(face->face->size->metrics.height) / 64.0f : 0.0f;
}

const Glyph* FontCache::glyph(int handle, int character) {
    Face* face = faceOf(handle);
    if (character < 0) character &= 0xFF;
    if (!face || character == 0) return nullptr;
    auto found = face->glyphs.find(character);
    if (found != face->glyphs.end()) return &found->second;
    if (face->missing.count(character)) return nullptr;
    if (FT_Load_Char(face->face, static_cast<FT_ULong>(character), FT_LOAD_RENDER) != 0) {
        face->missing.insert(character);
        return nullptr;
    }
    FT_GlyphSlot slot = face->face->glyph;
    Glyph& glyph = face->glyphs[character];
    copyBitmap(slot->bitmap, glyph);
    float advance = static_cast<float>(slot->advance.x) / 64.0f;
    glyph.metrics.before = static_cast<float>(slot->bitmap_left);
    glyph.metrics.width = static_cast<float>(glyph.width);
    glyph.metrics.after = advance - glyph.metrics.before - glyph.metrics.width;
    glyph.metrics.height = static_cast<float>(glyph.rows);
    glyph.metrics.ascent = static_cast<float>(slot->bitmap_top);
    return &glyph;
}

float FontCache::kerning(int handle, int first, int second) {
    Face* face = faceOf(handle);
    if (!face || !FT_HAS_KERNING(face->face)) return 0.0f;
    if (first < 0) first &= 0xFF;
    if (second < 0) second &= 0xFF;
    FT_UInt left = FT_Get_Char_Index(face->face, static_cast<FT_ULong>(first));
    FT_UInt right = FT_Get_Char_Index(face->face, static_cast<FT_ULong>(second));
    FT_Vector delta;
    if (FT_Get_Kerning(face->face, left, right, FT_KERNING_DEFAULT, &delta) != 0) return 0.0f;
    return static_cast<float>(delta.x) / 64.0f;
}

FontCache::Face* FontCache::faceOf(int handle) {
    if (handle < 0 || handle >= static_cast<int>(faceOfHandle_.size())) handle = 0;
    int& index = faceOfHandle_[static_cast<std::size_t>(handle)];
    if (index == kNotLoaded) {
        index = handle == 0 ? faceFor(kDefaultName) : faceFor(names_.name(handle));
        if (index == kNoFace && handle != 0) index = faceOf(0) ? faceOfHandle_[0] : kNoFace;
    }
    return index >= 0 ? faces_[static_cast<std::size_t>(index)].get() : nullptr;
}

// The face a name stands for, loaded once per file and size; kNoFace (and
// one log line) when there is none.
int FontCache::faceFor(const std::string& name) {
    std::string file, path;
    int size = 0;
    splitName(name, file, size);
    std::string wanted = file;
    if (!std::filesystem::path(wanted).has_extension()) wanted += ".ttf";
    std::string fallback = name == kDefaultName
                               ? std::string("no text can be drawn")
                               : std::string("using the default font '") + kDefaultName + "'";
    if (size == 0) {
        log_.printf("Error: Unknown font '%s': the size must be from 1 to %d pixels; %s",
                    name.c_str(), kLargestSize, fallback.c_str());
        return kNoFace;
    }
    if (file.empty() || !findFile(wanted, path)) {
        log_.printf("Error: Unknown font '%s': no file %s below the root or in %s; %s",
                    name.c_str(), wanted.c_str(), fontDirectory_.c_str(), fallback.c_str());
        return kNoFace;
    }
    auto known = faceOfFile_.find({path, size});
    if (known != faceOfFile_.end()) return known->second;
    int index = loadFace(path, size);
    if (index == kNoFace) {
        log_.printf("Error: Font '%s': %s is not a font FreeType can read; %s", name.c_str(),
                    path.c_str(), fallback.c_str());
        return kNoFace;
    }
    faceOfFile_[{path, size}] = index;
    return index;
}

int FontCache::loadFace(const std::string& path, int size) {
    if (!library_ && !libraryFailed_) {
        FT_Library library = nullptr;
        if (FT_Init_FreeType(&library) == 0) {
            library_ = library;
        } else {
            libraryFailed_ = true;
        }
    }
    if (!library_) return kNoFace;
    FT_Face face = nullptr;
    if (FT_New_Face(libraryOf(library_), path.c_str(), 0, &face) != 0) return kNoFace;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size)) != 0) {
        FT_Done_Face(face);
        return kNoFace;
    }
    faces_.push_back(std::make_unique<Face>());
    faces_.back()->face = face;
    return static_cast<int>(faces_.size()) - 1;
}

bool FontCache::findFile(const std::string& file, std::string& path) const {
    namespace fs = std::filesystem;
    std::error_code error;
    std::vector<fs::path> candidates;
    if (fs::path(file).is_absolute()) {
        candidates.push_back(file);
    } else {
        candidates.push_back(fs::path(root_) / file);
        candidates.push_back(fs::path(fontDirectory_) / file);
    }
    for (const fs::path& candidate : candidates) {
        if (fs::is_regular_file(candidate, error)) {
            path = candidate.string();
            return true;
        }
    }
    return false;
}

}  // namespace host
}  // namespace kova
}  // namespace tarn
