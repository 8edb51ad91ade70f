// The host of the sample menu (samples/): the reference host, set up the way
// the sample game sets itself up before it loads its menu.
#pragma once

#include <string>

#include "KovaHost.h"

namespace tarn {
namespace kova {
namespace demo {

class SampleHost : public host::ReferenceHost {
public:
    // The sample's screens are laid out for a screen of this size.
    static const int kScreenWidth = 640;
    static const int kScreenHeight = 360;
    // The object file a game loads: the root of the sample menu.
    static const char* const kMenu;  // "Menus/Main"

    // root holds the built sample (object files and pictures). The canvas is
    // width x height pixels and shows the whole 640 x 360 screen, scaled.
    SampleHost(const std::string& root, int width, int height);

    // init, then the game's own set-up, then the menu; false when any of them
    // fails (the log tells why).
    bool start();

private:
    bool setUpGame();
};

}  // namespace demo
}  // namespace kova
}  // namespace tarn
