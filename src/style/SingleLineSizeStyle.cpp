#include "kova/data.h"
#include "kova/style.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(SingleLineSizeStyle, SizeStyle)

SingleLineSizeStyle::SingleLineSizeStyle(const char* name, int font, float size)
    : SizeStyle(name, font, size) {}

void SingleLineSizeStyle::onPaint(System& system, Data* text, int index, Rectangle& area,
                                  Rectangle* clip, EffectPipe& pipe) {
    if (text) paintLine(system, *text, index, area, clip, pipe, true);
}

}  // namespace kova
}  // namespace tarn
