// kova view: screens live in a window, or headless into pictures.
#include <algorithm>
#include <iostream>

#include "KovaCommands.h"
#include "KovaHost.h"
#include "Viewer.h"

namespace kova_tool {

using namespace tarn::kova;

namespace {

const char kViewHelp[] =
    "Usage: kova view [--root DIR] [--size WxH] [--players] [--script S] [--overlay]\n"
    "                 [--headless --screenshot-at T1,T2,... [--out OUT.png]] FILE\n"
    "\n"
    "Shows the screen set FILE in a window, with the reference host's fonts,\n"
    "pictures and drawing (the pixels of kova render), and lets you play it:\n"
    "  arrows        the four directions      Enter         Select\n"
    "  Escape        Cancel                   Shift+Escape  Back\n"
    "  Backspace, Delete, Tab, Insert, Home, End, PageUp, PageDown: those buttons\n"
    "  typing        characters\n"
    "  mouse         the pointer; left button Select, right Cancel, back Back,\n"
    "                wheel \"Scroll up\" and \"Scroll down\"\n"
    "  game pads     d-pad and left stick the directions, A Select, B Cancel,\n"
    "                X Edit, Back, Start, shoulders PageUp and PageDown; each\n"
    "                pad has its own input index, the first 1, the next 2, ...\n"
    "                (the keyboard and the mouse are input index 1 as well)\n"
    "  F1            the overlay: frame, update and paint times, the number\n"
    "                of nodes, the path shown, the focused tab stop, live\n"
    "                objects per class, the last log lines, a failed load\n"
    "  F5            reload now          Ctrl+Q or closing the window: quit\n"
    "\n"
    "FILE is an object file or a text (NAME.txt). A text source NAME.txt below\n"
    "the root stands for the object file NAME, which is then built from it in\n"
    "memory, as kova build would (nothing is written). When a text or an\n"
    "object file that the screens were loaded from changes, they are loaded\n"
    "again: named variables keep the values they took on while running, and\n"
    "named path nodes keep the screens they show. A file that does not load\n"
    "is shown as FILE:LINE:COLUMN and a message, and the screens before it go\n"
    "on until a good file arrives.\n"
    "\n"
    "  --root DIR      directory that stream names are relative to (default:\n"
    "                  the directory of FILE)\n"
    "  --size WxH      screen size in pixels (default 640x480)\n"
    "  --players       pads become players in the order they press a button\n"
    "                  once a screen locks the pointer (a DynamicIndexPointer)\n"
    "  --script S      an input script to replay (see kova render --help); its\n"
    "                  line \"reload\" loads the screens again at its time\n"
    "  --overlay       start with the overlay shown\n"
    "  --headless      no display: SDL's offscreen driver, frames of 1/60 s,\n"
    "                  and the sources are looked at only where the script\n"
    "                  says \"reload\"\n"
    "  --screenshot-at T1,T2,...\n"
    "                  headless: the times in seconds to picture the screen at\n"
    "  --out OUT.png   headless: the picture (default NAME.png); with several\n"
    "                  times OUT-Ts.png each (OUT-0.5s.png), paths printed\n"
    "\n"
    "Problems the engine, the host or the viewer reports go to standard error.\n"
    "The exit status is 1 when SDL cannot start, the script cannot be read, a\n"
    "picture cannot be written, or (headless) the screens' last load failed.\n";

struct ViewOptions {
    view::ViewSettings settings;
    std::string root;
    std::string script;
    std::string out;
    std::vector<double> times;
    bool overlay = false;
    bool headless = false;
    bool help = false;
    std::vector<std::string> positional;
};

bool parseViewOptions(const Arguments& arguments, ViewOptions& options) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool takesValue = argument == "--root" || argument == "--script" || argument == "--size" ||
                          argument == "--screenshot-at" || argument == "--out";
        std::string value;
        if (takesValue && !takeOptionValue("view", arguments, i, value)) return false;
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--root") {
            options.root = value;
        } else if (argument == "--script") {
            options.script = value;
        } else if (argument == "--out") {
            options.out = value;
        } else if (argument == "--players") {
            options.settings.players = true;
        } else if (argument == "--overlay") {
            options.overlay = true;
        } else if (argument == "--headless") {
            options.headless = true;
        } else if (argument == "--size") {
            if (!parseSize(value, options.settings.width, options.settings.height)) {
                return usageError("view", "--size takes WxH, from 1x1 to 8192x8192");
            }
        } else if (argument == "--screenshot-at") {
            if (!parseTimes(value, options.times)) {
                return usageError("view",
                                  "--screenshot-at takes times in seconds from 0, like 0,2.5");
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            return usageError("view", "unknown option '" + argument + "'");
        } else {
            options.positional.push_back(argument);
        }
    }
    if (options.headless != !options.times.empty()) {
        return usageError("view", "--headless and --screenshot-at go together");
    }
    if (!options.out.empty() && !options.headless) {
        return usageError("view", "--out is for headless runs");
    }
    return true;
}

// The stream name of FILE: a text source stands for the object file of its
// name without ".txt".
bool locateScreens(ViewOptions& options) {
    if (options.positional.size() != 1) return usageError("view", "give exactly one file");
    ObjectFile file;
    std::string error;
    if (!locateObjectFile(options.root, options.positional[0], file, error)) {
        return usageError("view", error);
    }
    const std::string suffix = ".txt";
    if (file.name.size() > suffix.size() &&
        file.name.compare(file.name.size() - suffix.size(), suffix.size(), suffix) == 0) {
        file.name.resize(file.name.size() - suffix.size());
    }
    options.settings.root = file.root;
    options.settings.name = file.name;
    if (options.out.empty()) {
        options.out = file.name.substr(file.name.find_last_of("/\\") + 1) + ".png";
    }
    return true;
}

}  // namespace

std::string viewHelp() {
    return kViewHelp;
}

int runView(const Arguments& arguments) {
    ViewOptions options;
    if (!parseViewOptions(arguments, options)) return 2;
    if (options.help) {
        std::cout << kViewHelp;
        return 0;
    }
    if (!locateScreens(options)) return 2;
    host::InputScript script;
    std::string error;
    if (!options.script.empty() && !script.load(options.script, error)) {
        std::cerr << error << "\n";
        return 1;
    }
    view::ViewLog log(stderr);
    view::ViewWindow window;
    if (!window.open("kova view: " + options.settings.name, options.settings.width,
                     options.settings.height, options.headless, error)) {
        std::cerr << "kova view: " << error << "\n";
        return 1;
    }
    view::ViewSession session(options.settings, log);
    if (!session.start()) {
        // The engine's own line is on standard error already.
        const auto& logged = log.lines();
        bool echoed = std::find(logged.begin(), logged.end(), session.error()) != logged.end();
        std::cerr << "kova view: "
                  << (echoed ? "'" + options.positional[0] + "' cannot be loaded" : session.error())
                  << "\n";
        if (options.headless) return 1;
    }
    view::Viewer viewer(session, window, log, options.headless);
    viewer.setScript(script);
    viewer.setOverlay(options.overlay);
    if (!options.headless) {
        viewer.runLive();
        return 0;
    }
    std::vector<std::string> paths;
    bool written = viewer.screenshots(options.times, options.out, paths, error);
    for (const std::string& path : paths)
        std::cout << path << "\n";
    if (!written) {
        std::cerr << "kova view: " << error << "\n";
        return 1;
    }
    return session.error().empty() ? 0 : 1;
}

}  // namespace kova_tool
