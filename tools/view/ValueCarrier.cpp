#include "ValueCarrier.h"

#include <cstring>
#include <vector>

#include "NamedObjects.h"

namespace tarn {
namespace kova {
namespace view {

namespace {

bool isNumberClass(RuntimeClass* c) {
    return c == BoolData::absoluteClass() || c == IntData::absoluteClass() ||
           c == FloatData::absoluteClass();
}

bool isTextClass(RuntimeClass* c) {
    return c == StringData::absoluteClass() || c == WstringData::absoluteClass();
}

}  // namespace

// Numbers compare by their bits, so a NaN that stayed a NaN is unchanged.
bool ValueCarrier::Value::operator==(const Value& other) const {
    return isText == other.isText && text == other.text &&
           std::memcmp(&number, &other.number, sizeof(number)) == 0;
}

void ValueCarrier::noteLoaded(System& system) {
    loaded_ = valuesOf(system);
}

int ValueCarrier::carry(System& from, System& to) {
    Values loadedNow = valuesOf(to);
    int carried = 0;
    for (const NamedObject& named : namedObjects(from)) {
        Value value;
        if (!read(from, named.object, value)) continue;
        auto loaded = loaded_.find(named.fullName);
        if (loaded != loaded_.end() && loaded->second == value) continue;
        Object* target = to.findNamedObject(named.fullName.c_str());
        if (!target || target->actualClass() != named.object->actualClass()) continue;
        write(to, static_cast<Data&>(*target), value);
        ++carried;
    }
    loaded_ = loadedNow;
    return carried;
}

ValueCarrier::Values ValueCarrier::valuesOf(System& system) {
    Values values;
    for (const NamedObject& named : namedObjects(system)) {
        Value value;
        if (read(system, named.object, value)) values[named.fullName] = value;
    }
    return values;
}

bool ValueCarrier::read(System& system, Object* object, Value& value) {
    RuntimeClass* c = object->actualClass();
    Data& data = static_cast<Data&>(*object);
    if (isNumberClass(c)) {
        value.number = data.value(system);
        return true;
    }
    if (!isTextClass(c)) return false;
    value.isText = true;
    std::vector<unsigned short> buffer(static_cast<std::size_t>(data.stringLength(system)) + 1);
    data.stringCopy(system, buffer.data(), static_cast<int>(buffer.size()));
    for (std::size_t i = 0; buffer[i] != 0; ++i)
        value.text.push_back(static_cast<char16_t>(buffer[i]));
    return true;
}

void ValueCarrier::write(System& system, Data& data, const Value& value) {
    if (!value.isText) {
        data.set(system, value.number);
        return;
    }
    std::vector<unsigned short> buffer(value.text.begin(), value.text.end());
    buffer.push_back(0);
    data.set(system, buffer.data());
}

}  // namespace view
}  // namespace kova
}  // namespace tarn
