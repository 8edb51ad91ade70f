// Comparisons and logic over two operands (one for NotData).
#include "Reentry.h"
#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(LogicalData, Data)
KOVA_IMPLEMENT_CLASS(EqualData, LogicalData)
KOVA_IMPLEMENT_CLASS(NotEqualData, LogicalData)
KOVA_IMPLEMENT_CLASS(LessEqualData, LogicalData)
KOVA_IMPLEMENT_CLASS(LessData, LogicalData)
KOVA_IMPLEMENT_CLASS(OrData, LogicalData)
KOVA_IMPLEMENT_CLASS(AndData, LogicalData)
KOVA_IMPLEMENT_CLASS(ExclusiveOrData, LogicalData)
KOVA_IMPLEMENT_CLASS(NotData, LogicalData)

namespace {
float truth(bool value) {
    return value ? 1.0f : 0.0f;
}
}  // namespace

LogicalData::LogicalData(const char* name) : Data(name) {}

float LogicalData::value(System&) {
    return 0.0f;
}

int LogicalData::character(System& system, int position) {
    return value(system) == 0.0f ? characterFalse(position) : characterTrue(position);
}

bool LogicalData::onStream(System& system, Stream& stream) {
    return Data::onStream(system, stream) && stream.streamData(system, data1_, "Data 1", nullptr) &&
           stream.streamData(system, data2_, "Data 2", nullptr);
}

int LogicalData::characterFalse(int position) {
    return BoolData::boolToString(false, position);
}

int LogicalData::characterTrue(int position) {
    return BoolData::boolToString(true, position);
}

bool LogicalData::operands(System& system, float& a, float& b) {
    return readOperands(system, data1_, data2_, reading_, a, b);
}

EqualData::EqualData(const char* name) : LogicalData(name) {}

float EqualData::value(System& system) {
    float a, b;
    return truth(operands(system, a, b) && a == b);
}

NotEqualData::NotEqualData(const char* name) : LogicalData(name) {}

// Missing operands read 0 here too, although they are not equal either.
float NotEqualData::value(System& system) {
    float a, b;
    return truth(operands(system, a, b) && a != b);
}

LessEqualData::LessEqualData(const char* name) : LogicalData(name) {}

float LessEqualData::value(System& system) {
    float a, b;
    return truth(operands(system, a, b) && a <= b);
}

LessData::LessData(const char* name) : LogicalData(name) {}

float LessData::value(System& system) {
    float a, b;
    return truth(operands(system, a, b) && a < b);
}

OrData::OrData(const char* name) : LogicalData(name) {}

// Both operands must be present, even when data 1 alone would decide.
float OrData::value(System& system) {
    float a, b;
    return truth(operands(system, a, b) && (a != 0.0f || b != 0.0f));
}

AndData::AndData(const char* name) : LogicalData(name) {}

float AndData::value(System& system) {
    float a, b;
    return truth(operands(system, a, b) && a != 0.0f && b != 0.0f);
}

ExclusiveOrData::ExclusiveOrData(const char* name) : LogicalData(name) {}

float ExclusiveOrData::value(System& system) {
    float a, b;
    return truth(operands(system, a, b) && (a != 0.0f) != (b != 0.0f));
}

NotData::NotData(const char* name) : LogicalData(name) {}

float NotData::value(System& system) {
    if (!data1_) return 0.0f;
    Reentry entry(reading_);
    return truth(entry.entered() && data1_->value(system) == 0.0f);
}

// Only the one operand is kept, under its own label.
bool NotData::onStream(System& system, Stream& stream) {
    return Data::onStream(system, stream) && stream.streamData(system, data1_, "Data", nullptr);
}

}  // namespace kova
}  // namespace tarn
