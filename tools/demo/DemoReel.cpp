#include "DemoReel.h"

#include <filesystem>

#include "TextForm.h"

namespace tarn {
namespace kova {
namespace demo {

namespace {

// Behind everything the sample paints (its backdrop covers the screen).
const Color kBackground{0.0f, 0.0f, 0.0f, 1.0f};

// The times follow the scripts: each script says what happens when.
const DemoShot kTitleShots[] = {{"01-title", 1.6},
                                {"02-title-focus-moving", 2.1},
                                {"03-title-focus-moved", 2.6},
                                {"04-title-to-options", 3.3}};
const DemoShot kOptionsShots[] = {
    {"05-options-typing", 3.85}, {"06-options-slider", 5.2}, {"07-options-settings", 7.0}};
const DemoShot kJoinShots[] = {
    {"08-join-waiting", 2.8}, {"09-join-one-player", 3.6}, {"10-join-two-players", 4.6}};

}  // namespace

const char* DemoReel::builtSampleDirectory() {
    return KOVA_SAMPLE_DIR;
}

const std::vector<DemoScene>& DemoReel::scenes() {
    static const std::vector<DemoScene> kScenes = {
        {"Scripts/title.script", kTitleShots, 4},
        {"Scripts/options.script", kOptionsShots, 3},
        {"Scripts/join.script", kJoinShots, 3},
    };
    return kScenes;
}

DemoReel::DemoReel(std::string samples, int width, int height)
    : samples_(std::move(samples)), width_(width), height_(height) {}

bool DemoReel::play(const DemoScene& scene, const ShotHandler& handler, std::string& error) {
    host::InputScript script;
    if (!script.load(samples_ + "/" + scene.script, error)) return false;

    SampleHost sample(samples_, width_, height_);
    host::FrameDriver driver(sample);
    driver.setScript(script);
    bool played = sample.start();
    std::string refused;  // why the handler refused, if it did
    for (const DemoShot* shot = scene.begin(); played && shot != scene.end(); ++shot) {
        played = driver.runTo(shot->time);
        if (!played) break;
        sample.canvas().clear(kBackground);
        sample.paint();
        played = handler(*shot, sample.canvas(), refused);
    }
    sample.exit();
    keepProblems(sample.log().lines());
    if (!played) {
        error =
            refused.empty() ? "the sample menu in '" + samples_ + "' cannot be played" : refused;
    }
    return played;
}

void DemoReel::keepProblems(const std::vector<std::string>& log) {
    for (const std::string& line : text::problemLines(log))
        problems_.push_back(line);
    for (const std::string& line : log) {
        if (line.compare(0, 10, "KovaHost: ") == 0) problems_.push_back(line);
    }
}

bool DemoReel::writeAll(const std::string& directory, std::vector<std::string>& paths,
                        std::string& error) {
    std::error_code made;
    std::filesystem::create_directories(directory, made);
    auto write = [&](const DemoShot& shot, const host::Canvas& canvas, std::string& why) {
        std::string path = (std::filesystem::path(directory) / shot.name).string() + ".png";
        if (!canvas.writePng(path, why)) {
            why = path + ": " + why;
            return false;
        }
        paths.push_back(path);
        return true;
    };
    for (const DemoScene& scene : scenes()) {
        if (!play(scene, write, error)) return false;
    }
    return true;
}

}  // namespace demo
}  // namespace kova
}  // namespace tarn
