// kova demo: the sample menu at its key moments, as pictures.
#include <filesystem>
#include <iostream>

#include "DemoReel.h"
#include "KovaCommands.h"

namespace kova_tool {

using namespace tarn::kova;

namespace {

const char kDemoHelp[] =
    "Usage: kova demo [--out DIR] [--size WxH] [--samples DIR]\n"
    "\n"
    "Plays the sample menu (samples/ in the source tree, built with this\n"
    "program) as a game would, with the reference host, and pictures it at its\n"
    "key moments: the title, the focus moving down, the way to the options, a\n"
    "name being typed, the volume slider being dragged, the settings, and two\n"
    "players joining with their own pads. Each scene replays an input script\n"
    "of samples/Scripts. The pictures are written as DIR/NN-MOMENT.png and\n"
    "their paths printed, one per line.\n"
    "\n"
    "  --out DIR      directory for the pictures (default: out/demo)\n"
    "  --size WxH     picture size in pixels (default 640x360); the screen is\n"
    "                 640x360 and is scaled to it\n"
    "  --samples DIR  the built sample (default: the one built with kova)\n"
    "\n"
    "Problems the engine or the host logs go to standard error. The exit status\n"
    "is 1 when the sample cannot be played or a picture cannot be written, or\n"
    "when anything was logged as a problem.\n";

struct DemoOptions {
    std::string out = "out/demo";
    std::string samples = demo::DemoReel::builtSampleDirectory();
    int width = demo::SampleHost::kScreenWidth;
    int height = demo::SampleHost::kScreenHeight;
    bool help = false;
};

bool parseDemoOptions(const Arguments& arguments, DemoOptions& options) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            continue;
        }
        if (argument != "--out" && argument != "--size" && argument != "--samples") {
            return usageError("demo", argument.size() > 1 && argument[0] == '-'
                                          ? "unknown option '" + argument + "'"
                                          : "takes no arguments, only options");
        }
        std::string value;
        if (!takeOptionValue("demo", arguments, i, value)) return false;
        if (argument == "--out") {
            options.out = value;
        } else if (argument == "--samples") {
            options.samples = value;
        } else if (!parseSize(value, options.width, options.height)) {
            return usageError("demo", "--size takes WxH, from 1x1 to 8192x8192");
        }
    }
    return true;
}

}  // namespace

std::string demoHelp() {
    return kDemoHelp;
}

int runDemo(const Arguments& arguments) {
    DemoOptions options;
    if (!parseDemoOptions(arguments, options)) return 2;
    if (options.help) {
        std::cout << kDemoHelp;
        return 0;
    }
    if (!std::filesystem::is_regular_file(options.samples + "/" + demo::SampleHost::kMenu)) {
        std::cerr << "kova demo: no sample menu is built in '" << options.samples
                  << "' (build the target kova_sample, or give --samples)\n";
        return 1;
    }
    demo::DemoReel reel(options.samples, options.width, options.height);
    std::vector<std::string> paths;
    std::string error;
    bool written = reel.writeAll(options.out, paths, error);
    for (const std::string& line : reel.problems())
        std::cerr << line << "\n";
    for (const std::string& path : paths)
        std::cout << path << "\n";
    if (!written) {
        std::cerr << "kova demo: " << error << "\n";
        return 1;
    }
    return reel.problems().empty() ? 0 : 1;
}

}  // namespace kova_tool
