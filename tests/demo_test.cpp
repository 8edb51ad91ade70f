// The sample menu and its demo: frames of the sample against stored pictures (refresh them on
// purpose with KOVA_UPDATE_GOLDEN=1), nothing left alive after each scene, and `kova demo` writing
// the pictures it prints or saying why it cannot.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "DemoReel.h"

namespace kova_test {
namespace {

using namespace tarn::kova;
using namespace tarn::kova::demo;
namespace fs = std::filesystem;

// Few and small, so that every build compares them quickly; a channel may
// round differently on another machine.
const std::string kGoldenShots[] = {"03-title-focus-moved", "06-options-slider",
                                    "10-join-two-players"};
const int kTolerance = 3;

// "" when the frame matches its stored picture. Otherwise the frame and its
// differences (in red over the dimmed frame) go to the build tree.
std::string compareWithGolden(const std::string& name, const host::Canvas& canvas) {
    const std::string golden = KOVA_GOLDEN_DIR "/" + name + ".png";
    std::string error;
    if (std::getenv("KOVA_UPDATE_GOLDEN")) return canvas.writePng(golden, error) ? "" : error;
    int width = 0, height = 0, differing = 0, largest = 0;
    std::vector<unsigned char> stored, now = canvas.rgba8();
    if (!host::PngFile::read(golden, width, height, stored, error)) return error;
    if (stored.size() != now.size()) return golden + " has another size";
    host::Canvas difference(width, height);
    for (int at = 0; at < width * height; ++at) {
        int worst = 0;
        for (int c = 0; c < 3; ++c)
            worst = std::max(worst, std::abs(now[at * 4 + c] - stored[at * 4 + c]));
        differing += worst > kTolerance;
        largest = std::max(largest, worst);
        float* shown = difference.at(at % width, at / width);
        shown[0] = shown[1] = shown[2] = now[at * 4 + 1] / 1020.0f;
        if (worst > kTolerance) shown[0] = 1.0f;
    }
    if (differing == 0) return "";
    const std::string out = KOVA_GOLDEN_OUT "/" + name;
    fs::create_directories(KOVA_GOLDEN_OUT);
    canvas.writePng(out + "-actual.png", error);
    difference.writePng(out + "-difference.png", error);
    return golden + ": " + std::to_string(differing) + " pixels differ by up to " +
           std::to_string(largest) + "; see " + out + "-actual.png and " + out +
           "-difference.png (a change that is meant: KOVA_UPDATE_GOLDEN=1)";
}

TEST(DemoTest, SampleFramesMatchTheStoredPicturesAndLeaveNothingAlive) {
    DemoReel reel(DemoReel::builtSampleDirectory(), 320, 180);
    int compared = 0;
    auto compare = [&](const DemoShot& shot, const host::Canvas& canvas, std::string&) {
        const bool stored = std::count(std::begin(kGoldenShots), std::end(kGoldenShots), shot.name);
        EXPECT_EQ(stored ? compareWithGolden(shot.name, canvas) : "", "");
        compared += stored;
        return true;
    };
    for (const DemoScene& scene : DemoReel::scenes()) {
        std::string error;
        EXPECT_TRUE(reel.play(scene, compare, error)) << scene.script << ": " << error;
        EXPECT_EQ(RuntimeClass::totalClassInstanceCount(), 0) << scene.script;
    }
    EXPECT_EQ(compared, 3);
    EXPECT_EQ(reel.problems(), std::vector<std::string>{});
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// kova demo in a scratch directory that also holds damaged copies of the
// built sample: "status|output|errors", each cut to its first line.
TEST(DemoTest, KovaDemoWritesTheFramesItPrintsOrSaysWhyNot) {
    const fs::path dir = fs::path(::testing::TempDir()) / ("kova_demo_" + std::to_string(getpid()));
    for (const char* copy : {"no-pictures", "no-scripts", "garbage"}) {
        fs::create_directories(dir / copy);
        fs::copy(DemoReel::builtSampleDirectory(), dir / copy, fs::copy_options::recursive);
    }
    fs::remove_all(dir / "no-pictures/Pictures");
    fs::remove_all(dir / "no-scripts/Scripts");
    std::ofstream(dir / "garbage/Menus/Main", std::ios::trunc) << "not an object file";
    std::ofstream(dir / "blocked") << "a file, not a directory";
    std::string paths;
    for (const DemoScene& scene : DemoReel::scenes()) {
        for (const DemoShot& shot : scene)
            paths += "out/demo/" + std::string(shot.name) + ".png\n";
    }
    const struct {
        const char* arguments;
        std::string expected;
    } rows[] = {
        {"-h", "0|Usage: kova demo [--out DIR] [--size WxH] [--samples DIR]|"},
        {"--bogus", "2||kova demo: unknown option '--bogus'"},
        {"out", "2||kova demo: takes no arguments, only options"},
        {"--out", "2||kova demo: --out needs a value"},
        {"--size 64x0", "2||kova demo: --size takes WxH, from 1x1 to 8192x8192"},
        {"--samples nowhere",
         "1||kova demo: no sample menu is built in 'nowhere' (build the target kova_sample, or "
         "give --samples)"},
        {"--samples no-pictures --out shots --size 8x8",
         "1|shots/01-title.png|KovaHost: Error: Picture 'Pictures/button.png' cannot be read (no "
         "file no-pictures/Pictures/button.png); it draws nothing"},
        {"--samples no-scripts", "1||kova demo: no-scripts/Scripts/title.script: cannot be read"},
        {"--samples garbage", "1||Kova: Error: Reading from istream \"Menus/Main\""},
        {"--out blocked/shots --size 8x8",
         "1||kova demo: blocked/shots/01-title.png: Not a directory"},
        {"--size 64x36", "0|out/demo/01-title.png|"},  // last: its output is read below
    };
    for (const auto& row : rows) {
        const std::string command = "cd '" + dir.string() + "' && '" KOVA_TOOL_PATH "' demo " +
                                    row.arguments + " > printed 2> errors";
        const int status = std::system(command.c_str());
        const std::string printed = readFile(dir / "printed"), errors = readFile(dir / "errors");
        EXPECT_EQ(std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + "|" +
                      printed.substr(0, printed.find('\n')) + "|" +
                      errors.substr(0, errors.find('\n')),
                  row.expected)
            << row.arguments;
    }
    EXPECT_EQ(readFile(dir / "printed"), paths);
    // The size in the picture's header: 64 x 36.
    EXPECT_EQ(readFile(dir / "out/demo/10-join-two-players.png").substr(16, 8),
              std::string("\0\0\0\x40\0\0\0\x24", 8));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace kova_test
