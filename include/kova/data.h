// Kova data and functions: variables shared by screens and host, and
// host-callable functions.
#pragma once

#include "kova/runtime.h"

namespace tarn {
namespace kova {

// Base of variables.
class KOVA_API Data : public Object {
    KOVA_RUNTIME_CLASS(Data)
public:
    Data() = default;
};

// Base of functions that screens call by name.
class KOVA_API Function : public Object {
    KOVA_RUNTIME_CLASS(Function)
public:
    Function() = default;
};

}  // namespace kova
}  // namespace tarn
