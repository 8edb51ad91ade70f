// The reference host: its rasterizer against exact pixels, input scripts,
// files that cannot be written and saves that fail half-way, the lines it
// logs for fonts and pictures it cannot use, and the kova program's file
// paths and render command.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "KovaHost.h"
#include "TextForm.h"

namespace kova_test {

namespace {

using namespace tarn::kova;
using namespace tarn::kova::host;
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// The bytes of a regular file; nothing for anything else (/dev/full never ends).
std::string readFile(const fs::path& path) {
    if (!fs::is_regular_file(path)) return "";
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A scratch directory per test.
struct ScratchTest : ::testing::Test {
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir = fs::path(::testing::TempDir()) / ("kova_host_" + std::to_string(::getpid()));
};

// --- The rasterizer ---------------------------------------------------------

// Every colour the pictures below show, and the character that stands for it.
const std::map<unsigned, char> kLegend = {{0x000000FF, '.'}, {0xFFFFFFFF, '#'}, {0xFF0000FF, 'R'},
                                          {0x00FF00FF, 'G'}, {0x0000FFFF, 'B'}, {0xDF0020FF, 'a'},
                                          {0x9F0060FF, 'b'}, {0x60009FFF, 'c'}, {0x2000DFFF, 'd'},
                                          {0x800000BF, 'h'}, {0x808080BF, '+'}};

// The canvas as rows of legend characters joined by '/', '?' for a colour
// the legend lacks.
std::string picture(const Canvas& canvas) {
    std::string rows;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            auto found = kLegend.find(canvas.rgba(x, y));
            rows += found == kLegend.end() ? '?' : found->second;
        }
        rows += y + 1 < canvas.height() ? "/" : "";
    }
    return rows;
}

// A quad through the corners (x0, y0) ... (x3, y3), with texture coordinates
// (u0, v0) ... when they are given and a colour per corner; shorter lists
// repeat.
PaintData corners(const std::vector<float>& xy, const std::vector<float>& uv = {},
                  const std::vector<Color>& colors = {Color{}}) {
    PaintData data;
    data.hasUV = !uv.empty();
    for (int i = 0; i < 4; ++i) {
        const Color& c = colors[i % colors.size()];
        float u = data.hasUV ? uv[2 * i % uv.size()] : 0.0f;
        float v = data.hasUV ? uv[(2 * i + 1) % uv.size()] : 0.0f;
        data.vertex[i] = Vertex{xy[2 * i], xy[2 * i + 1], 0, u, v, c.red, c.green, c.blue, c.alpha};
    }
    return data;
}
PaintData quad(float left, float top, float right, float bottom, const std::vector<float>& uv = {},
               const std::vector<Color>& colors = {Color{}}) {
    return corners({left, top, right, top, right, bottom, left, bottom}, uv, colors);
}

const unsigned char kWhiteTexel[4] = {255, 255, 255, 255};
const Texture kWhite{1, 1, 4, kWhiteTexel};

TEST(RasterizerTest, DrawsQuadsExactly) {
    // A canvas of W x H pixels shows the screen rectangle (-W/2, -H/2, W, H):
    // on 4 x 4, pixel centres lie at -1.5, -0.5, 0.5 and 1.5.
    const unsigned char fourTexels[16] = {255, 0, 0,   255, 0,   255, 0,   255,   // red, green
                                          0,   0, 255, 255, 255, 255, 255, 255};  // blue, white
    const unsigned char coverage[2] = {255, 128};
    const Texture quadrants{2, 2, 4, fourTexels}, glyph{2, 1, 1, coverage};
    const Color red{1, 0, 0, 1}, blue{0, 0, 1, 1};
    const std::vector<Color> half = {Color{1, 1, 1, 0.5f}};
    Rectangle clip{-1.5f, -1.0f, 1.0f, 2.0f}, away{3.0f, 3.0f, 1.0f, 1.0f};
    PaintData clipped = quad(-2, -2, 2, 2), clippedAway = clipped;
    clipped.clipRect = &clip;
    clippedAway.clipRect = &away;
    const std::string nothing = "..../..../..../....", full5 = "+++++/+++++/+++++/+++++/+++++";
    // The quads drawn, their texture and the canvas afterwards.
    const std::vector<std::tuple<std::vector<PaintData>, Texture, std::string>> cases = {
        // right and bottom edges through pixel centres leave them out
        {{quad(-1.6f, -1.0f, 0.5f, 1.5f)}, kWhite, "..../##../##../...."},
        // left and top edges through pixel centres take them in
        {{quad(-1.5f, -1.5f, 0, 0)}, kWhite, "##../##../..../...."},
        // without texture coordinates the whole texture is shown
        {{quad(-2, -2, 2, 2)}, quadrants, "RRGG/RRGG/BB##/BB##"},
        // texture coordinates mirror the texture, or pick one texel
        {{quad(-2, -2, 2, 2, {1, 0, 0, 0, 0, 1, 1, 1})}, quadrants, "GGRR/GGRR/##BB/##BB"},
        {{quad(-2, -2, 2, 2, {0.75f, 0.25f})}, quadrants, "GGGG/GGGG/GGGG/GGGG"},
        // vertex colours blend across the quad; glyph coverage times the colour
        {{quad(-2, -2, 2, 2, {}, {red, blue, blue, red})}, kWhite, "abcd/abcd/abcd/abcd"},
        {{quad(-2, -2, 2, 2, {}, {red})}, glyph, "RRhh/RRhh/RRhh/RRhh"},
        // the clip rectangle keeps the centres inside it, left and top inclusive
        {{clipped}, kWhite, "..../#.../#.../...."},
        // a 3 x 3 square turned by 45 degrees
        {{corners({0, -2.1213f, 2.1213f, 0, 0, 2.1213f, -2.1213f, 0})},
         kWhite,
         ".##./####/####/.##."},
        // nothing drawn: no texels, clipped away, no area, a corner that is no number
        {{quad(-2, -2, 2, 2)}, Texture{}, nothing},
        {{clippedAway}, kWhite, nothing},
        {{quad(-2, -2, 2, -2)}, kWhite, nothing},
        {{quad(NAN, -2, 2, 2)}, kWhite, nothing},
        // Half-transparent white over black: '+' was blended once; a pixel
        // blended twice or not at all would show as '?' or '.'. A diagonal
        // through pixel centres, wound either way; a diamond whose corners and
        // diagonal lie on pixel centres; two quads meeting on a column of them.
        {{quad(-2.5, -2.5, 2.5, 2.5, {}, half)}, kWhite, full5},
        {{corners({2.5, -2.5, -2.5, -2.5, -2.5, 2.5, 2.5, 2.5}, {}, half)}, kWhite, full5},
        {{corners({0, -2, 2, 0, 0, 2, -2, 0}, {}, half)}, kWhite, "...../.++../++++./.++../....."},
        {{quad(-2.5, -2.5, 0, 2.5, {}, half), quad(0, -2.5, 2.5, 2.5, {}, half)}, kWhite, full5},
    };
    for (const auto& [quads, texture, expected] : cases) {
        int width = static_cast<int>(expected.find('/'));
        int height = static_cast<int>(expected.size() + 1) / (width + 1);
        Canvas canvas(width, height);
        canvas.clear(Color{0.0f, 0.0f, 0.0f, 1.0f});
        Rectangle screen{-0.5f * width, -0.5f * height, 1.0f * width, 1.0f * height};
        for (const PaintData& data : quads)
            EXPECT_TRUE(Rasterizer(canvas).drawQuad(screen, data, texture));
        EXPECT_EQ(picture(canvas), expected);
    }
}

TEST(RasterizerTest, BlendsWithTheEngineBlendFunctions) {
    // A source of (1, 0.5, 0, 0.75) over a destination of (0.5, 0.5, 1, 0.125):
    // no factor equals the one it could be mistaken for. The blend functions,
    // whether the quad is drawn and the pixel then. A number that names no
    // blend function refuses the quad.
    const std::vector<std::tuple<int, int, bool, unsigned>> cases = {
        {7, 8, true, 0xDF804097},    // source alpha, one minus source alpha
        {2, 2, true, 0xFFFFFFDF},    // one, one
        {1, 3, true, 0x80400018},    // zero, source colour
        {4, 6, true, 0x4080004C},    // one minus source colour, one minus dest colour
        {9, 2, true, 0x9F8FFF38},    // dest alpha, one
        {5, 10, true, 0xEFAFDF34},   // dest colour, one minus dest alpha
        {11, 1, true, 0xBF6000BF},   // source alpha saturate, zero
        {0, 8, false, 0x8080FF20},   // "ERROR"
        {7, 12, false, 0x8080FF20},  // past the table
    };
    for (const auto& [source, destination, accepted, expected] : cases) {
        Canvas canvas(1, 1);
        canvas.clear(Color{0.5f, 0.5f, 1.0f, 0.125f});
        PaintData data = quad(-1, -1, 1, 1, {}, {Color{1.0f, 0.5f, 0.0f, 0.75f}});
        data.sourceBlendFunc = source;
        data.destinationBlendFunc = destination;
        EXPECT_EQ(Rasterizer(canvas).drawQuad(Rectangle{-1, -1, 2, 2}, data, kWhite), accepted);
        EXPECT_EQ(canvas.rgba(0, 0), expected) << source << " " << destination;
    }
}

// --- Input scripts -------------------------------------------------------------

TEST(InputScriptTest, BadLinesNameTheFileTheLineAndWhatWasExpected) {
    const std::string button =
        "expected a button name (such as Select, Downwards or \"Scroll up\")";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"jump Select", "expected press, release, type, move, wait or reload, found 'jump'"},
        {"press", button + ", found the end of the line"},
        {"release Selekt 1", button + ", found 'Selekt'"},
        {"press \"Scroll  up\"", button + ", found \"Scroll  up\""},
        {"press Select -1", "expected an input index (a whole number from 0), found '-1'"},
        {"press Select 0 1", "expected the end of the line, found '1'"},
        {"type Hello", "expected a quoted text, found 'Hello'"},
        {"type \"Hello", "expected a closing '\"'"},
        {"type \"a\\qb\"", "expected \\\" \\\\ \\n or \\t after '\\' in a quoted text"},
        {"type \"\xC3\"", "expected UTF-8 text, found other bytes"},
        {"type \"\xED\xA0\x80\"", "expected UTF-8 text, found other bytes"},  // a surrogate
        {"move 1", "expected two numbers X Y, found the end of the line"},
        {"move x 1", "expected two numbers X Y, found 'x'"},
        {"move 1 2 3", "expected the end of the line, found '3'"},
        {"wait -0.5", "expected a time in seconds from 0, found '-0.5'"},
        {"wait soon # later", "expected a time in seconds from 0, found 'soon'"},
        {"reload now", "expected the end of the line, found 'now'"},
    };
    for (const auto& [line, problem] : cases) {
        InputScript script;
        std::string error, text = "# a comment\npress Select\n\n" + line + "\nwait 1\n";
        EXPECT_TRUE(!script.parse(text, "menu.script", error) && script.commands().empty()) << line;
        EXPECT_EQ(error, "menu.script:4: " + problem);
    }
}

// Lets the first `budget` bytes through to the file, then refuses every
// write, as a disk that fills up does.
struct CuttingOStream : OStream {
    CuttingOStream(OStream* file, int budget) : file(file), budget(budget) {}
    ~CuttingOStream() override { delete file; }
    int writeBuffer(const void* data, int size) override {
        int count = std::min(size, budget);
        budget -= count;
        return count > 0 ? file->writeBuffer(data, count) : 0;
    }
    OStream* file;
    int budget;
};

// Records where the pointer is moved and on which frame, and cuts every
// output stream after `budget` bytes (below 0: never).
struct ScratchHost : ReferenceHost {
    explicit ScratchHost(const std::string& root) : ReferenceHost(root, 64, 48) {}
    bool pointerMove(float x, float y) override {
        moves.push_back(std::to_string(std::lround(clock() * 60.0)) + ": " + std::to_string(x) +
                        " " + std::to_string(y));
        return ReferenceHost::pointerMove(x, y);
    }
    OStream* createOStream(const char* name) override {
        OStream* file = ReferenceHost::createOStream(name);
        return budget >= 0 ? new CuttingOStream(file, budget) : file;
    }
    Lines moves;
    int budget = -1;
};

const char kClickScreen[] =
    "CullEventActionNode {\n    Next node: null\n"
    "    Action: VolumedSoundAction { Sound: \"Menu click\" Volume (0-1): 0.5 }\n"
    "    Event: ButtonEvent { Input index (0 == all indexes): 0 Event type: ButtonPress\n"
    "        Button type: Select }\n}\n";

TEST_F(ScratchTest, ScriptsAreReplayedOnTheFrameClock) {
    text::DirectoryHost writer(dir.string());
    writer.init();
    std::string error;
    ASSERT_TRUE(text::buildObjectFile(writer, kClickScreen, "click.txt", "Menus/Click", error));
    writer.exit();
    InputScript script;
    ASSERT_TRUE(script.parse(
        "press \"Scroll up\" 2  # index 2\nmove -10 5.5\nwait 0.5\n"
        "type \"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\\\"\\\\\\n\\t\" 1\npress Select\nmove 3 4\n"
        "wait 0.01\nrelease Select\nmove 7 8\nwait 0.24\npress Select 3\n",
        "s", error))
        << error;
    // Kind (press, release, character, move), time, code, input index, x, y.
    std::ostringstream listing;
    for (const InputCommand& c : script.commands())
        listing << "PRCM"[c.kind] << ' ' << c.time << ' ' << c.code << ' ' << c.inputIndex << ' '
                << c.x << ' ' << c.y << '\n';
    EXPECT_EQ(listing.str(),
              "P 0 19 2 0 0\nM 0 0 0 -10 5.5\n"
              "C 0.5 233 1 0 0\nC 0.5 8364 1 0 0\nC 0.5 128512 1 0 0\n"
              "C 0.5 34 1 0 0\nC 0.5 92 1 0 0\nC 0.5 10 1 0 0\nC 0.5 9 1 0 0\n"
              "P 0.5 1 0 0 0\nM 0.5 0 0 3 4\nR 0.51 1 0 0 0\nM 0.51 0 0 7 8\nP 0.75 1 3 0 0\n");
    EXPECT_DOUBLE_EQ(script.duration(), 0.75);

    // Frame n starts at n/60 s: a command is given before the first frame
    // that starts at or after its time; a sound is recorded at the clock of
    // the frame that starts it.
    ScratchHost host(dir.string());
    host.init();
    FrameDriver driver(host);
    ASSERT_TRUE(driver.load("Menus/Click"));
    driver.setScript(script);
    EXPECT_TRUE(driver.runTo(1.0));
    EXPECT_EQ(driver.frame(), 60);
    EXPECT_EQ(host.moves,
              (Lines{"0: -10.000000 5.500000", "30: 3.000000 4.000000", "31: 7.000000 8.000000"}));
    EXPECT_EQ(host.sounds().lines(), (Lines{"\"Menu click\" 0.5 0.5", "\"Menu click\" 0.5 0.75"}));
    host.exit();
}

// --- Files ---------------------------------------------------------------------

TEST_F(ScratchTest, StreamsKeepTheirPositionsInsideTheFile) {
    ReferenceHost host(dir.string(), 4, 4);
    OStream* out = host.createOStream("Sub/File");
    EXPECT_EQ(out->writeBuffer("abcdef", 6), 6);
    EXPECT_TRUE(!out->setPosition(7) && out->setPosition(2));  // not past the end
    EXPECT_EQ(out->writeBuffer("XY", 2), 2);
    out->flush();
    EXPECT_FALSE(fs::exists(dir / "Sub/File"));  // not before the stream ends
    delete out;
    IStream* in = host.createIStream("Sub\\File");
    char bytes[8] = {};
    EXPECT_EQ(in->readBuffer(bytes, 2), 2);
    EXPECT_EQ(in->skip(-5), -2);
    EXPECT_EQ(in->skip(100), 6);
    EXPECT_TRUE(!in->setPosition(7) && in->setPosition(3));
    EXPECT_EQ(in->readBuffer(bytes + 2, 8), 3);
    EXPECT_STREQ(bytes, "abYef");
    delete in;
    EXPECT_EQ(host.createIStream("Sub"), nullptr);
}

TEST_F(ScratchTest, FilesThatCannotBeWrittenLogWhyAndLeaveTheOldFile) {
    writeFile(dir / "Plain", "old");
    writeFile(dir / "Dir/Inside", "old");
    fs::create_symlink("/dev/full", dir / "Full.tmp");
    ReferenceHost host(dir.string(), 4, 4);
    const std::string kept = "; the file is left as it was";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"../Up", "Cannot write '../Up': not a name below the root"},
        {"Plain/Sub", "Cannot write 'Plain/Sub': Not a directory"},
        {"Plain", "'Plain' not saved (nothing was written)" + kept},
        {"Full", "'Full' not saved (flushing failed: No space left on device)" + kept},
        {"Dir", "'Dir' not saved (renaming failed: Is a directory)" + kept},
    };
    for (const auto& c : cases) {
        host.log().clear();
        OStream* out = host.createOStream(c.first.c_str());
        if (out && c.first != "Plain") out->writeBuffer("new", 3);
        delete out;
        EXPECT_EQ(host.log().lines(), Lines{"KovaHost: Error: " + c.second});
        EXPECT_FALSE(fs::exists(dir / (c.first + ".tmp"))) << c.first;
    }
    EXPECT_EQ(readFile(dir / "Plain") + readFile(dir / "Dir/Inside"), "oldold");
}

TEST_F(ScratchTest, ASaveThatFailsHalfWayLeavesThePreviousFile) {
    ScratchHost host(dir.string());
    host.init();
    ASSERT_NE(host.registerObject(new NameNode("Menu"), nullptr), nullptr);
    ASSERT_TRUE(host.saveFiles());
    const int size = static_cast<int>(readFile(dir / "Menu").size());
    writeFile(dir / "Menu", "old");
    // The engine's save fails when the stream refuses bytes; the host's own
    // writing fails on a full disk.
    const std::string engineFailed = "Kova: Error: Writing to stream \"Menu\"";
    const std::string notSaved = "KovaHost: Error: 'Menu' not saved (";
    const std::string kept = "); the file is left as it was";
    for (int budget : {0, 1, size / 2, size - 1, -2}) {
        Lines expected = {engineFailed, notSaved + "the save failed" + kept};
        if (budget == -2) expected = {notSaved + "flushing failed: No space left on device" + kept};
        if (budget == -2) fs::create_symlink("/dev/full", dir / "Menu.tmp");
        host.budget = budget;
        host.log().clear();
        EXPECT_FALSE(host.saveFiles()) << budget;
        EXPECT_EQ(readFile(dir / "Menu"), "old") << budget;
        EXPECT_FALSE(fs::exists(dir / "Menu.tmp")) << budget;
        EXPECT_EQ(host.log().lines(), expected) << budget;
    }
    host.budget = -1;
    EXPECT_TRUE(host.saveFiles());
    EXPECT_EQ(readFile(dir / "Menu").size(), static_cast<std::size_t>(size));
    EXPECT_EQ(host.files().savedFiles(), (Lines{"Menu", "Menu"}));
    host.exit();
    EXPECT_EQ(RuntimeClass::totalClassInstanceCount(), 0);
}

// --- Fonts and pictures ----------------------------------------------------------

TEST_F(ScratchTest, FontsAndPicturesItCannotUseLogOneLineAndMetricsComeFromTheFont) {
    std::string error;
    ASSERT_TRUE(PngFile::write((dir / "good.png").string(), 1, 1, kWhiteTexel, error));
    const std::string good = readFile(dir / "good.png");
    writeFile(dir / "bad.png", good.substr(0, 40));                     // cut in the header
    writeFile(dir / "cut.png", good.substr(0, good.find("IDAT") + 8));  // cut in the pixels
    std::string huge = good;  // its header claims 10000 x 10000 pixels
    huge.replace(16, 8, std::string("\0\0\x27\x10\0\0\x27\x10", 8));
    unsigned long sum = crc32(0, reinterpret_cast<const Bytef*>(&huge[12]), 17);
    for (int i = 0; i < 4; ++i)
        huge[29 + i] = static_cast<char>(sum >> (24 - 8 * i));
    writeFile(dir / "huge.png", huge);
    ReferenceHost host(dir.string(), 4, 4);
    host.init();
    auto advance = [&host](int font, int character) {
        CharacterMetrics m;
        EXPECT_TRUE(host.charMetrics(character, font, m));
        return m.before + m.width + m.after;
    };
    // a file name may be absolute
    int sans12 = host.fontHandle("/usr/share/fonts/truetype/dejavu/DejaVuSans 12");
    int sans48 = host.fontHandle("DejaVuSans 48"), mono = host.fontHandle("DejaVuSansMono 24");
    EXPECT_TRUE(host.log().lines().empty());
    EXPECT_NEAR(host.fontHeight(sans48), 4 * host.fontHeight(sans12), 2.0f);
    EXPECT_NEAR(advance(sans48, 'W'), 4 * advance(sans12, 'W'), 2.0f);
    EXPECT_GT(advance(0, 'W'), 2 * advance(0, 'i'));
    EXPECT_EQ(advance(mono, 'W'), advance(mono, 'i'));
    EXPECT_LT(host.charKerning(sans48, 'T', 'o'), host.charKerning(0, 'T', 'o'));
    EXPECT_LT(host.charKerning(0, 'T', 'o'), 0.0f);
    EXPECT_EQ(host.charKerning(0, 'H', 'i'), 0.0f);
    CharacterMetrics dot, x;
    ASSERT_TRUE(host.charMetrics('.', 0, dot) && host.charMetrics('x', 0, x));
    EXPECT_LT(dot.ascent, x.ascent);  // the dot sits on the base line, below x's top

    // A name, whether it names a font, and what the line says: for a font,
    // before its fallback; for a picture, why it cannot be read ('*': in
    // libpng's own words).
    const std::vector<std::tuple<std::string, bool, std::string>> cases = {
        {"Nowhere 12", true,
         "Unknown font 'Nowhere 12': no file Nowhere.ttf below the root or in "
         "/usr/share/fonts/truetype/dejavu"},
        {"Sans 0", true, "Unknown font 'Sans 0': the size must be from 1 to 1000 pixels"},
        {"good.png", true,
         "Font 'good.png': " + (dir / "good.png").string() + " is not a font FreeType can read"},
        {"none.png", false, "no file " + (dir / "none.png").string()},
        {"../up.png", false, "not a name below the root"},
        {"huge.png", false, "too large (10000x10000)"},
        {"bad.png", false, "*"},
        {"cut.png", false, "*"},
    };
    PaintData data = quad(-2, -2, 2, 2);
    for (const auto& [name, font, why] : cases) {
        host.log().clear();
        int handle = font ? host.fontHandle(name.c_str()) : host.pictureHandle(name.c_str());
        EXPECT_EQ(font ? host.fontHandle(name.c_str()) : host.pictureHandle(name.c_str()), handle);
        std::string expected =
            "KovaHost: Error: " +
            (font ? why + "; using the default font 'DejaVuSans 24'"
                  : "Picture '" + name + "' cannot be read (" + why + "); it draws nothing");
        Lines lines = host.log().lines();
        if (why == "*" && lines.size() == 1 && lines[0].size() >= expected.size())
            lines[0].replace(expected.find('*'), lines[0].size() - expected.size() + 1, "*");
        EXPECT_EQ(lines, Lines{expected});
        if (font) {  // the default font stands in, under the name asked for
            EXPECT_EQ(host.fontHeight(handle), host.fontHeight(0));
            EXPECT_EQ(host.fontName(handle), name);
        } else {
            EXPECT_EQ(host.pictureWidth(handle), 0.0f);
            EXPECT_FALSE(host.picturePaint(handle, data));
        }
    }
    EXPECT_EQ(picture(host.canvas()), "..../..../..../....");
    int handle = host.pictureHandle("good.png");
    EXPECT_EQ(host.pictureWidth(handle) + 2 * host.pictureHeight(handle), 3.0f);
    EXPECT_TRUE(host.picturePaint(handle, data));
    EXPECT_EQ(picture(host.canvas()), "####/####/####/####");
    host.exit();
}

// --- The kova program: paths and render ----------------------------------------

#ifdef KOVA_TOOL_PATH
const char kTextScreen[] =
    "TextNode {\n    Next node: null\n    String: StringData {\n"
    "        String <do not edit>: \"Hi\"\n    }\n    Style: null\n}\n";

TEST_F(ScratchTest, KovaTakesAbsoluteAndRelativePathsAndRenders) {
    writeFile(dir / "s.txt", kTextScreen);
    writeFile(dir / "click.script", "wait 0.1\npress Select\n");
    const std::string abs = (dir / "out").string();
    // The exit status, standard output and standard error.
    const std::string run = "cd '" + dir.string() + "' && '" KOVA_TOOL_PATH "' ";
    auto kova = [&](const std::string& arguments) {
        int status = std::system((run + arguments + " >stdout 2>stderr").c_str());
        return std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + "|" +
               readFile(dir / "stdout") + "|" + readFile(dir / "stderr");
    };
    auto usage = [](const std::string& message, const std::string& command = "render") {
        return "2||kova " + command + ": " + message + "\nRun \"kova " + command +
               " --help\" for its usage.\n";
    };
    const std::string notBelow = "'" + abs + "/Main' is not below the root 'rel'";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"build s.txt -o " + abs + "/Main", "0|wrote Main\n|"},
        {"build s.txt -o rel/Other", "0|wrote Other\n|"},
        {"dump " + abs + "/Main", "0|" + std::string(kTextScreen) + "|"},
        {"dump --root " + abs + " " + abs + "/Main", "0|" + std::string(kTextScreen) + "|"},
        {"check rel/Other", "0|rel/Other: Kova: Loading: Other\nrel/Other: ok\n|"},
        {"dump --root rel " + abs + "/Main", usage(notBelow, "dump")},
        {"build s.txt --root rel -o " + abs + "/Main", usage(notBelow, "build")},
        {"check --root rel " + abs + "/Main", usage(notBelow, "check")},
        {"dump rel/", usage("'rel/' is not a file name", "dump")},
        {"dump", usage("give exactly one object file", "dump")},
        {"dump --all -o no/where.txt rel/Other", "1||kova dump: cannot write 'no/where.txt'\n"},
        {"render " + abs + "/Main --size 64x48 --at 0.5,0 --out png",
         "0|png/Main-0s.png\npng/Main-0.5s.png\n|"},
        {"render --root rel --script click.script --out png Other", "0|png/Other-0s.png\n|"},
        {"render rel/Missing",
         "1||Kova: Error: Unable to open istream \"Missing\"\n"
         "kova render: 'rel/Missing' cannot be loaded\n"},
        {"render --script none.script rel/Other", "1||none.script: cannot be read\n"},
        {"render --out s.txt rel/Other", "1||kova render: s.txt/Other-0s.png: Not a directory\n"},
        {"render --size 0x2 rel/Other", usage("--size takes WxH, from 1x1 to 8192x8192")},
        {"render --at 1,x Other", usage("--at takes times in seconds from 0, like 0,0.5,2")},
        {"render --frob rel/Other", usage("unknown option '--frob'")},
        {"render rel/Other --root", usage("--root needs a value")},
        {"render --out '' rel/Other", usage("--out needs a value")},
        {"render", usage("give exactly one object file")},
        {"render rel/", usage("'rel/' is not a file name")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kova(c.first), c.second) << c.first;
    EXPECT_EQ(kova("render -h"), kova("help render"));
    EXPECT_EQ(kova("render --help").rfind("0|Usage: kova render [--root DIR]", 0), 0u);

    // The text was drawn: pixels are lit.
    ReferenceHost shots(dir.string(), 1, 1);
    const Picture& shot = shots.pictures().picture(shots.pictureHandle("png/Main-0s.png"));
    EXPECT_EQ(std::make_pair(shot.width, shot.height), std::make_pair(64, 48));
    int lit = 0;
    for (std::size_t i = 0; i < shot.rgba.size(); i += 4)
        lit += shot.rgba[i] > 128;
    EXPECT_GT(lit, 20);
}
#endif

}  // namespace

}  // namespace kova_test
