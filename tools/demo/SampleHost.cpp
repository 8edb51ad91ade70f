#include "SampleHost.h"

namespace tarn {
namespace kova {
namespace demo {

const char* const SampleHost::kMenu = "Menus/Main";

SampleHost::SampleHost(const std::string& root, int width, int height)
    : ReferenceHost(root, width, height) {
    setSize(static_cast<float>(kScreenWidth), static_cast<float>(kScreenHeight));
}

bool SampleHost::start() {
    return init() && setUpGame() && load(kMenu, static_cast<const char*>(nullptr));
}

// Everything the sample game does beyond loading its menu. Two players share
// the screen with a pad each, so the game swaps the plain pointer for one
// that gives each pad a player number of its own: the join screen locks it,
// and from then on every pad's input carries its player's number. The menu's
// own variables ("Game/Volume", "Game/PlayerName", "Game/Quit", ...) live in
// its files; a game reads them by name with findNamedObject.
bool SampleHost::setUpGame() {
    Pointer::clear(*this, pointer());
    return Object::create(*this, pointer(), DynamicIndexPointer::absoluteClass());
}

}  // namespace demo
}  // namespace kova
}  // namespace tarn
