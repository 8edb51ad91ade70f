// Kova text styles: measuring, laying out and painting text.
#pragma once

#include "kova/runtime.h"

namespace tarn {
namespace kova {

// The metrics the host fills for one character.
struct KOVA_API CharacterMetrics {
    float before = 0.0f;
    float width = 0.0f;
    float after = 0.0f;
    float height = 0.0f;
    float ascent = 0.0f;
};

// A named text style holding a host font handle. The style keeps its own name.
class KOVA_API Style : public Object {
    KOVA_RUNTIME_CLASS(Style)
public:
    explicit Style(const char* name = nullptr, int fontHandle = 0);
    ~Style() override;

    const char* name() override { return name_; }
    bool setName(const char* name) override;
    bool onStream(System& system, Stream& stream) override;

    int fontHandle() const { return fontHandle_; }
    void setFontHandle(int handle) { fontHandle_ = handle; }

protected:
    int fontHandle_;
    char* name_;
};

}  // namespace kova
}  // namespace tarn
