#include "Viewer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "Overlay.h"
#include "PngFile.h"

namespace tarn {
namespace kova {
namespace view {

namespace {

// Times this close to a frame's start count as reached, so a command at
// 0.5 s is not put off by the rounding of 30 x (1/60).
const double kTimeSlack = 1e-6;

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

Viewer::Viewer(ViewSession& session, ViewWindow& window, ViewLog& log, bool headless, double step)
    : session_(session),
      window_(window),
      log_(log),
      headless_(headless),
      step_(step > 0.0 ? step : 1.0 / 60.0),
      router_(pads_, log) {}

void Viewer::setScript(const host::InputScript& script) {
    commands_ = script.commands();
    nextCommand_ = 0;
}

// Without vertical sync the loop waits out the rest of each step itself,
// rather than drawing as fast as the processor allows.
void Viewer::runLive() {
    Clock::time_point last = Clock::now();
    double elapsed = step_;
    while (frame(elapsed, true, nullptr)) {
        double spent = std::chrono::duration<double>(Clock::now() - last).count();
        if (!window_.synced() && spent < step_) {
            SDL_Delay(static_cast<Uint32>((step_ - spent) * 1000.0));
        }
        Clock::time_point now = Clock::now();
        elapsed = std::min(kLongestStep, std::chrono::duration<double>(now - last).count());
        last = now;
    }
}

void Viewer::runTo(double time) {
    long long last = std::llround(time / step_);
    while (frame_ < last)
        frame(step_, false, nullptr);
}

bool Viewer::capture(std::vector<unsigned char>& shown) {
    return paint(&shown);
}

bool Viewer::screenshot(const std::string& path, std::string& error) {
    std::vector<unsigned char> shown;
    if (!capture(shown)) {
        error = "the screen could not be presented";
        return false;
    }
    host::Canvas& canvas = session_.host().canvas();
    return host::PngFile::write(path, canvas.width(), canvas.height(), shown.data(), error);
}

bool Viewer::screenshots(const std::vector<double>& times, const std::string& out,
                         std::vector<std::string>& paths, std::string& error) {
    namespace fs = std::filesystem;
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    fs::path target(out);
    std::error_code made;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), made);
    for (double time : sorted) {
        runTo(time);
        std::string path = out;
        if (sorted.size() > 1) {
            char suffix[64];
            std::snprintf(suffix, sizeof(suffix), "-%gs", time);
            path = (target.parent_path() /
                    (target.stem().string() + suffix + target.extension().string()))
                       .string();
        }
        if (!screenshot(path, error)) {
            error = path + ": " + error;
            return false;
        }
        paths.push_back(path);
    }
    return true;
}

std::vector<std::string> Viewer::overlayLines() {
    // A live viewer shows a failed load even with the overlay off.
    bool shown = overlay_ || (!headless_ && !session_.error().empty());
    if (!shown) return {};
    ViewHost& host = session_.host();
    return ScreenReport::lines(host, times_, session_.error(), log_, Overlay::columns(host));
}

bool Viewer::frame(double elapsed, bool paintNow, std::vector<unsigned char>* shown) {
    bool goOn = takeInput();
    double now = clock();
    while (nextCommand_ < commands_.size() && commands_[nextCommand_].time <= now + kTimeSlack) {
        const host::InputCommand& command = commands_[nextCommand_++];
        if (command.kind == host::InputCommand::Reload) {
            reloadAsked_ = true;
        } else {
            host::InputScript::send(session_.host(), command);
        }
    }
    bool look = !headless_ && frame_ % kCheckEvery == 0;
    if (reloadAsked_ || (look && session_.sourcesChanged())) session_.reload();
    reloadAsked_ = false;
    Clock::time_point updating = Clock::now();
    session_.host().update(static_cast<float>(elapsed));
    times_.update = millisecondsSince(updating);
    if (paintNow) goOn = paint(shown) && goOn;
    session_.collectLog();
    ++frame_;
    times_.frame = elapsed * 1000.0;
    return goOn;
}

bool Viewer::takeInput() {
    bool goOn = true;
    SDL_Event event;
    while (window_.poll(event)) {
        switch (router_.route(event, session_.host())) {
            case InputRouter::ToggleOverlay:
                overlay_ = !overlay_;
                break;
            case InputRouter::Reload:
                reloadAsked_ = true;
                break;
            case InputRouter::Quit:
                goOn = false;
                break;
            case InputRouter::None:
                break;
        }
    }
    return goOn;
}

bool Viewer::paint(std::vector<unsigned char>* shown) {
    ViewHost& host = session_.host();
    Clock::time_point painting = Clock::now();
    host.canvas().clear(Color{0.0f, 0.0f, 0.0f, 1.0f});
    host.paint();
    times_.paint = millisecondsSince(painting);
    Overlay::draw(host, overlayLines());
    return window_.present(host.canvas(), shown);
}

}  // namespace view
}  // namespace kova
}  // namespace tarn
