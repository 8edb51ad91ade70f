// The live viewer: keys, mouse and pads reaching the engine as mapped, and
// the sample menu run headless through SDL's offscreen driver while its
// text sources are edited, broken and mended between reloads.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <tuple>

#include "DemoReel.h"
#include "KeyMap.h"
#include "Viewer.h"

namespace kova_test {
namespace {

using namespace tarn::kova;
using namespace tarn::kova::view;
namespace fs = std::filesystem;

// Notes each input the engine receives, as the host gave it.
class RecordingPointer : public Pointer {
    KOVA_RUNTIME_CLASS(RecordingPointer)
public:
    bool onMove(System& system, float x, float y) override {
        return note("move " + std::to_string(int(x)) + " " + std::to_string(int(y))),
               Pointer::onMove(system, x, y);
    }
    bool onButtonPress(System&, int button, int index, int repeat) override {
        return note("press " + std::string(Button::buttonName(button)) + " " +
                    std::to_string(index) + " " + std::to_string(repeat));
    }
    bool onButtonRelease(System&, int button, int index) override {
        return note("release " + std::string(Button::buttonName(button)) + " " +
                    std::to_string(index));
    }
    bool onUnicodePress(System&, int character, int index, int) override {
        return note("char " + std::to_string(character) + " " + std::to_string(index));
    }
    bool onUnicodeRelease(System&, int, int) override { return true; }

    bool note(const std::string& call) {
        calls += (calls.empty() ? "" : ", ") + call;
        return true;
    }
    std::string calls;
};
KOVA_IMPLEMENT_CLASS_NAMED(RecordingPointer, "kova_test::RecordingPointer", &Pointer::absoluteClass)

SDL_Event keyEvent(Uint32 type, SDL_Keycode key, Uint8 repeat = 0, Uint16 mod = 0) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    event.key.repeat = repeat;
    return event;
}

SDL_Event mouseEvent(Uint32 type, int x, int y, Uint8 button = 0, int wheel = 0) {
    SDL_Event event{};
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = x;
        event.motion.y = y;
    } else if (type == SDL_MOUSEWHEEL) {
        event.wheel.y = wheel;
    } else {
        event.button.x = x;
        event.button.y = y;
        event.button.button = button;
    }
    return event;
}

SDL_Event textEvent(const char* utf8) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    std::snprintf(event.text.text, sizeof(event.text.text), "%s", utf8);
    return event;
}

SDL_Event padEvent(Uint32 type, SDL_JoystickID pad, int control, int value = 0) {
    SDL_Event event{};
    event.type = type;
    if (type == SDL_CONTROLLERAXISMOTION) {
        event.caxis.which = pad;
        event.caxis.axis = static_cast<Uint8>(control);
        event.caxis.value = static_cast<Sint16>(value);
    } else if (type == SDL_CONTROLLERBUTTONDOWN || type == SDL_CONTROLLERBUTTONUP) {
        event.cbutton.which = pad;
        event.cbutton.button = static_cast<Uint8>(control);
    } else {
        event.cdevice.which = type == SDL_CONTROLLERDEVICEADDED ? control : pad;
    }
    return event;
}

// Every binding, by the engine's button names; then what the router does
// with repeats, the viewer's own keys, text, the mouse on a canvas a tenth
// the screen's size, and a pad (SDL's virtual one) that comes, plays and is
// pulled out while holding a button and the stick.
TEST(ViewTest, KeysMouseAndPadsReachTheEngineAsMapped) {
    // Each key is pressed with its modifier and let go of without it.
    const std::vector<std::tuple<SDL_Keycode, Uint16, const char*>> keys = {
        {SDLK_UP, 0, "Upwards"},     {SDLK_DOWN, 0, "Downwards"},
        {SDLK_LEFT, 0, "Leftwards"}, {SDLK_RIGHT, 0, "Rightwards"},
        {SDLK_RETURN, 0, "Select"},  {SDLK_KP_ENTER, 0, "Select"},
        {SDLK_ESCAPE, 0, "Cancel"},  {SDLK_ESCAPE, KMOD_RSHIFT, "Back"},
        {SDLK_AC_BACK, 0, "Back"},   {SDLK_BACKSPACE, 0, "Backspace"},
        {SDLK_DELETE, 0, "Delete"},  {SDLK_TAB, 0, "Tab"},
        {SDLK_HOME, 0, "Home"},      {SDLK_END, 0, "End"},
        {SDLK_PAGEUP, 0, "PageUp"},  {SDLK_PAGEDOWN, 0, "PageDown"},
        {SDLK_INSERT, 0, "Insert"}};
    const std::vector<std::pair<int, const char*>> padButtons = {
        {SDL_CONTROLLER_BUTTON_DPAD_UP, "Upwards"},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, "Downwards"},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, "Leftwards"},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, "Rightwards"},
        {SDL_CONTROLLER_BUTTON_A, "Select"},
        {SDL_CONTROLLER_BUTTON_B, "Cancel"},
        {SDL_CONTROLLER_BUTTON_X, "Edit"},
        {SDL_CONTROLLER_BUTTON_BACK, "Back"},
        {SDL_CONTROLLER_BUTTON_START, "Start"},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, "PageUp"},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, "PageDown"}};
    int bound = 0;
    EXPECT_TRUE(KeyMap::keys(bound) && bound == int(keys.size()));
    EXPECT_TRUE(KeyMap::padButtons(bound) && bound == int(padButtons.size()));

    ASSERT_EQ(SDL_Init(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                           SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(device, 0) << SDL_GetError();
    const SDL_JoystickID pad = SDL_JoystickGetDeviceInstanceID(device);
    host::ReferenceHost host(".", 64, 48);
    host.init();
    host.setSize(640.0f, 480.0f);
    Pointer::clear(host, host.pointer());
    ASSERT_TRUE(Object::create(host, host.pointer(), RecordingPointer::absoluteClass()));
    RecordingPointer& seen = static_cast<RecordingPointer&>(*host.pointer());
    ViewLog log;
    PadSet pads;
    InputRouter router(pads, log);

    struct Row {
        SDL_Event event;
        std::string calls;
        InputRouter::Command command = InputRouter::None;
    };
    std::vector<Row> rows;
    for (const auto& [key, modifiers, name] : keys) {
        rows.push_back(
            {keyEvent(SDL_KEYDOWN, key, 0, modifiers), std::string("press ") + name + " 1 1"});
        rows.push_back({keyEvent(SDL_KEYUP, key), std::string("release ") + name + " 1"});
    }
    const std::vector<Row> more = {
        {keyEvent(SDL_KEYDOWN, SDLK_DOWN, 1), "press Downwards 1 1"},  // a repeat of nothing held
        {keyEvent(SDL_KEYDOWN, SDLK_DOWN, 1), "press Downwards 1 2"},
        {keyEvent(SDL_KEYDOWN, SDLK_DOWN, 1), "press Downwards 1 3"},
        {keyEvent(SDL_KEYUP, SDLK_DOWN), "release Downwards 1"},
        {keyEvent(SDL_KEYDOWN, SDLK_ESCAPE, 0, KMOD_LSHIFT), "press Back 1 1"},
        {keyEvent(SDL_KEYDOWN, SDLK_ESCAPE, 1), "press Back 1 2"},
        {keyEvent(SDL_KEYDOWN, SDLK_a), ""},
        {keyEvent(SDL_KEYDOWN, SDLK_F1), "", InputRouter::ToggleOverlay},
        {keyEvent(SDL_KEYDOWN, SDLK_F5), "", InputRouter::Reload},
        {keyEvent(SDL_KEYDOWN, SDLK_q, 0, KMOD_LCTRL), "", InputRouter::Quit},
        {keyEvent(SDL_KEYDOWN, SDLK_q), ""},
        {SDL_Event{SDL_QUIT}, "", InputRouter::Quit},
        {textEvent("a\xC3\xA9\xE2\x82\xAC"), "char 97 1, char 233 1, char 8364 1"},
        {textEvent("\xC3"), ""},
        {mouseEvent(SDL_MOUSEMOTION, 10, 20), "move -215 -35"},
        {mouseEvent(SDL_MOUSEBUTTONDOWN, 0, 47, SDL_BUTTON_LEFT),
         "move -315 235, press Select 1 1"},
        {mouseEvent(SDL_MOUSEBUTTONUP, 63, 0, SDL_BUTTON_LEFT), "move 315 -235, release Select 1"},
        {mouseEvent(SDL_MOUSEBUTTONDOWN, 0, 0, SDL_BUTTON_RIGHT),
         "move -315 -235, press Cancel 1 1"},
        {mouseEvent(SDL_MOUSEBUTTONUP, 0, 0, SDL_BUTTON_X1), "move -315 -235, release Back 1"},
        {mouseEvent(SDL_MOUSEBUTTONDOWN, 0, 0, SDL_BUTTON_MIDDLE), ""},
        {mouseEvent(SDL_MOUSEWHEEL, 0, 0, 0, 2), "press Scroll up 1 1, release Scroll up 1"},
        {mouseEvent(SDL_MOUSEWHEEL, 0, 0, 0, -1), "press Scroll down 1 1, release Scroll down 1"},
        {padEvent(SDL_CONTROLLERBUTTONDOWN, pad, SDL_CONTROLLER_BUTTON_A), ""},  // not yet open
        {padEvent(SDL_CONTROLLERDEVICEADDED, pad, device), ""},
        {padEvent(SDL_CONTROLLERDEVICEADDED, pad, device), ""},  // opened once only
    };
    rows.insert(rows.end(), more.begin(), more.end());
    for (const auto& [button, name] : padButtons) {
        rows.push_back({padEvent(SDL_CONTROLLERBUTTONDOWN, pad, button),
                        std::string("press ") + name + " 1 1"});
        rows.push_back(
            {padEvent(SDL_CONTROLLERBUTTONUP, pad, button), std::string("release ") + name + " 1"});
    }
    const std::vector<Row> last = {
        {padEvent(SDL_CONTROLLERBUTTONDOWN, pad, SDL_CONTROLLER_BUTTON_GUIDE), ""},
        {padEvent(SDL_CONTROLLERBUTTONDOWN, pad, SDL_CONTROLLER_BUTTON_A), "press Select 1 1"},
        {padEvent(SDL_CONTROLLERBUTTONDOWN, pad, SDL_CONTROLLER_BUTTON_A), ""},  // held already
        {padEvent(SDL_CONTROLLERAXISMOTION, pad, SDL_CONTROLLER_AXIS_LEFTX, 20000),
         "press Rightwards 1 1"},
        {padEvent(SDL_CONTROLLERAXISMOTION, pad, SDL_CONTROLLER_AXIS_LEFTX, 10000), ""},
        {padEvent(SDL_CONTROLLERAXISMOTION, pad, SDL_CONTROLLER_AXIS_LEFTX, -20000),
         "release Rightwards 1, press Leftwards 1 1"},
        {padEvent(SDL_CONTROLLERAXISMOTION, pad, SDL_CONTROLLER_AXIS_LEFTX, 0),
         "release Leftwards 1"},
        {padEvent(SDL_CONTROLLERAXISMOTION, pad, SDL_CONTROLLER_AXIS_LEFTY, -32768),
         "press Upwards 1 1"},
        {padEvent(SDL_CONTROLLERAXISMOTION, pad, SDL_CONTROLLER_AXIS_RIGHTX, 32767), ""},
        {padEvent(SDL_CONTROLLERDEVICEREMOVED, pad, 0), "release Select 1, release Upwards 1"},
        {padEvent(SDL_CONTROLLERBUTTONDOWN, pad, SDL_CONTROLLER_BUTTON_A), ""},
    };
    rows.insert(rows.end(), last.begin(), last.end());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        seen.calls.clear();
        EXPECT_EQ(router.route(rows[i].event, host), rows[i].command) << "row " << i;
        EXPECT_EQ(seen.calls, rows[i].calls) << "row " << i;
    }
    EXPECT_EQ(std::vector<std::string>(log.lines().begin(), log.lines().end()),
              (std::vector<std::string>{"KovaView: pad '" +
                                            std::string(SDL_JoystickNameForIndex(device)) +
                                            "' plugged in, input index 1",
                                        "KovaView: pad of input index 1 pulled out"}));
    host.exit();
    pads.closeAll();
    SDL_JoystickDetachVirtual(device);
    SDL_Quit();
}

// --- The sample, headless, with its texts edited between reloads ----------

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replaces the one place `from` stands in a text.
void edit(const fs::path& path, const std::string& from, const std::string& to) {
    std::string text = readFile(path);
    std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    ASSERT_EQ(text.find(from, at + 1), std::string::npos) << from;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text.replace(at, from.size(), to);
}

// The viewer on the sample's sources below root, headless, at the sample's
// screen size.
struct HeadlessRun {
    HeadlessRun(const fs::path& root, const std::string& script) {
        ViewSettings settings;
        settings.root = root.string();
        settings.name = "Menus/Main";
        settings.width = 640;
        settings.height = 360;
        std::string error;
        EXPECT_TRUE(window.open("test", settings.width, settings.height, true, error)) << error;
        session = std::make_unique<ViewSession>(settings, log);
        EXPECT_TRUE(session->start()) << session->error();
        viewer = std::make_unique<Viewer>(*session, window, log, true);
        host::InputScript input;
        EXPECT_TRUE(input.parse(script, "test.script", error)) << error;
        viewer->setScript(input);
    }
    std::vector<unsigned char> at(double time) {
        viewer->runTo(time);
        std::vector<unsigned char> shown;
        EXPECT_TRUE(viewer->capture(shown));
        return shown;
    }
    float value(const char* name) {
        Object* data = session->host().findNamedObject(name);
        return data ? static_cast<Data*>(data)->value(session->host()) : -1.0f;
    }
    std::string text(const char* name) {
        char buffer[64] = "";
        Object* data = session->host().findNamedObject(name);
        if (data) static_cast<Data*>(data)->stringCopy(session->host(), buffer, sizeof(buffer));
        return buffer;
    }

    ViewWindow window;  // SDL ends last
    ViewLog log;
    std::unique_ptr<ViewSession> session;
    std::unique_ptr<Viewer> viewer;
};

// How many pixels differ by more than the golden pictures' tolerance.
int differingPixels(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    if (a.size() != b.size() || a.empty()) return -1;
    int differing = 0;
    for (std::size_t at = 0; at < a.size(); at += 4) {
        int worst = 0;
        for (std::size_t c = 0; c < 3; ++c)
            worst = std::max(worst, std::abs(a[at + c] - b[at + c]));
        differing += worst > 3;
    }
    return differing;
}

// The player goes to the options, takes the volume down to 75 and the
// screens are reloaded at 3.2 s and 4 s: each time a picture shows them, it
// must be what a run that never reloaded shows, with the texts as they were
// at the last good reload; and a run that never reloaded shows what kova
// render draws.
TEST(ViewTest, ReloadShowsEditedTextsKeepsWhatRanAndSurvivesABrokenText) {
    const fs::path dir = fs::path(::testing::TempDir()) / ("kova_view_" + std::to_string(getpid()));
    for (const char* copy : {"plain", "edited", "live"}) {
        fs::create_directories(dir / copy);
        fs::copy(KOVA_SAMPLE_SOURCE_DIR, dir / copy, fs::copy_options::recursive);
    }
    const fs::path options = "Screens/Options.txt";
    const std::string label = "String <do not edit>: \"Volume\"";
    auto editTitle = [&](const fs::path& root) {
        edit(root / "Screens/Title.txt", "\"EMBER DRIFT\"", "\"EMBER DRIFT II\"");
    };
    auto editOptions = [&](const fs::path& root) {
        edit(root / options, label, "String <do not edit>: \"Loudness\"");
        edit(root / options, "\"Player\"", "\"Ada\"");  // typed over: stays "Zed"
    };
    editTitle(dir / "edited");
    editOptions(dir / "edited");
    const std::string play =
        "wait 1.2\npress Downwards 1\nrelease Downwards 1\nwait 0.4\npress Select 1\n"
        "release Select 1\nwait 0.6\npress Select 1\nrelease Select 1\npress Delete 1\n"
        "press Delete 1\npress Delete 1\npress Delete 1\npress Delete 1\npress Delete 1\n"
        "type \"Zed\" 1\npress Select 1\nrelease Select 1\nwait 0.2\npress Downwards 1\n"
        "release Downwards 1\nwait 0.3\npress Leftwards 1\nrelease Leftwards 1\nwait 0.5\n";
    std::vector<unsigned char> plainAt3, plainAt3_6, editedAt4_6;
    float clock = 0.0f;
    {
        HeadlessRun plain(dir / "plain", play);
        plainAt3 = plain.at(3.0);
        plainAt3_6 = plain.at(3.6);
    }
    {  // the window shows what kova render draws from the built sample
        host::ReferenceHost render(demo::DemoReel::builtSampleDirectory(), 640, 360);
        render.init();
        host::FrameDriver driver(render);
        host::InputScript input;
        std::string error;
        EXPECT_TRUE(driver.load("Menus/Main") && input.parse(play, "play", error));
        driver.setScript(input);
        driver.runTo(3.0);
        render.canvas().clear(Color{0.0f, 0.0f, 0.0f, 1.0f});
        render.paint();
        EXPECT_EQ(differingPixels(render.canvas().rgba8(), plainAt3), 0);
        render.exit();
    }
    {
        HeadlessRun edited(dir / "edited", play);
        editedAt4_6 = edited.at(4.6);
        clock = edited.value("Menu/Clock");
        EXPECT_EQ(edited.value("Game/Volume"), 75.0f);
    }
    const std::string optionsPath = (dir / "live" / options).string();
    struct Step {
        double time;
        std::function<void()> change;  // made before the reload that precedes the picture
        const std::vector<unsigned char>& expected;
        std::string error;
    } steps[] = {
        {3.0, [] {}, plainAt3, ""},
        {3.6,
         [&] {  // the title, which names the options, is built again and fails too
             edit(dir / "live" / options, label, "String <do not edit>: Volume");
             editTitle(dir / "live");
         },
         plainAt3_6,
         optionsPath +
             ":211:82: expected a quoted text for field 'String <do not edit>', found 'Volume'"},
        {4.6,
         [&] {
             edit(dir / "live" / options, "String <do not edit>: Volume", label);
             editOptions(dir / "live");
         },
         editedAt4_6, ""},
    };
    {
        HeadlessRun live(dir / "live", play + "reload\nwait 0.8\nreload\n");
        for (const Step& step : steps) {
            step.change();
            live.viewer->setOverlay(false);
            EXPECT_EQ(differingPixels(live.at(step.time), step.expected), 0) << step.time;
            EXPECT_EQ(live.session->error(), step.error) << step.time;
            live.viewer->setOverlay(true);
            std::string shown;
            for (const std::string& line : live.viewer->overlayLines())
                shown += line + "\n";
            EXPECT_EQ(shown.find("error " + step.error.substr(0, 40)) != std::string::npos,
                      !step.error.empty())
                << shown;
            EXPECT_NE(shown.find("path Menus/Path: Screens/Title > Screens/Options\n"),
                      std::string::npos)
                << shown;
        }
        // Changed while running: kept. Not changed: the edited file's value.
        EXPECT_EQ(live.value("Game/Volume"), 75.0f);
        EXPECT_EQ(live.text("Game/PlayerName"), "Zed");
        EXPECT_EQ(live.text("Title/Name"), "EMBER DRIFT II");
        EXPECT_NEAR(live.value("Menu/Clock"), clock, 1e-4);
        // A live viewer looks at its sources in its first frame (and reloads
        // once, though F5 asks too), and takes F1 and the window's closing
        // as its own.
        edit(dir / "live" / options, "\"Loudness\"", "\"Level\"");
        Viewer window(*live.session, live.window, live.log, false);
        SDL_Event f1 = keyEvent(SDL_KEYDOWN, SDLK_F1), f5 = keyEvent(SDL_KEYDOWN, SDLK_F5);
        SDL_Event quit{SDL_QUIT};
        ASSERT_TRUE(SDL_PushEvent(&f1) == 1 && SDL_PushEvent(&f5) == 1 &&
                    SDL_PushEvent(&quit) == 1);
        window.runLive();
        EXPECT_EQ(live.log.lines().back(), "KovaView: reloaded Menus/Main, 5 values kept");
        EXPECT_FALSE(window.overlayLines().empty());
    }
    EXPECT_EQ(RuntimeClass::totalClassInstanceCount(), 0);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace kova_test
