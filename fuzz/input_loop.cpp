// Drives the sample menu with arbitrary input. The fuzz bytes are read as a
// sequence of host calls: button presses and releases and characters with
// any button, character and input index (out-of-range ones too), pointer
// moves and frame times of any float (0, negative, huge, NaN, infinities),
// odd screen sizes, saves and reloads of the screens. Each input starts from
// a fresh load and ends with exit; no run may crash, hang, leak or leave an
// instance alive.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz_support.h"
#include "sample_menu.h"

namespace kova_fuzz {
namespace {

// At most this many calls per input, so that every input ends quickly (a
// frame of the sample menu under the sanitizers takes about a millisecond).
const int kMostCalls = 200;

class CallReader {
public:
    CallReader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool done() const { return at_ >= size_; }
    int byte() { return at_ < size_ ? data_[at_++] : 0; }
    // A small signed number: input indexes, buttons and repeat counts around
    // their valid ranges.
    int small() { return static_cast<signed char>(byte()); }
    int character() { return byte() | byte() << 8; }
    // Any bit pattern, so NaNs, infinities and denormals come up.
    float anyFloat() {
        uint32_t bits = static_cast<uint32_t>(byte()) | static_cast<uint32_t>(byte()) << 8 |
                        static_cast<uint32_t>(byte()) << 16 | static_cast<uint32_t>(byte()) << 24;
        float value;
        std::memcpy(&value, &bits, sizeof(value));
        return value;
    }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

void call(FuzzHost& host, CallReader& in) {
    switch (in.byte() % 13) {
        case 0:
            host.buttonPress(in.small(), in.small(), in.small());
            break;
        case 1:
            host.buttonRelease(in.small(), in.small());
            break;
        case 2:
            host.unicodePress(in.character(), in.small(), in.small());
            break;
        case 3:
            host.unicodeRelease(in.character(), in.small());
            break;
        case 4:
            host.pointerMove(in.anyFloat(), in.anyFloat());
            break;
        case 5:
            host.update(in.anyFloat());
            break;
        case 6:
            host.setSize(in.anyFloat(), in.anyFloat());
            break;
        case 7:
            host.save();
            break;
        case 8:
            host.load("Menus/Main", nullptr);
            break;
        case 9:
            host.pointerMove(static_cast<float>(in.byte() * 3), static_cast<float>(in.byte() * 2));
            break;
        default:  // an ordinary frame, so that times and transitions move on
            host.update(1.0f / 60.0f);
            host.paint();
            break;
    }
}

}  // namespace
}  // namespace kova_fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kova_fuzz;
    {
        FuzzHost host;
        host.init();
        host.files = sampleFiles();
        host.setSize(640.0f, 360.0f);
        host.load("Menus/Main", nullptr);
        CallReader in(data, size);
        for (int calls = 0; calls < kMostCalls && !in.done(); ++calls)
            call(host, in);
        host.update(1.0f / 60.0f);
        host.paint();
        host.exit();
    }
    requireNothingAlive("input loop");
    return 0;
}
