#include "DemoReel.h"

#include <filesystem>

#include "TextForm.h"

namespace tarn {
namespace kova {
namespace demo {

namespace {

// Behind everything the sample paints (its backdrop covers the screen).
const Color kBackground{0.0f, 0.0f, 0.0f, 1.0f};

// The engine's errors and warnings, and every line of the host's own.
std::vector<std::string> problemsIn(const std::vector<std::string>& lines) {
    std::vector<std::string> problems = text::problemLines(lines);
    for (const std::string& line : lines) {
        if (line.compare(0, 10, "KovaHost: ") == 0) problems.push_back(line);
    }
    return problems;
}

}  // namespace

std::string DemoReel::builtSampleDirectory() {
    return KOVA_SAMPLE_DIR;
}

// The times follow the scripts: each script says what happens when.
const std::vector<DemoScene>& DemoReel::scenes() {
    static const std::vector<DemoScene> kScenes = {
        {"Scripts/title.script",
         {{"01-title", 1.6},
          {"02-title-focus-moving", 2.1},
          {"03-title-focus-moved", 2.6},
          {"04-title-to-options", 3.3}}},
        {"Scripts/options.script",
         {{"05-options-typing", 3.85}, {"06-options-slider", 5.2}, {"07-options-settings", 7.0}}},
        {"Scripts/join.script",
         {{"08-join-waiting", 2.8}, {"09-join-one-player", 3.6}, {"10-join-two-players", 4.6}}},
    };
    return kScenes;
}

DemoReel::DemoReel(std::string samples, int width, int height)
    : samples_(std::move(samples)), width_(width), height_(height) {}

bool DemoReel::play(const DemoScene& scene, const ShotHandler& handler, std::string& error) {
    host::InputScript script;
    std::string scriptPath = (std::filesystem::path(samples_) / scene.script).string();
    if (!script.load(scriptPath, error)) return false;

    SampleHost sample(samples_, width_, height_);
    bool played = sample.start();
    if (!played) error = "the sample menu in '" + samples_ + "' cannot be loaded";
    host::FrameDriver driver(sample);
    driver.setScript(script);
    driver.setBackground(kBackground);
    for (const DemoShot& shot : scene.shots) {
        if (!played) break;
        played = driver.runTo(shot.time);
        if (!played) {
            error = "a frame failed before " + shot.name;
            break;
        }
        sample.canvas().clear(kBackground);
        sample.paint();
        played = handler(shot, sample.canvas(), error);
    }
    sample.exit();
    std::vector<std::string> problems = problemsIn(sample.log().lines());
    problems_.insert(problems_.end(), problems.begin(), problems.end());
    return played;
}

bool DemoReel::writeAll(const std::string& directory, std::vector<std::string>& paths,
                        std::string& error) {
    std::error_code made;
    std::filesystem::create_directories(directory, made);
    auto write = [&](const DemoShot& shot, const host::Canvas& canvas, std::string& why) {
        std::string path = (std::filesystem::path(directory) / (shot.name + ".png")).string();
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
