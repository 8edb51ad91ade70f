// The reference host: its rasterizer against exact pixels, input scripts,
// saves that fail half-way, the lines it logs for fonts and pictures it
// cannot use, and the kova program's file paths and render command.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>

#include "KovaHost.h"
#include "TextForm.h"

namespace kova_test {

namespace {

using namespace tarn::kova;
using namespace tarn::kova::host;
namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A scratch directory per test.
class ScratchTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::path(::testing::TempDir()) / ("kova_host_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir;
};

// --- The rasterizer ---------------------------------------------------------

// The image as rows of legend characters, '?' for a colour the legend lacks.
std::vector<std::string> picture(const Canvas& canvas, const std::map<char, unsigned>& legend) {
    std::vector<std::string> rows;
    for (int y = 0; y < canvas.height(); ++y) {
        std::string row;
        for (int x = 0; x < canvas.width(); ++x) {
            char shown = '?';
            for (const auto& entry : legend) {
                if (entry.second == canvas.rgba(x, y)) shown = entry.first;
            }
            row += shown;
        }
        rows.push_back(row);
    }
    return rows;
}

PaintData quad(float left, float top, float right, float bottom) {
    PaintData data;
    const float xs[4] = {left, right, right, left}, ys[4] = {top, top, bottom, bottom};
    for (int i = 0; i < 4; ++i) {
        data.vertex[i].x = xs[i];
        data.vertex[i].y = ys[i];
    }
    return data;
}

void paintAll(PaintData& data, float red, float green, float blue, float alpha) {
    for (Vertex& v : data.vertex) {
        v.red = red;
        v.green = green;
        v.blue = blue;
        v.alpha = alpha;
    }
}

const unsigned char kWhiteTexel[4] = {255, 255, 255, 255};
const unsigned char kFourTexels[16] = {255, 0, 0,   255, 0,   255, 0,   255,   // red, green
                                       0,   0, 255, 255, 255, 255, 255, 255};  // blue, white
const unsigned char kCoverage[2] = {255, 128};
const Texture kWhite{1, 1, 4, kWhiteTexel};
const Texture kQuadrants{2, 2, 4, kFourTexels};
const Texture kGlyph{2, 1, 1, kCoverage};

// A source of (1, 0.5, 0, 0.5) over a destination of (0.5, 0.5, 1, 0.5).
PaintData blended(int source, int destination) {
    PaintData data = quad(-2, -2, 2, 2);
    paintAll(data, 1.0f, 0.5f, 0.0f, 0.5f);
    data.sourceBlendFunc = source;
    data.destinationBlendFunc = destination;
    return data;
}
const Color kBlendBackground{0.5f, 0.5f, 1.0f, 0.5f};
const std::vector<std::string> kAll = {"xxxx", "xxxx", "xxxx", "xxxx"};

TEST(RasterizerTest, DrawsQuadsExactly) {
    // A 4 x 4 canvas shows the screen rectangle (-2, -2, 4, 4): pixel centres
    // lie at -1.5, -0.5, 0.5 and 1.5.
    Rectangle clip{-1.5f, -1.0f, 1.0f, 2.0f};
    struct Case {
        const char* what;
        std::function<PaintData()> make;
        Texture texture;
        Color background;
        bool accepted;
        std::vector<std::string> expected;
        std::map<char, unsigned> legend;
    };
    const Color black{0.0f, 0.0f, 0.0f, 1.0f};
    const std::vector<Case> cases = {
        {"right and bottom edges through pixel centres leave them out",
         [] { return quad(-1.6f, -1.0f, 0.5f, 1.5f); },
         kWhite,
         black,
         true,
         {"....", "##..", "##..", "...."},
         {{'.', 0x000000FF}, {'#', 0xFFFFFFFF}}},
        {"left and top edges through pixel centres take them in",
         [] { return quad(-1.5f, -1.5f, 0.0f, 0.0f); },
         kWhite,
         black,
         true,
         {"##..", "##..", "....", "...."},
         {{'.', 0x000000FF}, {'#', 0xFFFFFFFF}}},
        {"source alpha, one minus source alpha",
         [] { return blended(7, 8); },
         kWhite,
         kBlendBackground,
         true,
         kAll,
         {{'x', 0xBF808080}}},
        {"one, one",
         [] { return blended(2, 2); },
         kWhite,
         kBlendBackground,
         true,
         kAll,
         {{'x', 0xFFFFFFFF}}},
        {"zero, source colour",
         [] { return blended(1, 3); },
         kWhite,
         kBlendBackground,
         true,
         kAll,
         {{'x', 0x80400040}}},
        {"one minus source colour, one minus dest colour",
         [] { return blended(4, 6); },
         kWhite,
         kBlendBackground,
         true,
         kAll,
         {{'x', 0x40800080}}},
        {"dest alpha, one",
         [] { return blended(9, 2); },
         kWhite,
         kBlendBackground,
         true,
         kAll,
         {{'x', 0xFFBFFFBF}}},
        {"dest colour, one minus dest alpha",
         [] { return blended(5, 10); },
         kWhite,
         kBlendBackground,
         true,
         kAll,
         {{'x', 0xBF808080}}},
        {"source alpha saturate, zero",
         [] { return blended(11, 1); },
         kWhite,
         kBlendBackground,
         true,
         kAll,
         {{'x', 0x80400080}}},
        {"\"ERROR\" refuses the quad",
         [] { return blended(0, 8); },
         kWhite,
         kBlendBackground,
         false,
         kAll,
         {{'x', 0x8080FF80}}},
        {"a number past the table refuses the quad",
         [] { return blended(7, 12); },
         kWhite,
         kBlendBackground,
         false,
         kAll,
         {{'x', 0x8080FF80}}},
        {"without texture coordinates the whole texture is shown",
         [] { return quad(-2, -2, 2, 2); },
         kQuadrants,
         black,
         true,
         {"RRGG", "RRGG", "BBWW", "BBWW"},
         {{'R', 0xFF0000FF}, {'G', 0x00FF00FF}, {'B', 0x0000FFFF}, {'W', 0xFFFFFFFF}}},
        {"texture coordinates mirror the texture",
         [] {
             PaintData data = quad(-2, -2, 2, 2);
             const float us[4] = {1, 0, 0, 1}, vs[4] = {0, 0, 1, 1};
             for (int i = 0; i < 4; ++i) {
                 data.vertex[i].u = us[i];
                 data.vertex[i].v = vs[i];
             }
             data.hasUV = true;
             return data;
         },
         kQuadrants,
         black,
         true,
         {"GGRR", "GGRR", "WWBB", "WWBB"},
         {{'R', 0xFF0000FF}, {'G', 0x00FF00FF}, {'B', 0x0000FFFF}, {'W', 0xFFFFFFFF}}},
        {"texture coordinates pick one texel",
         [] {
             PaintData data = quad(-2, -2, 2, 2);
             for (Vertex& v : data.vertex) {
                 v.u = 0.75f;
                 v.v = 0.25f;
             }
             data.hasUV = true;
             return data;
         },
         kQuadrants,
         black,
         true,
         {"GGGG", "GGGG", "GGGG", "GGGG"},
         {{'G', 0x00FF00FF}}},
        {"vertex colours blend across the quad",
         [] {
             PaintData data = quad(-2, -2, 2, 2);
             paintAll(data, 1.0f, 0.0f, 0.0f, 1.0f);
             data.vertex[1].red = data.vertex[2].red = 0.0f;
             data.vertex[1].blue = data.vertex[2].blue = 1.0f;
             return data;
         },
         kWhite,
         black,
         true,
         {"abcd", "abcd", "abcd", "abcd"},
         {{'a', 0xDF0020FF}, {'b', 0x9F0060FF}, {'c', 0x60009FFF}, {'d', 0x2000DFFF}}},
        {"glyph coverage times the vertex colour",
         [] {
             PaintData data = quad(-2, -2, 2, 2);
             paintAll(data, 1.0f, 0.0f, 0.0f, 1.0f);
             return data;
         },
         kGlyph,
         black,
         true,
         {"rrhh", "rrhh", "rrhh", "rrhh"},
         {{'r', 0xFF0000FF}, {'h', 0x800000BF}}},
        {"the clip rectangle keeps the centres inside it, left and top inclusive",
         [&clip] {
             PaintData data = quad(-2, -2, 2, 2);
             data.clipRect = &clip;
             return data;
         },
         kWhite,
         black,
         true,
         {"....", "#...", "#...", "...."},
         {{'.', 0x000000FF}, {'#', 0xFFFFFFFF}}},
        {"a quad turned by 45 degrees",
         [] {
             PaintData data = quad(-1.5f, -1.5f, 1.5f, 1.5f);
             data.rotateZ(Coordinate2{0.0f, 0.0f}, 3.14159265f / 4.0f);
             return data;
         },
         kWhite,
         black,
         true,
         {".##.", "####", "####", ".##."},
         {{'.', 0x000000FF}, {'#', 0xFFFFFFFF}}},
    };
    for (const Case& c : cases) {
        Canvas canvas(4, 4);
        canvas.clear(c.background);
        Rasterizer rasterizer(canvas);
        PaintData data = c.make();
        EXPECT_EQ(rasterizer.drawQuad(Rectangle{-2, -2, 4, 4}, data, c.texture), c.accepted)
            << c.what;
        EXPECT_EQ(picture(canvas, c.legend), c.expected) << c.what;
    }
}

TEST(RasterizerTest, SharedEdgesAreBlendedExactlyOnce) {
    // Half-transparent white over black: '#' was blended once; a pixel
    // blended twice or not at all would show as '?' or '.'.
    const std::map<char, unsigned> legend = {{'.', 0x000000FF}, {'#', 0x808080BF}};
    struct Case {
        const char* what;
        std::vector<PaintData> quads;
        std::vector<std::string> expected;
    };
    PaintData diamond = quad(0, 0, 0, 0);
    const float xs[4] = {0, 2, 0, -2}, ys[4] = {-2, 0, 2, 0};
    for (int i = 0; i < 4; ++i) {
        diamond.vertex[i].x = xs[i];
        diamond.vertex[i].y = ys[i];
    }
    PaintData mirrored = quad(-2.5f, -2.5f, 2.5f, 2.5f);
    mirrored.flipHorizontal();  // wound the other way round
    const std::vector<Case> cases = {
        {"a diagonal through pixel centres",
         {quad(-2.5f, -2.5f, 2.5f, 2.5f)},
         {"#####", "#####", "#####", "#####", "#####"}},
        {"the same quad wound the other way",
         {mirrored},
         {"#####", "#####", "#####", "#####", "#####"}},
        {"a diamond whose corners and diagonal lie on pixel centres",
         {diamond},
         {".....", ".##..", "####.", ".##..", "....."}},
        {"two quads meeting on a column of pixel centres",
         {quad(-2.5f, -2.5f, 0.0f, 2.5f), quad(0.0f, -2.5f, 2.5f, 2.5f)},
         {"#####", "#####", "#####", "#####", "#####"}},
    };
    for (const Case& c : cases) {
        Canvas canvas(5, 5);
        canvas.clear(Color{0.0f, 0.0f, 0.0f, 1.0f});
        Rasterizer rasterizer(canvas);
        for (PaintData data : c.quads) {
            paintAll(data, 1.0f, 1.0f, 1.0f, 0.5f);
            rasterizer.drawQuad(Rectangle{-2.5f, -2.5f, 5, 5}, data, kWhite);
        }
        EXPECT_EQ(picture(canvas, legend), c.expected) << c.what;
    }
}

// --- Input scripts -------------------------------------------------------------

TEST(InputScriptTest, BadLinesNameTheFileTheLineAndWhatWasExpected) {
    const char kButton[] = "a button name (such as Select, Downwards or \"Scroll up\")";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"jump Select", "expected press, release, type, move or wait, found 'jump'"},
        {"press", std::string("expected ") + kButton + ", found the end of the line"},
        {"release Selekt 1", std::string("expected ") + kButton + ", found 'Selekt'"},
        {"press \"Scroll  up\"", std::string("expected ") + kButton + ", found \"Scroll  up\""},
        {"press Select one", "expected an input index (a whole number from 0), found 'one'"},
        {"press Select -1", "expected an input index (a whole number from 0), found '-1'"},
        {"press Select 0 1", "expected the end of the line, found '1'"},
        {"type Hello", "expected a quoted text, found 'Hello'"},
        {"type \"Hello", "expected a closing '\"'"},
        {"type \"a\\qb\"", "expected \\\" \\\\ \\n or \\t after '\\' in a quoted text"},
        {"type \"\xC3\"", "expected UTF-8 text, found other bytes"},
        {"move 1", "expected two numbers X Y, found the end of the line"},
        {"move x 1", "expected two numbers X Y, found 'x'"},
        {"move 1 2 3", "expected the end of the line, found '3'"},
        {"wait -0.5", "expected a time in seconds from 0, found '-0.5'"},
        {"wait soon # later", "expected a time in seconds from 0, found 'soon'"},
    };
    for (const auto& c : cases) {
        InputScript script;
        std::string error;
        EXPECT_FALSE(script.parse("# a comment\npress Select\n\n" + c.first + "\nwait 1\n",
                                  "menu.script", error))
            << c.first;
        EXPECT_EQ(error, "menu.script:4: " + c.second) << c.first;
        EXPECT_TRUE(script.commands().empty()) << c.first;
    }
}

// Records where the pointer is moved and on which frame.
class PointerHost : public ReferenceHost {
public:
    explicit PointerHost(const std::string& root) : ReferenceHost(root, 64, 48) {}
    bool pointerMove(float x, float y) override {
        moves.push_back({std::lround(clock() * 60.0), x, y});
        return ReferenceHost::pointerMove(x, y);
    }
    struct Move {
        long frame;
        float x, y;
        bool operator==(const Move& o) const { return frame == o.frame && x == o.x && y == o.y; }
    };
    std::vector<Move> moves;
};

TEST_F(ScratchTest, ScriptsAreReplayedOnTheFrameClock) {
    InputScript script;
    std::string error;
    ASSERT_TRUE(
        script.parse("press \"Scroll up\" 2  # index 2\n"
                     "move -10 5.5\n"
                     "wait 0.5\n"
                     "type \"h\xC3\xA9\" 1\n"
                     "move 3 4\n"
                     "wait 0.01\n"
                     "release Select\n"
                     "move 7 8\n",
                     "s", error))
        << error;
    using Kind = InputCommand::Kind;
    struct Expected {
        Kind kind;
        double time;
        int code, index;
    };
    const std::vector<Expected> expected = {{Kind::Press, 0.0, Button::ScrollUp, 2},
                                            {Kind::Move, 0.0, 0, 0},
                                            {Kind::Character, 0.5, 'h', 1},
                                            {Kind::Character, 0.5, 0xE9, 1},
                                            {Kind::Move, 0.5, 0, 0},
                                            {Kind::Release, 0.51, Button::Select, 0},
                                            {Kind::Move, 0.51, 0, 0}};
    ASSERT_EQ(script.commands().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const InputCommand& command = script.commands()[i];
        EXPECT_EQ(command.kind, expected[i].kind) << i;
        EXPECT_DOUBLE_EQ(command.time, expected[i].time) << i;
        EXPECT_EQ(command.code, expected[i].code) << i;
        EXPECT_EQ(command.inputIndex, expected[i].index) << i;
    }
    EXPECT_DOUBLE_EQ(script.duration(), 0.51);

    // Frame n starts at n/60 s: a command is given before the first frame
    // that starts at or after its time.
    PointerHost host(dir.string());
    host.init();
    FrameDriver driver(host);
    driver.setScript(script);
    EXPECT_TRUE(driver.runTo(1.0));
    EXPECT_EQ(driver.frame(), 60);
    host.exit();
    const std::vector<PointerHost::Move> moves = {{0, -10, 5.5f}, {30, 3, 4}, {31, 7, 8}};
    EXPECT_EQ(host.moves, moves);
}

const char kClickScreen[] =
    "CullEventActionNode {\n"
    "    Next node: null\n"
    "    Action: VolumedSoundAction {\n"
    "        Sound: \"Menu click\"\n"
    "        Volume (0-1): 0.5\n"
    "    }\n"
    "    Event: ButtonEvent {\n"
    "        Input index (0 == all indexes): 0\n"
    "        Event type: ButtonPress\n"
    "        Button type: Select\n"
    "    }\n"
    "}\n";

TEST_F(ScratchTest, SoundsAreRecordedAtTheFrameThatStartsThem) {
    {  // a file written outside a save is kept once it is complete
        ReferenceHost writer(dir.string(), 64, 48);
        writer.init();
        Object* root = nullptr;
        std::string error;
        ASSERT_TRUE(text::readText(writer, kClickScreen, "click.txt", "Menus/Click", root, error))
            << error;
        EXPECT_TRUE(text::writeObjectFile(writer, root, "Menus/Click"));
        Object::clear(writer, root);
        writer.exit();
    }
    EXPECT_FALSE(fs::exists(dir / "Menus/Click.tmp"));
    ReferenceHost host(dir.string(), 64, 48);
    host.init();
    FrameDriver driver(host);
    ASSERT_TRUE(driver.load("Menus/Click"));
    InputScript script;
    std::string error;
    ASSERT_TRUE(script.parse("wait 0.5\npress Select\nwait 0.25\npress Select 3\n", "s", error));
    driver.setScript(script);
    driver.runTo(1.0);
    EXPECT_EQ(host.sounds().lines(),
              (std::vector<std::string>{"\"Menu click\" 0.5 0.5", "\"Menu click\" 0.5 0.75"}));
    EXPECT_FALSE(host.soundPlay(0, 1.0f));
    host.exit();
}

// --- Files ---------------------------------------------------------------------

// Lets the first `budget` bytes through, then fails every write, as a disk
// that fills up does.
class CuttingOStream : public OStream {
public:
    CuttingOStream(OStream* target, int budget) : target_(target), budget_(budget) {}
    ~CuttingOStream() override { delete target_; }
    int writeBuffer(const void* data, int size) override {
        int count = size < budget_ ? size : budget_;
        budget_ -= count;
        return count > 0 ? target_->writeBuffer(data, count) : 0;
    }

private:
    OStream* target_;
    int budget_;
};

class CuttingHost : public ReferenceHost {
public:
    explicit CuttingHost(const std::string& root) : ReferenceHost(root, 64, 48) {}
    OStream* createOStream(const char* name) override {
        OStream* stream = ReferenceHost::createOStream(name);
        return stream && budget >= 0 ? new CuttingOStream(stream, budget) : stream;
    }
    int budget = -1;  // -1: no limit
};

TEST_F(ScratchTest, ASaveThatFailsHalfWayLeavesThePreviousFile) {
    CuttingHost host(dir.string());
    host.init();
    Object* menu = nullptr;
    ASSERT_TRUE(Object::create(host, menu, NameNode::absoluteClass()));
    menu->setName("Menu");
    ASSERT_EQ(host.registerObject(menu, nullptr), menu);
    ASSERT_TRUE(host.saveFiles());
    const std::string saved = readFile(dir / "Menu");
    ASSERT_FALSE(saved.empty());

    // The next save would write a longer file.
    Node*& next = static_cast<Node*>(menu)->nextNode(0);
    ASSERT_TRUE(Object::create(host, next, Node::absoluteClass()));
    for (int budget : {0, 1, static_cast<int>(saved.size()) / 2, static_cast<int>(saved.size())}) {
        host.budget = budget;
        host.log().clear();
        EXPECT_FALSE(host.saveFiles()) << budget;
        EXPECT_EQ(readFile(dir / "Menu"), saved) << budget;
        EXPECT_FALSE(fs::exists(dir / "Menu.tmp")) << budget;
        const std::vector<std::string> lines = {
            "Kova: Error: Writing to stream \"Menu\"",
            "KovaHost: Error: 'Menu' not saved (the save failed); the file is left as it was"};
        EXPECT_EQ(host.log().lines(), lines) << budget;
    }
    host.budget = -1;
    EXPECT_TRUE(host.saveFiles());
    EXPECT_GT(readFile(dir / "Menu").size(), saved.size());
    EXPECT_EQ(host.files().savedFiles(), (std::vector<std::string>{"Menu", "Menu"}));
    host.exit();
}

// --- Fonts and pictures ----------------------------------------------------------

TEST_F(ScratchTest, FontsAndPicturesItCannotUseLogOneLine) {
    std::string png;
    ASSERT_TRUE(PngFile::write((dir / "good.png").string(), 1, 1, kWhiteTexel, png));
    writeFile(dir / "bad.png", readFile(dir / "good.png").substr(0, 40));
    ReferenceHost host(dir.string(), 4, 4);
    host.init();
    const std::string fallback = "; using the default font 'DejaVuSans 24'";
    struct Case {
        const char* name;
        bool font;
        std::string line;  // a line of libpng's own words ends where the '*' stands
    };
    const std::vector<Case> cases = {
        {"Nowhere 12", true,
         "KovaHost: Error: Unknown font 'Nowhere 12': no file Nowhere.ttf below the root or in "
         "/usr/share/fonts/truetype/dejavu" +
             fallback},
        {"DejaVuSans 0", true,
         "KovaHost: Error: Unknown font 'DejaVuSans 0': the size must be from 1 to 1000 pixels" +
             fallback},
        {"good.png", true,
         "KovaHost: Error: Font 'good.png': " + (dir / "good.png").string() +
             " is not a font FreeType can read" + fallback},
        {"none.png", false,
         "KovaHost: Error: Picture 'none.png' cannot be read (no file " +
             (dir / "none.png").string() + "); it draws nothing"},
        {"bad.png", false, "KovaHost: Error: Picture 'bad.png' cannot be read (*"},
    };
    for (const Case& c : cases) {
        host.log().clear();
        int handle = c.font ? host.fontHandle(c.name) : host.pictureHandle(c.name);
        EXPECT_EQ(c.font ? host.fontHandle(c.name) : host.pictureHandle(c.name), handle);
        ASSERT_EQ(host.log().lines().size(), 1u) << c.name;
        const std::string& line = host.log().lines()[0];
        std::size_t star = c.line.find('*');
        if (star == std::string::npos) {
            EXPECT_EQ(line, c.line);
        } else {
            EXPECT_EQ(line.substr(0, star), c.line.substr(0, star));
            EXPECT_EQ(line.substr(line.size() - 19), "); it draws nothing");
        }
        if (c.font) {  // the default font stands in, under the name asked for
            EXPECT_EQ(host.fontHeight(handle), host.fontHeight(0));
            EXPECT_STREQ(host.fontName(handle), c.name);
        } else {
            EXPECT_EQ(host.pictureWidth(handle), 0.0f);
            PaintData data = quad(-2, -2, 2, 2);
            EXPECT_FALSE(host.picturePaint(handle, data));
            EXPECT_EQ(host.canvas().rgba(1, 1), 0x000000FFu);
        }
    }
    int good = host.pictureHandle("good.png");
    EXPECT_EQ(host.pictureWidth(good), 1.0f);
    host.exit();
}

TEST_F(ScratchTest, MetricsComeFromTheFont) {
    ReferenceHost host(dir.string(), 4, 4);
    host.init();
    auto advance = [&host](int font, int character) {
        CharacterMetrics m;
        EXPECT_TRUE(host.charMetrics(character, font, m));
        return m.before + m.width + m.after;
    };
    int sans12 = host.fontHandle("DejaVuSans 12"), sans48 = host.fontHandle("DejaVuSans 48");
    int mono = host.fontHandle("DejaVuSansMono 24");
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
    host.exit();
}

// --- The kova program: paths and render ----------------------------------------

const char kTextScreen[] =
    "TextNode {\n"
    "    Next node: null\n"
    "    String: StringData {\n"
    "        String <do not edit>: \"Hi\"\n"
    "    }\n"
    "    Style: null\n"
    "}\n";

#ifdef KOVA_TOOL_PATH
TEST_F(ScratchTest, KovaTakesAbsoluteAndRelativePaths) {
    writeFile(dir / "screen.txt", kTextScreen);
    const std::string abs = (dir / "out").string();
    struct Case {
        std::string arguments;
        int status;
        std::string out;
        std::string err;
    };
    const std::string rootError = "kova dump: '" + abs + "/Main' is not below the root 'rel'\n" +
                                  "Run \"kova dump --help\" for its usage.\n";
    const std::vector<Case> cases = {
        {"build screen.txt -o " + abs + "/Main", 0, "wrote Main\n", ""},
        {"build screen.txt -o rel/Other", 0, "wrote Other\n", ""},
        {"dump " + abs + "/Main", 0, kTextScreen, ""},
        {"dump --root " + abs + " " + abs + "/Main", 0, kTextScreen, ""},
        {"check rel/Other", 0, "rel/Other: Kova: Loading: Other\nrel/Other: ok\n", ""},
        {"dump --root rel " + abs + "/Main", 2, "", rootError},
        {"render " + abs + "/Main --size 64x48 --at 0.5,0 --out shots", 0,
         "shots/Main-0s.png\nshots/Main-0.5s.png\n", ""},
        {"render rel/Missing", 1, "",
         "Kova: Error: Unable to open istream \"Missing\"\n"
         "kova render: 'rel/Missing' cannot be loaded\n"},
        {"render --size 0x2 rel/Other", 2, "",
         "kova render: --size takes WxH, from 1x1 to 8192x8192\n"
         "Run \"kova render --help\" for its usage.\n"},
    };
    for (const Case& c : cases) {
        std::string command = "cd '" + dir.string() + "' && '" KOVA_TOOL_PATH "' " + c.arguments +
                              " > stdout 2> stderr";
        int status = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, c.status) << c.arguments;
        EXPECT_EQ(readFile(dir / "stdout"), c.out) << c.arguments;
        EXPECT_EQ(readFile(dir / "stderr"), c.err) << c.arguments;
    }
    // The text was drawn: some pixel of the top left corner is lit.
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    std::string error;
    ASSERT_TRUE(PngFile::read((dir / "shots/Main-0s.png").string(), width, height, rgba, error));
    EXPECT_EQ(width, 64);
    EXPECT_EQ(height, 48);
    int lit = 0;
    for (std::size_t i = 0; i < rgba.size(); i += 4)
        lit += rgba[i] > 128;
    EXPECT_GT(lit, 20);
}
#endif

}  // namespace

}  // namespace kova_test
