#include "Reentry.h"
#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(ToggleData, Data)

ToggleData::ToggleData() : Data(nullptr) {}

const char* ToggleData::description() {
    return "If 'Toggle data' is 0 'Data 1' will be returned, otherwise 'Data 2'";
}

// Each operation holds the mark while it asks the toggle and then the pick,
// so a pick that leads back here reads as missing.
bool ToggleData::set(System& system, float value) {
    Reentry entry(reading_);
    Data* data = entry.entered() ? selected(system) : nullptr;
    return data ? data->set(system, value) : false;
}

bool ToggleData::set(System& system, const char* text) {
    Reentry entry(reading_);
    Data* data = entry.entered() ? selected(system) : nullptr;
    return data ? data->set(system, text) : false;
}

float ToggleData::value(System& system) {
    Reentry entry(reading_);
    Data* data = entry.entered() ? selected(system) : nullptr;
    return data ? data->value(system) : 0.0f;
}

int ToggleData::character(System& system, int position) {
    Reentry entry(reading_);
    Data* data = entry.entered() ? selected(system) : nullptr;
    return data ? data->character(system, position) : 0;
}

bool ToggleData::onStream(System& system, Stream& stream) {
    return Data::onStream(system, stream) &&
           stream.streamData(system, toggleData_, "Toggle data", nullptr) &&
           stream.streamData(system, data1_, "Data 1", nullptr) &&
           stream.streamData(system, data2_, "Data 2", nullptr);
}

// A toggle reading NaN is not 0, so it picks data 2.
Data* ToggleData::selected(System& system) {
    if (toggleData_ && toggleData_->value(system) == 0.0f) return data1_;
    return data2_;
}

}  // namespace kova
}  // namespace tarn
