// Guards computed data against reading itself again through its operands.
#pragma once

#include "kova/data.h"

namespace tarn {
namespace kova {

// Marks an expression as being read for the length of one read. A second
// read of the same expression while the mark is set (a cycle through the
// operands, which a file can build by naming an object inside itself) is told
// so and answers as if its operands were missing.
class Reentry {
public:
    explicit Reentry(bool& reading) : reading_(reading), entered_(!reading) { reading_ = true; }
    ~Reentry() {
        if (entered_) reading_ = false;
    }
    Reentry(const Reentry&) = delete;
    Reentry& operator=(const Reentry&) = delete;

    bool entered() const { return entered_; }

private:
    bool& reading_;
    bool entered_;
};

// The values of two operands, read under the expression's mark; false when
// one is missing or the expression is already being read.
inline bool readOperands(System& system, Data* data1, Data* data2, bool& reading, float& a,
                         float& b) {
    if (!data1 || !data2) return false;
    Reentry entry(reading);
    if (!entry.entered()) return false;
    a = data1->value(system);
    b = data2->value(system);
    return true;
}

}  // namespace kova
}  // namespace tarn
