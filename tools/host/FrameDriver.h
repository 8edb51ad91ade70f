// Runs a ReferenceHost the way a game loop does, without a person: frames
// of a fixed step, the input script's commands given at their times, and
// pictures of the screen taken at chosen times.
//
// Frame n starts at the clock n x step: first every script command whose
// time has come is given to the engine, then update(step). A picture taken
// at time T shows the screen after the frame that ends nearest to T (T is
// rounded to whole frames), painted onto the background colour. The screen
// is painted only when a picture is taken.
#pragma once

#include <string>
#include <vector>

#include "InputScript.h"
#include "ReferenceHost.h"

namespace tarn {
namespace kova {
namespace host {

class FrameDriver {
public:
    explicit FrameDriver(ReferenceHost& host, double step = 1.0 / 60.0);

    // Loads a screen set as the root of the screens (System::load without a
    // cache); false when the engine reports that it failed.
    bool load(const std::string& name);
    // The commands to replay from the clock's current time on.
    void setScript(const InputScript& script);
    void setBackground(const Color& color) { background_ = color; }

    // Runs frames until the clock reaches time (rounded to whole frames);
    // false when an update fails.
    bool runTo(double time);
    // Paints the screen onto the background and writes the image as PNG.
    bool capture(const std::string& path, std::string& error);
    // For each time in increasing order: run to it and capture
    // DIRECTORY/PREFIX-TIMEs.png (TIME in %g form); the paths written.
    bool render(const std::vector<double>& times, const std::string& directory,
                const std::string& prefix, std::vector<std::string>& paths, std::string& error);

    long long frame() const { return frame_; }
    double clock() const { return static_cast<double>(frame_) * step_; }

private:
    ReferenceHost& host_;
    double step_;
    long long frame_ = 0;
    std::vector<InputCommand> commands_;
    std::size_t nextCommand_ = 0;
    double scriptStart_ = 0.0;
    Color background_{0.0f, 0.0f, 0.0f, 1.0f};
};

}  // namespace host
}  // namespace kova
}  // namespace tarn
