#include "BenchHost.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kova_bench {

namespace {

const std::size_t kVertexCapacity = 1 << 20;

// Reads an object file that stays in the host's map.
class MemoryIStream : public IStream {
public:
    explicit MemoryIStream(const std::string& bytes) : bytes_(bytes) {}
    int available() override { return static_cast<int>(bytes_.size()) - at_; }
    int readBuffer(void* buffer, int size) override {
        int n = std::max(0, std::min(size, available()));
        std::memcpy(buffer, bytes_.data() + at_, static_cast<std::size_t>(n));
        at_ += n;
        return n;
    }
    int skip(int count) override {
        int to = std::max(0, std::min(at_ + count, static_cast<int>(bytes_.size())));
        int moved = to - at_;
        at_ = to;
        return moved;
    }
    int position() override { return at_; }
    bool setPosition(int at) override {
        if (at < 0 || at > static_cast<int>(bytes_.size())) return false;
        at_ = at;
        return true;
    }

private:
    const std::string& bytes_;
    int at_ = 0;
};

// Collects a file and hands it to the host when the engine releases it.
class MemoryOStream : public OStream {
public:
    MemoryOStream(BenchHost& host, const char* name) : host_(host), name_(name) {}
    ~MemoryOStream() override { host_.files[name_] = std::move(bytes_); }
    int writeBuffer(const void* data, int size) override {
        if (at_ + size > static_cast<int>(bytes_.size()))
            bytes_.resize(static_cast<std::size_t>(at_ + size));
        std::memcpy(&bytes_[static_cast<std::size_t>(at_)], data, static_cast<std::size_t>(size));
        at_ += size;
        return size;
    }
    int position() override { return at_; }
    bool setPosition(int at) override {
        if (at < 0 || at > static_cast<int>(bytes_.size())) return false;
        at_ = at;
        return true;
    }

private:
    BenchHost& host_;
    std::string name_;
    std::string bytes_;
    int at_ = 0;
};

// The fixed font: every printable character has its own advance and its own
// cell in a 16 x 8 glyph atlas.
struct Glyph {
    CharacterMetrics metrics;
    float uv[4];  // left, top, right, bottom
};

struct FontTable {
    Glyph glyphs[128];
    FontTable() {
        for (int c = 0; c < 128; ++c) {
            Glyph& g = glyphs[c];
            g.metrics.before = 0.5f;
            g.metrics.width = c == ' ' ? 0.0f : 5.0f + static_cast<float>(c % 5);
            g.metrics.after = 1.0f;
            g.metrics.height = 13.0f;
            g.metrics.ascent = 11.0f;
            float u = static_cast<float>(c % 16) / 16.0f;
            float v = static_cast<float>(c / 16) / 8.0f;
            g.uv[0] = u;
            g.uv[1] = v;
            g.uv[2] = u + 1.0f / 16.0f;
            g.uv[3] = v + 1.0f / 8.0f;
        }
    }
};

const FontTable kFont;
const float kWholePicture[4] = {0.0f, 0.0f, 1.0f, 1.0f};

// Each channel clamped to 0..1 and rounded to a byte, red in the low byte.
#if defined(__SSE2__)
std::uint32_t packColour(const Vertex& v) {
    __m128 c = _mm_loadu_ps(&v.red);
    c = _mm_min_ps(_mm_max_ps(c, _mm_setzero_ps()), _mm_set1_ps(1.0f));
    c = _mm_add_ps(_mm_mul_ps(c, _mm_set1_ps(255.0f)), _mm_set1_ps(0.5f));
    __m128i bytes = _mm_cvttps_epi32(c);
    bytes = _mm_packs_epi32(bytes, bytes);
    bytes = _mm_packus_epi16(bytes, bytes);
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes));
}
#else
// Through int: converting a float to an unsigned type straight away costs a
// range check.
std::uint32_t channel(float f) {
    f = f < 0.0f ? 0.0f : f;
    f = f > 1.0f ? 1.0f : f;
    return static_cast<std::uint32_t>(static_cast<int>(f * 255.0f + 0.5f));
}

std::uint32_t packColour(const Vertex& v) {
    return channel(v.red) | channel(v.green) << 8 | channel(v.blue) << 16 | channel(v.alpha) << 24;
}
#endif

bool sameColour(const Vertex& a, const Vertex& b) {
    return std::memcmp(&a.red, &b.red, 4 * sizeof(float)) == 0;
}

}  // namespace

BenchHost::BenchHost(float width, float height) : System(width, height) {
    vertices.resize(kVertexCapacity);
}

IStream* BenchHost::createIStream(const char* name) {
    auto found = files.find(name);
    return found == files.end() ? nullptr : new MemoryIStream(found->second);
}

OStream* BenchHost::createOStream(const char* name) {
    return new MemoryOStream(*this, name);
}

bool BenchHost::charMetrics(int character, int, CharacterMetrics& m) {
    m = kFont.glyphs[character & 127].metrics;
    return true;
}

bool BenchHost::charPaint(int character, int, PaintData& data) {
    if (!writeVertices) return true;
    appendQuad(data, kFont.glyphs[character & 127].uv);
    return true;
}

bool BenchHost::picturePaint(int, PaintData& data) {
    if (!writeVertices) return true;
    appendQuad(data, kWholePicture);
    return true;
}

// Texture coordinates the record carries win over the glyph's or picture's.
// Most quads have one colour at every corner, so a corner whose colour is the
// one before it reuses that packed colour, as a renderer batching quads does.
void BenchHost::appendQuad(const PaintData& data, const float* uv) {
    if (vertexCount + 4 > vertices.size()) {
        ++droppedQuads;
        return;
    }
    static const int corner[4][2] = {{0, 1}, {2, 1}, {2, 3}, {0, 3}};
    BenchVertex* out = &vertices[vertexCount];
    std::uint32_t colour = packColour(data.vertex[0]);
    for (int i = 0; i < 4; ++i) {
        const Vertex& v = data.vertex[i];
        if (i > 0 && !sameColour(v, data.vertex[i - 1])) colour = packColour(v);
        out[i].x = v.x;
        out[i].y = v.y;
        out[i].u = data.hasUV ? v.u : uv[corner[i][0]];
        out[i].v = data.hasUV ? v.v : uv[corner[i][1]];
        out[i].colour = colour;
    }
    vertexCount += 4;
}

int BenchHost::LogCounter::writeBuffer(const void* data, int size) {
    std::string_view line(static_cast<const char*>(data), static_cast<std::size_t>(size));
    if (line.find("Error") != std::string::npos || line.find("Warning") != std::string::npos)
        ++problems_;
    return size;
}

}  // namespace kova_bench
