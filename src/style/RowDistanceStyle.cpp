#include "kova/data.h"
#include "kova/stream.h"
#include "kova/style.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(RowDistanceStyle, Style)

RowDistanceStyle::RowDistanceStyle(const char* name, int font, float rowDistance)
    : Style(name, font), rowDistance_(rowDistance) {}

bool RowDistanceStyle::onStream(System& system, Stream& stream) {
    return Style::onStream(system, stream) && stream.streamFloat(rowDistance_, "Row distance");
}

void RowDistanceStyle::onPaint(System& system, Data* text, int index, Rectangle& area,
                               Rectangle* clip, EffectPipe& pipe) {
    if (text) paintLines(system, *text, index, area, clip, pipe, false, rowDistance_);
}

}  // namespace kova
}  // namespace tarn
