// Arithmetic over two operands.
#include <cmath>
#include <limits>

#include "Reentry.h"
#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(OperatorData, Data)
KOVA_IMPLEMENT_CLASS(AddData, OperatorData)
KOVA_IMPLEMENT_CLASS(SubData, OperatorData)
KOVA_IMPLEMENT_CLASS(MulData, OperatorData)
KOVA_IMPLEMENT_CLASS(DivData, OperatorData)

OperatorData::OperatorData(const char* name) : Data(name) {}

OperatorData::~OperatorData() {
    Memory::stringDelete(text_);
}

float OperatorData::value(System&) {
    return 0.0f;
}

int OperatorData::character(System& system, int position) {
    return floatTextCharacter(value(system), textValue_, text_, position);
}

bool OperatorData::onStream(System& system, Stream& stream) {
    return Data::onStream(system, stream) && stream.streamData(system, data1_, "Data 1", nullptr) &&
           stream.streamData(system, data2_, "Data 2", nullptr);
}

bool OperatorData::operands(System& system, float& a, float& b) {
    return readOperands(system, data1_, data2_, reading_, a, b);
}

// Overflow to an infinity and NaN operands follow float arithmetic.
AddData::AddData(const char* name) : OperatorData(name) {}

float AddData::value(System& system) {
    float a, b;
    return operands(system, a, b) ? a + b : 0.0f;
}

SubData::SubData(const char* name) : OperatorData(name) {}

float SubData::value(System& system) {
    float a, b;
    return operands(system, a, b) ? a - b : 0.0f;
}

MulData::MulData(const char* name) : OperatorData(name) {}

float MulData::value(System& system) {
    float a, b;
    return operands(system, a, b) ? a * b : 0.0f;
}

DivData::DivData(const char* name) : OperatorData(name) {}

// A zero divisor gives what float division gives, worked out here so that
// it does not hang on how a compiler or checker treats division by zero: NaN
// for 0 / 0 (and NaN / 0), else an infinity whose sign is the dividend's,
// turned by a negative zero divisor.
float DivData::value(System& system) {
    float a, b;
    if (!operands(system, a, b)) return 0.0f;
    if (b != 0.0f) return a / b;
    if (std::isnan(a) || a == 0.0f) return std::numeric_limits<float>::quiet_NaN();
    float infinity = std::numeric_limits<float>::infinity();
    return std::signbit(a) != std::signbit(b) ? -infinity : infinity;
}

}  // namespace kova
}  // namespace tarn
