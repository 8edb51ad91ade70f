// Kova actions: what screens do in response to events.
#pragma once

#include "kova/runtime.h"

namespace tarn {
namespace kova {

// Base of actions.
class KOVA_API Action : public Object {
    KOVA_RUNTIME_CLASS(Action)
public:
    Action() = default;
};

}  // namespace kova
}  // namespace tarn
