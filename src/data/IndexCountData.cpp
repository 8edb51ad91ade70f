#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(IndexCountData, Data)

IndexCountData::IndexCountData(const char* name) : Data(name) {}

float IndexCountData::value(System& system) {
    return data_ ? static_cast<float>(data_->indexCount(system)) : 0.0f;
}

// The count is written afresh for each character: it is short, and the
// data may have grown since.
int IndexCountData::character(System& system, int position) {
    if (!data_ || position < 0) return 0;
    char text[IntTextSize];
    Memory::intToString(data_->indexCount(system), text);
    for (int i = 0; i < position; ++i) {
        if (text[i] == 0) return 0;
    }
    return text[position];
}

bool IndexCountData::onStream(System& system, Stream& stream) {
    return Data::onStream(system, stream) && stream.streamData(system, data_, "Data", nullptr);
}

}  // namespace kova
}  // namespace tarn
