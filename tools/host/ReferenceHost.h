// A complete host for the engine, without a window: a System whose
// - streams are files below a root directory (FileStore: a file is replaced
//   only once it is wholly written; saveFiles saves all or nothing),
// - fonts come from FreeType ("DejaVuSans 24": FontCache),
// - pictures are PNG files below the root (PictureCache); picture 0 is a
//   plain quad in its vertex colours,
// - drawing goes into an RGBA image (Canvas) through a software rasterizer,
// - sounds are recorded with their time (SoundLog),
// - log is kept line by line (HostLog), the engine's and the host's own.
// A game or a tool derives from it or uses it as it is; FrameDriver runs it
// frame by frame. Handles of fonts, pictures and sounds are given out per
// name, the empty name being 0, so every name survives a load and a save.
#pragma once

#include <string>

#include "Canvas.h"
#include "FileStore.h"
#include "FontCache.h"
#include "HostLog.h"
#include "PictureCache.h"
#include "Rasterizer.h"
#include "SoundLog.h"
#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace host {

class ReferenceHost : public System {
public:
    // Files, pictures and fonts are looked for below root; the screen and
    // the canvas are width x height pixels. setSize changes the screen only:
    // the canvas keeps its size and shows the whole screen, scaled.
    ReferenceHost(const std::string& root, int width, int height);
    ~ReferenceHost() override;

    // Saves every named object that keeps its own file (System::save) as one
    // unit: the files are replaced only when the engine's save and every
    // file's writing succeeded; otherwise every old file stays as it was and
    // the log tells why. Use it instead of System::save.
    bool saveFiles();

    // The clock: the sum of the times given to update so far. A sound is
    // recorded at the clock of the frame in which it starts.
    bool update(float elapsed) override;
    double clock() const { return clock_; }

    OStream* infoOStream() override { return &log_; }
    IStream* createIStream(const char* name) override { return files_.openInput(name); }
    OStream* createOStream(const char* name) override { return files_.openOutput(name); }

    bool charPaint(int character, int font, PaintData& data) override;
    bool charMetrics(int character, int font, CharacterMetrics& metrics) override;
    float charKerning(int font, int first, int second) override;
    float fontHeight(int font) override { return fonts_.height(font); }
    int fontHandle(const char* name) override { return fonts_.handle(name); }
    const char* fontName(int font) override { return fonts_.name(font); }

    bool picturePaint(int picture, PaintData& data) override;
    int pictureHandle(const char* name) override { return pictures_.handle(name); }
    const char* pictureName(int picture) override { return pictures_.name(picture); }
    float pictureWidth(int picture) override;
    float pictureHeight(int picture) override;

    bool soundPlay(int sound, float volume) override;
    int soundHandle(const char* name) override { return sounds_.handle(name); }
    const char* soundName(int sound) override { return sounds_.name(sound); }

    HostLog& log() { return log_; }
    FileStore& files() { return files_; }
    FontCache& fonts() { return fonts_; }
    PictureCache& pictures() { return pictures_; }
    SoundLog& sounds() { return sounds_; }
    Canvas& canvas() { return canvas_; }

private:
    HostLog log_;
    FileStore files_;
    FontCache fonts_;
    PictureCache pictures_;
    SoundLog sounds_;
    Canvas canvas_;
    Rasterizer rasterizer_;
    double clock_ = 0.0;
};

}  // namespace host
}  // namespace kova
}  // namespace tarn
