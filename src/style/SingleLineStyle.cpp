#include "kova/data.h"
#include "kova/style.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(SingleLineStyle, Style)

SingleLineStyle::SingleLineStyle(const char* name, int fontHandle) : Style(name, fontHandle) {}

void SingleLineStyle::onPaint(System& system, Data* text, int index, Rectangle& area,
                              Rectangle* clip, EffectPipe& pipe) {
    if (text) paintLines(system, *text, index, area, clip, pipe, true, lineHeight(system));
}

}  // namespace kova
}  // namespace tarn
