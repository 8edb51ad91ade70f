// kova render: a screen set drawn by the reference host at chosen times.
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "KovaCommands.h"
#include "KovaHost.h"
#include "TextForm.h"

namespace kova_tool {

using namespace tarn::kova;

namespace {

const char kRenderHelp[] =
    "Usage: kova render [--root DIR] [--script S] [--size WxH] [--at T1,T2,...]\n"
    "                   [--out DIR] FILE\n"
    "\n"
    "Loads the screen set FILE as a game does and draws it with the reference\n"
    "host: fonts through FreeType, pictures from PNG files, the screen into an\n"
    "image. Frames run every 1/60 s; the commands of the input script happen at\n"
    "their times. At each time T the screen is written as DIR/NAME-Ts.png (NAME\n"
    "is FILE's name, T in seconds); the paths are printed, one per line.\n"
    "\n"
    "  --root DIR      directory that the names of object files, pictures and\n"
    "                  fonts are relative to (default: the directory of FILE)\n"
    "  --script S      the input script to replay\n"
    "  --size WxH      screen size in pixels (default 640x480)\n"
    "  --at T1,T2,...  times in seconds, rounded to whole frames (default 0)\n"
    "  --out DIR       directory for the pictures (default: the current one)\n"
    "\n"
    "The input script has one command per line; '#' starts a comment:\n"
    "  press BUTTON [INDEX]    release BUTTON [INDEX]\n"
    "      BUTTON is the engine's name of a button, quoted when it holds\n"
    "      spaces (Select, Downwards, \"Scroll up\"); INDEX the input index\n"
    "      (default 0)\n"
    "  type \"TEXT\" [INDEX]     each character pressed and released\n"
    "  move X Y                the pointer to X, Y (origin at the centre, y down)\n"
    "  wait SECONDS            later commands happen that much later\n"
    "  reload                  kova view loads the screens again here; render\n"
    "                          passes over it\n"
    "\n"
    "Fonts are named \"FILE SIZE\": a font file (\".ttf\" may be left out), looked\n"
    "for below the root and then among the DejaVu fonts, and a size in pixels,\n"
    "such as \"DejaVuSans 24\". Pictures are PNG files named below the root.\n"
    "\n"
    "Problems the engine or the host logs go to standard error. The exit status\n"
    "is 1 when FILE cannot be loaded, the script cannot be read or a picture\n"
    "cannot be written.\n";

struct RenderOptions {
    std::string root;
    std::string script;
    std::string out = ".";
    int width = 640;
    int height = 480;
    std::vector<double> times{0.0};
    bool help = false;
    std::vector<std::string> positional;
};

bool parseRenderOptions(const Arguments& arguments, RenderOptions& options) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool takesValue = argument == "--root" || argument == "--script" || argument == "--size" ||
                          argument == "--at" || argument == "--out";
        std::string value;
        if (takesValue && !takeOptionValue("render", arguments, i, value)) return false;
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--root") {
            options.root = value;
        } else if (argument == "--script") {
            options.script = value;
        } else if (argument == "--out") {
            options.out = value;
        } else if (argument == "--size") {
            if (!parseSize(value, options.width, options.height)) {
                return usageError("render", "--size takes WxH, from 1x1 to 8192x8192");
            }
        } else if (argument == "--at") {
            if (!parseTimes(value, options.times)) {
                return usageError("render", "--at takes times in seconds from 0, like 0,0.5,2");
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            return usageError("render", "unknown option '" + argument + "'");
        } else {
            options.positional.push_back(argument);
        }
    }
    return true;
}

// The engine's errors and warnings, and every line of the host's own.
void reportRenderProblems(const std::vector<std::string>& lines) {
    std::vector<std::string> problems = text::problemLines(lines);
    for (const std::string& line : lines) {
        if (line.compare(0, 10, "KovaHost: ") == 0) problems.push_back(line);
    }
    for (const std::string& line : problems)
        std::cerr << line << "\n";
}

}  // namespace

std::string renderHelp() {
    return kRenderHelp;
}

int runRender(const Arguments& arguments) {
    RenderOptions options;
    if (!parseRenderOptions(arguments, options)) return 2;
    if (options.help) {
        std::cout << kRenderHelp;
        return 0;
    }
    if (options.positional.size() != 1) {
        usageError("render", "give exactly one object file");
        return 2;
    }
    ObjectFile file;
    std::string error;
    if (!locateObjectFile(options.root, options.positional[0], file, error)) {
        usageError("render", error);
        return 2;
    }
    host::InputScript script;
    if (!options.script.empty() && !script.load(options.script, error)) {
        std::cerr << error << "\n";
        return 1;
    }

    host::ReferenceHost reference(file.root, options.width, options.height);
    reference.init();
    host::FrameDriver driver(reference);
    bool loaded = driver.load(file.name);
    driver.setScript(script);
    std::string stem = file.name.substr(file.name.find_last_of("/\\") + 1);
    std::vector<std::string> paths;
    bool rendered = loaded && driver.render(options.times, options.out, stem, paths, error);
    reference.exit();

    reportRenderProblems(reference.log().lines());
    for (const std::string& path : paths)
        std::cout << path << "\n";
    if (!loaded) {
        std::cerr << "kova render: '" << options.positional[0] << "' cannot be loaded\n";
        return 1;
    }
    if (!rendered) {
        std::cerr << "kova render: " << error << "\n";
        return 1;
    }
    return 0;
}

}  // namespace kova_tool
