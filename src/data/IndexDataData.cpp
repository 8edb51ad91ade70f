#include "Reentry.h"
#include "kova/data.h"
#include "kova/geometry.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(IndexDataData, Data)

IndexDataData::IndexDataData(const char* name) : Data(name) {}

// Each operation holds the mark while it asks the index and then the data,
// so an index or data that leads back here reads as missing.
bool IndexDataData::set(System& system, float value) {
    Reentry entry(reading_);
    int index = 0;
    return entry.entered() && element(system, index) ? data_->set(system, index, value) : true;
}

bool IndexDataData::set(System& system, const unsigned short* text) {
    Reentry entry(reading_);
    int index = 0;
    return entry.entered() && element(system, index) ? data_->set(system, index, text) : true;
}

bool IndexDataData::set(System& system, const char* text) {
    Reentry entry(reading_);
    int index = 0;
    if (entry.entered() && element(system, index)) data_->set(system, index, text);
    return true;
}

float IndexDataData::value(System& system) {
    Reentry entry(reading_);
    int index = 0;
    return entry.entered() && element(system, index) ? data_->value(system, index) : 0.0f;
}

int IndexDataData::character(System& system, int position) {
    Reentry entry(reading_);
    int index = 0;
    return entry.entered() && element(system, index) ? data_->character(system, index, position)
                                                     : 0;
}

bool IndexDataData::onStream(System& system, Stream& stream) {
    return Data::onStream(system, stream) && stream.streamData(system, data_, "Data", nullptr) &&
           stream.streamData(system, index_, "Index", nullptr);
}

// The index reads as a number truncated toward zero; NaN picks element 0
// and numbers beyond the integers the nearest end.
bool IndexDataData::element(System& system, int& index) {
    if (!data_ || !index_) return false;
    index = truncateToInt(index_->value(system));
    return true;
}

}  // namespace kova
}  // namespace tarn
