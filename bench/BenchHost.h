// The host of the engine benchmarks. It does on the CPU what a game's
// renderer does: glyph sizes come from a fixed metrics table, and every glyph
// or picture the engine paints becomes four vertices (position, texture
// coordinates, packed colour) appended to a vertex array that is allocated
// once and refilled each frame. Object files live in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "kova/kova.h"

namespace kova_bench {

using namespace tarn::kova;

// The layout of a typical game vertex: 20 bytes.
struct BenchVertex {
    float x;
    float y;
    float u;
    float v;
    std::uint32_t colour;
};

class BenchHost : public System {
public:
    BenchHost(float width = 800.0f, float height = 1100.0f);

    IStream* createIStream(const char* name) override;
    OStream* createOStream(const char* name) override;
    bool charPaint(int character, int font, PaintData& data) override;
    bool picturePaint(int picture, PaintData& data) override;
    bool charMetrics(int character, int font, CharacterMetrics& m) override;
    float fontHeight(int) override { return 16.0f; }
    int fontHandle(const char* name) override { return name && *name ? 1 : 0; }
    const char* fontName(int handle) override { return handle ? "Bench 16" : ""; }
    int pictureHandle(const char* name) override { return name && *name ? 1 : 0; }
    const char* pictureName(int handle) override { return handle ? "Plate" : ""; }
    float pictureWidth(int) override { return 64.0f; }
    float pictureHeight(int) override { return 64.0f; }
    OStream* infoOStream() override { return &log_; }
    void onPrePaint() override { vertexCount = 0; }

    // Object files by stream name; output streams land here when released.
    std::map<std::string, std::string, std::less<>> files;

    std::vector<BenchVertex> vertices;  // allocated once
    std::size_t vertexCount = 0;        // of the last frame
    long droppedQuads = 0;              // past the array's end
    // Off: charPaint and picturePaint return at once, so a frame measures
    // the engine alone, with every host call still made.
    bool writeVertices = true;
    long problems = 0;  // log lines that are errors or warnings

private:
    class LogCounter : public OStream {
    public:
        explicit LogCounter(long& problems) : problems_(problems) {}
        int writeBuffer(const void* data, int size) override;

    private:
        long& problems_;
    };

    void appendQuad(const PaintData& data, const float* uv);

    LogCounter log_{problems};
};

}  // namespace kova_bench
