// Replays arbitrary bytes as the cache file of the sample menu: the real
// object files are all there, the cache is damaged in any way. A load either
// replays what the cache holds or fails cleanly; a few frames of input follow
// either way. No run may crash, hang, leak or leave an instance alive.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "sample_menu.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kova_fuzz;
    {
        FuzzHost host;
        host.init();
        host.files = sampleFiles();
        host.files["cache"] = Bytes(data, data + size);
        host.setSize(640.0f, 360.0f);
        host.load("Menus/Main", "cache");
        for (int button : {Button::Downwards, Button::Select, Button::Downwards}) {
            host.update(0.5f);
            host.paint();
            host.buttonPress(button, 1, 1);
            host.buttonRelease(button, 1);
        }
        host.update(0.5f);
        host.paint();
        host.exit();
    }
    requireNothingAlive("cache replay");
    return 0;
}
