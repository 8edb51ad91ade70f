// The demo reel of the sample menu: the moments worth a picture, each in a
// scene that starts the sample afresh and replays one of its input scripts
// (samples/Scripts/*.script). `kova demo` writes the pictures; the tests
// compare some of them with stored ones.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "SampleHost.h"

namespace tarn {
namespace kova {
namespace demo {

struct DemoShot {
    const char* name;  // the picture's name, without ".png"
    double time;       // seconds after the menu was loaded
};

// One script and the moments it leads to, in time order.
struct DemoScene {
    const char* script;  // below the sample's directory
    const DemoShot* shots;
    int shotCount;

    const DemoShot* begin() const { return shots; }
    const DemoShot* end() const { return shots + shotCount; }
};

class DemoReel {
public:
    // The directory of the sample built with this program.
    static const char* builtSampleDirectory();
    static const std::vector<DemoScene>& scenes();

    // samples: the built sample; the canvas is width x height pixels.
    DemoReel(std::string samples, int width, int height);

    // What to do with the screen at each shot; false stops the scene.
    using ShotHandler =
        std::function<bool(const DemoShot&, const host::Canvas&, std::string& error)>;

    // Plays one scene from the start and hands the screen to handler at each
    // of its shots, then exits the engine. False, with a reason, when the
    // script cannot be read, the menu cannot be loaded or played, or the
    // handler refuses; what the engine or the host logged as a problem is
    // added to problems() either way.
    bool play(const DemoScene& scene, const ShotHandler& handler, std::string& error);

    // Plays every scene and writes each shot as DIRECTORY/NAME.png; the
    // paths written, in order.
    bool writeAll(const std::string& directory, std::vector<std::string>& paths,
                  std::string& error);

    // The engine's errors and warnings and the host's own lines, of every
    // scene played so far.
    const std::vector<std::string>& problems() const { return problems_; }

private:
    // Keeps the engine's errors and warnings, and every line of the host's own.
    void keepProblems(const std::vector<std::string>& log);

    std::string samples_;
    int width_;
    int height_;
    std::vector<std::string> problems_;
};

}  // namespace demo
}  // namespace kova
}  // namespace tarn
