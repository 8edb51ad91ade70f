// The viewer's frame loop. Each frame:
// 1. the window's events go to the engine (InputRouter), and the input
//    script's commands whose time has come;
// 2. a reload when the script or F5 asks for one, or, in a live run, every
//    kCheckEvery frames when a watched source changed;
// 3. update, then paint onto a black background, then the overlay (F1),
//    then the canvas is presented in the window.
// A live run measures the time between frames (at the display's rate) and
// goes on until the window is closed. A headless run gives every frame the
// same fixed step, as `kova render` does, paints only the frames it takes
// pictures of, and looks at its sources only where the script says
// "reload", so it does the same whatever happens to the files meanwhile.
//
// The script's clock is the sum of the steps: frame n starts at n x step,
// and a picture at time T shows the screen after the frame that ends
// nearest to T.
#pragma once

#include <string>
#include <vector>

#include "InputRouter.h"
#include "InputScript.h"
#include "PadSet.h"
#include "ScreenReport.h"
#include "ViewLog.h"
#include "ViewSession.h"
#include "ViewWindow.h"

namespace tarn {
namespace kova {
namespace view {

class Viewer {
public:
    static const int kCheckEvery = 15;
    // A live frame after a long stall (a reload, a dragged window) advances
    // the screens by no more than this.
    static constexpr double kLongestStep = 0.1;

    Viewer(ViewSession& session, ViewWindow& window, ViewLog& log, bool headless,
           double step = 1.0 / 60.0);

    void setScript(const host::InputScript& script);
    void setOverlay(bool shown) { overlay_ = shown; }

    // Live: frames until the window is closed.
    void runLive();
    // Headless: frames until the clock reaches time (rounded to frames).
    void runTo(double time);
    // Paints the screen and presents it; shown gets what was presented, as
    // RGBA rows from the top.
    bool capture(std::vector<unsigned char>& shown);
    // A capture written as PNG.
    bool screenshot(const std::string& path, std::string& error);
    // For each time in increasing order: run to it and take a picture; with
    // one time the picture is `out`, with several `out` gets "-Ts" before
    // its extension (shot.png: shot-0.5s.png). The paths written.
    bool screenshots(const std::vector<double>& times, const std::string& out,
                     std::vector<std::string>& paths, std::string& error);

    double clock() const { return static_cast<double>(frame_) * step_; }
    // What the overlay shows now.
    std::vector<std::string> overlayLines();

private:
    // False when the viewer is asked to quit.
    bool frame(double elapsed, bool paint, std::vector<unsigned char>* shown);
    bool takeInput();
    bool paint(std::vector<unsigned char>* shown);

    ViewSession& session_;
    ViewWindow& window_;
    ViewLog& log_;
    bool headless_;
    double step_;
    PadSet pads_;
    InputRouter router_;
    std::vector<host::InputCommand> commands_;
    std::size_t nextCommand_ = 0;
    long long frame_ = 0;
    bool overlay_ = false;
    bool reloadAsked_ = false;
    FrameTimes times_;
};

}  // namespace view
}  // namespace kova
}  // namespace tarn
