#include "Overlay.h"

#include <algorithm>

#include "InputScript.h"

namespace tarn {
namespace kova {
namespace view {

namespace {

const float kMargin = 6.0f;
const Color kPanel{0.02f, 0.02f, 0.05f, 0.78f};
const Color kInk{0.85f, 0.95f, 0.85f, 1.0f};

void setCorners(PaintData& data, float left, float top, float right, float bottom,
                const Color& color) {
    const float xs[4] = {left, right, right, left};
    const float ys[4] = {top, top, bottom, bottom};
    for (int i = 0; i < 4; ++i) {
        Vertex& v = data.vertex[i];
        v.x = xs[i];
        v.y = ys[i];
        v.red = color.red;
        v.green = color.green;
        v.blue = color.blue;
        v.alpha = color.alpha;
    }
}

}  // namespace

const char* const Overlay::kFont = "DejaVuSansMono 12";

int Overlay::columns(host::ReferenceHost& host) {
    float width = advance(host, host.fonts().handle(kFont));
    float room = static_cast<float>(host.canvas().width()) - 4.0f * kMargin;
    return width > 0.0f ? std::max(1, static_cast<int>(room / width)) : 80;
}

void Overlay::draw(host::ReferenceHost& host, const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    int font = host.fonts().handle(kFont);
    float lineHeight = host.fonts().height(font);
    if (!(lineHeight > 0.0f)) return;
    host::Canvas& canvas = host.canvas();
    host::Rasterizer rasterizer(canvas);
    const Rectangle whole{0.0f, 0.0f, static_cast<float>(canvas.width()),
                          static_cast<float>(canvas.height())};
    const host::Glyph* sample = host.fonts().glyph(font, 'M');
    float ascent = sample ? sample->metrics.ascent : lineHeight * 0.75f;
    float widest = 0.0f;
    for (const std::string& line : lines) {
        std::vector<int> characters;
        host::InputScript::decodeUtf8(line, characters);
        widest = std::max(widest, static_cast<float>(characters.size()));
    }
    float right = std::min(whole.width, kMargin * 3.0f + widest * advance(host, font));
    float bottom = kMargin * 2.0f + lineHeight * static_cast<float>(lines.size());
    fill(rasterizer, whole, kMargin, kMargin, right, std::min(whole.height, bottom), kPanel);
    float baseline = kMargin * 1.5f + (lineHeight - ascent) * 0.5f + ascent;
    for (const std::string& line : lines) {
        text(host, rasterizer, whole, font, line, kMargin * 2.0f, baseline);
        baseline += lineHeight;
    }
}

float Overlay::advance(host::ReferenceHost& host, int font) {
    const host::Glyph* glyph = host.fonts().glyph(font, 'M');
    if (!glyph) return 0.0f;
    const CharacterMetrics& m = glyph->metrics;
    return m.before + m.width + m.after;
}

void Overlay::fill(host::Rasterizer& rasterizer, const Rectangle& canvas, float left, float top,
                   float right, float bottom, const Color& color) {
    static const unsigned char kWhite[4] = {255, 255, 255, 255};
    PaintData data;
    setCorners(data, left, top, right, bottom, color);
    rasterizer.drawQuad(canvas, data, host::Texture{1, 1, 4, kWhite});
}

// Characters that are not UTF-8 are drawn byte by byte, as Latin-1.
void Overlay::text(host::ReferenceHost& host, host::Rasterizer& rasterizer, const Rectangle& canvas,
                   int font, const std::string& line, float x, float baseline) {
    std::vector<int> characters;
    if (!host::InputScript::decodeUtf8(line, characters)) {
        characters.assign(line.begin(), line.end());
        for (int& c : characters)
            c &= 0xFF;
    }
    for (int character : characters) {
        const host::Glyph* glyph = host.fonts().glyph(font, character);
        if (!glyph) continue;
        const CharacterMetrics& m = glyph->metrics;
        if (!glyph->coverage.empty()) {
            PaintData data;
            float left = x + m.before, top = baseline - m.ascent;
            setCorners(data, left, top, left + m.width, top + m.height, kInk);
            rasterizer.drawQuad(
                canvas, data, host::Texture{glyph->width, glyph->rows, 1, glyph->coverage.data()});
        }
        x += m.before + m.width + m.after;
    }
}

}  // namespace view
}  // namespace kova
}  // namespace tarn
