#include "kova/style.h"

#include <climits>

#include "kova/data.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(Style, Object)

Style::Style(const char* name, int fontHandle)
    : fontHandle_(fontHandle), name_(Memory::stringDuplicate(name)) {}

Style::~Style() {
    Memory::stringDelete(name_);
}

bool Style::setName(const char* name) {
    char* copy = Memory::stringDuplicate(name);
    Memory::stringDelete(name_);
    name_ = copy;
    return true;
}

bool Style::onStream(System& system, Stream& stream) {
    return Object::onStream(system, stream) &&
           stream.streamFont(system, fontHandle_, "Font handle");
}

float Style::characterWidth(System& system, int character) {
    return characterWidth(system, this, character);
}

float Style::stringWidth(System& system, const char* text) {
    return stringWidth(system, this, text);
}

float Style::stringWidth(System& system, const unsigned short* text) {
    return stringWidth(system, this, text);
}

float Style::stringWidth(System& system, Data* text, int index) {
    return stringWidth(system, this, text, index);
}

float Style::scale() {
    return 1.0f;
}

// Whatever the host answers is used, also when it has no such glyph.
float Style::characterWidth(System& system, Style* style, int character) {
    CharacterMetrics m;
    system.charMetrics(character, style ? style->fontHandle_ : 0, m);
    return (m.width + m.after) + m.before;
}

// Bytes of narrow texts are measured as signed characters, as they paint.
float Style::stringWidth(System& system, Style* style, const char* text) {
    if (!style || !text) return 0.0f;
    float width = 0.0f;
    for (; *text; ++text)
        width = width + characterWidth(system, style, static_cast<signed char>(*text));
    return width;
}

float Style::stringWidth(System& system, Style* style, const unsigned short* text) {
    if (!style || !text) return 0.0f;
    float width = 0.0f;
    for (; *text; ++text)
        width = width + characterWidth(system, style, *text);
    return width;
}

float Style::stringWidth(System& system, Style* style, Data* text, int index) {
    if (!style || !text) return 0.0f;
    float width = 0.0f;
    for (int position = 0; position < INT_MAX; ++position) {
        int character = text->character(system, index, position);
        if (character == 0) break;
        width = width + characterWidth(system, style, character);
    }
    return width;
}

Style* Style::orSystemStyle(System& system, Style* style) {
    return style ? style : system.systemStyle();
}

// Before init there is no system style either; then nothing is painted.
void Style::paint(System& system, Style* style, Rectangle& area, Rectangle* clip, EffectPipe& pipe,
                  Data* text, int index) {
    Style* painter = orSystemStyle(system, style);
    if (!text || !painter) return;
    painter->onPaint(system, text, index, area, clip, pipe);
}

void Style::paint(System& system, Style* style, Rectangle& area, Rectangle* clip, EffectPipe& pipe,
                  const char* text) {
    if (!text) return;
    StackData data(text);
    paint(system, style, area, clip, pipe, &data, 0);
}

void Style::paint(System& system, Style* style, Rectangle& area, Rectangle* clip, EffectPipe& pipe,
                  const unsigned short* text) {
    if (!text) return;
    WstackData data(text);
    paint(system, style, area, clip, pipe, &data, 0);
}

bool Style::clear(System& system, Style*& style) {
    return Object::clear(system, style);
}

}  // namespace kova
}  // namespace tarn
