#include "FrameDriver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace tarn {
namespace kova {
namespace host {

namespace {

// Times this close to a frame's start count as reached, so a command at 0.5 s
// is not put off by the rounding of 30 x (1/60).
const double kTimeSlack = 1e-6;

}  // namespace

FrameDriver::FrameDriver(ReferenceHost& host, double step)
    : host_(host), step_(step > 0.0 ? step : 1.0 / 60.0) {}

bool FrameDriver::load(const std::string& name) {
    return host_.load(name.c_str(), static_cast<const char*>(nullptr));
}

void FrameDriver::setScript(const InputScript& script) {
    commands_ = script.commands();
    nextCommand_ = 0;
    scriptStart_ = clock();
}

bool FrameDriver::runTo(double time) {
    long long last = std::llround(time / step_);
    bool ok = true;
    while (frame_ < last) {
        double now = clock();
        while (nextCommand_ < commands_.size() &&
               scriptStart_ + commands_[nextCommand_].time <= now + kTimeSlack) {
            InputScript::send(host_, commands_[nextCommand_++]);
        }
        ok = host_.update(static_cast<float>(step_)) && ok;
        ++frame_;
    }
    return ok;
}

bool FrameDriver::capture(const std::string& path, std::string& error) {
    host_.canvas().clear(background_);
    host_.paint();
    return host_.canvas().writePng(path, error);
}

bool FrameDriver::render(const std::vector<double>& times, const std::string& directory,
                         const std::string& prefix, std::vector<std::string>& paths,
                         std::string& error) {
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    std::error_code made;
    if (!directory.empty()) std::filesystem::create_directories(directory, made);
    for (double time : sorted) {
        runTo(time);
        char name[64];
        std::snprintf(name, sizeof(name), "-%gs.png", time);
        std::string path = (std::filesystem::path(directory) / (prefix + name)).string();
        if (!capture(path, error)) {
            error = path + ": " + error;
            return false;
        }
        paths.push_back(path);
    }
    return true;
}

}  // namespace host
}  // namespace kova
}  // namespace tarn
