// Carries the values of named variables from one load of the screens to the
// next. Only what changed while the screens ran is carried: a variable the
// player or a screen set (a volume, a typed name, a clock) keeps its value,
// while one that still holds what its file gave it takes the value of the
// new file, so an author who edits a start value sees the edit.
//
// Plain variables are carried: BoolData, IntData, FloatData, StringData and
// WstringData, by full name, into a variable of the same class. Variables
// that compute their values or refer to the host's need no carrying.
#pragma once

#include <map>
#include <string>

#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace view {

class ValueCarrier {
public:
    // Notes the values of system's variables as its load left them.
    void noteLoaded(System& system);
    // Gives to's variables the values that from's took on since from was
    // loaded; the number of variables carried. What to's load gave them is
    // noted as loaded, for the next carry.
    int carry(System& from, System& to);

private:
    struct Value {
        bool isText = false;
        float number = 0.0f;
        std::u16string text;
        bool operator==(const Value& other) const;
    };
    using Values = std::map<std::string, Value>;

    static Values valuesOf(System& system);
    static bool read(System& system, Object* object, Value& value);
    static void write(System& system, Data& data, const Value& value);

    Values loaded_;
};

}  // namespace view
}  // namespace kova
}  // namespace tarn
