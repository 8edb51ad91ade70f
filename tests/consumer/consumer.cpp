// A game built against the installed Kova: it must find the headers, link the
// library and create engine objects by class name.
#include <cstdio>

#include "kova/kova.h"

using namespace tarn::kova;

class Game : public System {
public:
    Game() : System(320.0f, 200.0f) {}
};

int main() {
    Game game;
    game.init();
    Object* node = nullptr;
    bool created = Object::create(game, node, RuntimeClass::findClass("Node"));
    Object::clear(game, node);
    bool updated = game.update(0.016f) && game.paint();
    game.exit();
    bool ok = created && updated && RuntimeClass::totalClassInstanceCount() == 0;
    std::printf("consumer %s\n", ok ? "ok" : "failed");
    return ok ? 0 : 1;
}
