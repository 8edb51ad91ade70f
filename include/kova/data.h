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

// Base of functions that screens call by name. A function keeps its own
// name; a plain Function is a placeholder whose call only logs.
class KOVA_API Function : public Object {
    KOVA_RUNTIME_CLASS(Function)
public:
    explicit Function(const char* name = nullptr);
    ~Function() override;

    const char* name() override { return name_; }
    bool setName(const char* name) override;
    virtual bool call(System& system);

protected:
    char* name_;
};

}  // namespace kova
}  // namespace tarn
