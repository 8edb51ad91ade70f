// The engine's recorded pointer coordinates as data.
#include "kova/data.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(PointerXData, Data)
KOVA_IMPLEMENT_CLASS(PointerYData, Data)

PointerXData::PointerXData(const char* name) : Data(name) {}

PointerXData::~PointerXData() {
    Memory::stringDelete(text_);
}

const char* PointerXData::description() {
    return "Returns x coordinate from pointer";
}

bool PointerXData::set(System& system, float value) {
    system.pointerPosition().x = value;
    return true;
}

bool PointerXData::set(System& system, const char* text) {
    return set(system, text ? Memory::stringToFloat(text) : 0.0f);
}

float PointerXData::value(System& system) {
    return system.pointerPosition().x;
}

int PointerXData::character(System& system, int position) {
    return floatTextCharacter(value(system), textValue_, text_, position);
}

PointerYData::PointerYData(const char* name) : Data(name) {}

PointerYData::~PointerYData() {
    Memory::stringDelete(text_);
}

const char* PointerYData::description() {
    return "Returns y coordinate from pointer";
}

bool PointerYData::set(System& system, float value) {
    system.pointerPosition().y = value;
    return true;
}

bool PointerYData::set(System& system, const char* text) {
    return set(system, text ? Memory::stringToFloat(text) : 0.0f);
}

float PointerYData::value(System& system) {
    return system.pointerPosition().y;
}

int PointerYData::character(System& system, int position) {
    return floatTextCharacter(value(system), textValue_, text_, position);
}

}  // namespace kova
}  // namespace tarn
