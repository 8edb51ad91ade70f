#include "ReferenceHost.h"

namespace tarn {
namespace kova {
namespace host {

ReferenceHost::ReferenceHost(const std::string& root, int width, int height)
    : System(static_cast<float>(width), static_cast<float>(height)),
      files_(root, log_),
      fonts_(log_, root),
      pictures_(log_, root),
      canvas_(width, height),
      rasterizer_(canvas_) {
    canvas_.clear(Color{0.0f, 0.0f, 0.0f, 1.0f});
}

ReferenceHost::~ReferenceHost() = default;

bool ReferenceHost::saveFiles() {
    files_.beginSave();
    bool saved = save();
    return files_.endSave(saved);
}

bool ReferenceHost::update(float elapsed) {
    bool updated = System::update(elapsed);
    clock_ += elapsed;
    return updated;
}

bool ReferenceHost::charPaint(int character, int font, PaintData& data) {
    const Glyph* glyph = fonts_.glyph(font, character);
    if (!glyph) return false;
    Texture texture{glyph->width, glyph->rows, 1,
                    glyph->coverage.empty() ? nullptr : glyph->coverage.data()};
    return rasterizer_.drawQuad(clipRect(), data, texture);
}

bool ReferenceHost::charMetrics(int character, int font, CharacterMetrics& metrics) {
    const Glyph* glyph = fonts_.glyph(font, character);
    if (!glyph) return false;
    metrics = glyph->metrics;
    return true;
}

float ReferenceHost::charKerning(int font, int first, int second) {
    return fonts_.kerning(font, first, second);
}

// Picture 0, no picture, is a plain quad in its vertex colours: the engine
// draws its cursor bars and underlines that way, and screens draw panels and
// backgrounds with it under colour effects.
bool ReferenceHost::picturePaint(int picture, PaintData& data) {
    static const unsigned char kWhite[4] = {255, 255, 255, 255};
    Texture texture =
        picture == 0 ? Texture{1, 1, 4, kWhite} : pictures_.picture(picture).texture();
    if (!texture.pixels) return false;
    return rasterizer_.drawQuad(clipRect(), data, texture);
}

float ReferenceHost::pictureWidth(int picture) {
    return static_cast<float>(pictures_.picture(picture).width);
}

float ReferenceHost::pictureHeight(int picture) {
    return static_cast<float>(pictures_.picture(picture).height);
}

bool ReferenceHost::soundPlay(int sound, float volume) {
    return sounds_.play(sound, volume, clock_);
}

}  // namespace host
}  // namespace kova
}  // namespace tarn
