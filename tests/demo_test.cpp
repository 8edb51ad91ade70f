// The sample menu and its demo: picture 0 as the host draws it, frames of
// the sample against stored pictures (refresh them on purpose with
// KOVA_UPDATE_GOLDEN=1), nothing left alive after each scene, and
// `kova demo` writing the pictures it prints.
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
const char* const kGoldenShots[] = {"03-title-focus-moved", "06-options-slider",
                                    "10-join-two-players"};
const int kTolerance = 3;

TEST(DemoTest, PictureZeroIsAPlainQuadInItsVertexColours) {
    host::ReferenceHost host(".", 4, 2);
    host.init();
    const struct {
        const char* picture;
        float alpha;
        bool drawn;
        unsigned pixel;
    } rows[] = {{"", 1.0f, true, 0xFF8000FFu},
                {"", 0.5f, true, 0x804000BFu},  // blended over black
                {"missing.png", 1.0f, false, 0x000000FFu}};
    for (const auto& row : rows) {
        host.canvas().clear(Color{0.0f, 0.0f, 0.0f, 1.0f});
        PaintData quad;
        const float corners[4][2] = {{-2, -1}, {2, -1}, {2, 1}, {-2, 1}};
        for (int i = 0; i < 4; ++i)
            quad.vertex[i] = Vertex{corners[i][0], corners[i][1], 0, 0, 0, 1, 0.5f, 0, row.alpha};
        EXPECT_EQ(host.picturePaint(host.pictureHandle(row.picture), quad), row.drawn);
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(host.canvas().rgba(x, 1), row.pixel) << row.picture << " x " << x;
    }
    host.exit();
}

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
        if (std::find(std::begin(kGoldenShots), std::end(kGoldenShots), shot.name) !=
            std::end(kGoldenShots)) {
            EXPECT_EQ(compareWithGolden(shot.name, canvas), "");
            ++compared;
        }
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

TEST(DemoTest, KovaDemoWritesTheFramesItPrints) {
    const fs::path dir = fs::path(::testing::TempDir()) / ("kova_demo_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string command =
        "cd '" + dir.string() + "' && '" KOVA_TOOL_PATH "' demo --size 64x36 > printed 2> err";
    int status = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
    EXPECT_EQ(readFile(dir / "err"), "");
    std::string expected;
    for (const DemoScene& scene : DemoReel::scenes()) {
        for (const DemoShot& shot : scene.shots) {
            expected += "out/demo/" + shot.name + ".png\n";
            int width = 0, height = 0;
            std::vector<unsigned char> rgba;
            std::string error;
            EXPECT_TRUE(host::PngFile::read((dir / "out/demo" / (shot.name + ".png")).string(),
                                            width, height, rgba, error))
                << error;
            EXPECT_EQ(width * 100 + height, 6436) << shot.name;
        }
    }
    EXPECT_EQ(readFile(dir / "printed"), expected);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace kova_test
