// A whole menu as a game ships it: written as text, built into object files,
// loaded with System::load and driven only through the host's input calls.
// Title: three buttons in a column under a remembering tab-stop manager; the
// focused one turns yellow and slides in as its level rises. Options: a name
// field and a volume slider; Cancel goes back.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>

#include "TextForm.h"
#include "test_support.h"

namespace kova_test {
namespace {

// One button of the title's column; %ACTION% and %CLOSE% wrap its look in
// the node that leads to the options screen.
const char* const kButton = R"txt(
TransformNode { Next node: %NEXT%  X: 0  Y: %Y%  Width: 100  Height: 30  Transformed node:
  TabstopNode { Next node: %ACTION% NormalToFocusEffectNode { Next node: FocusEffectNode {
      Next node: TextNode { Next node: null  String: StringData { "String <do not edit>": "%TEXT%" }
        Style: @"System" }  Effect: ColorEffect { Red: 1  Green: 1  Blue: 0  Alpha: 1 } }
    Effect: MoveEffect { "Move length": FloatData { "Value <do not edit>": 30 }
      "Move direction": null } }%CLOSE% } })txt";

// A name field (60 x 20 at the origin, at most 4 characters) over a volume
// slider (110 x 10 at y 40, 0 to 10, one visible); Cancel goes back at once.
const char* const kToOptions = R"txt(CullEventActionNode { Next node:)txt";
const char* const kToOptionsEnd = R"txt(
  Action: SetPathAction { "Path node": @"Menu"  "Destination node": NameNode "Options" {
    Next node: TransformNode { Next node: TransformNode { Next node: CullEventActionNode {
          Next node: null  Action: SetPathAction { "Path node": @"Menu"
            "Destination node": @"Title"  "In time": 0  "Out time": 0  "In wait time": 0
            "Out wait time": 0  "Paint outnode over innode": false }
          Event: ButtonEvent { "Input index (0 == all indexes)": 0  "Event type": ButtonPress
            "Button type": Cancel } }  X: 0  Y: 40  Width: 110  Height: 10
        Transformed node: SliderNode { Next node: null
          "Cursor node": PictureNode { Next node: null  Picture: "" }
          Data: FloatData "Volume" { "Value <do not edit>": 5 }  "Minimum value": 0
          "Maximum value": 10  "Number visible": 1 } }  X: 0  Y: 0  Width: 60  Height: 20
      Transformed node: EditNode { Next node: null  Font: ""
        String: StringData "Name" { "String <do not edit>": "Al" }
        "Max characters(-1 = no limit)": 4 } } }  "In time": 0.5  "Out time": 0.5
    "In wait time": 0  "Out wait time": 0  "Paint outnode over innode": false }
  Event: ButtonEvent { "Input index (0 == all indexes)": 0  "Event type": ButtonPress
    "Button type": Select } })txt";

std::string replaced(std::string text, const std::string& key, const std::string& value) {
    for (std::size_t at; (at = text.find(key)) != std::string::npos;)
        text.replace(at, key.size(), value);
    return text;
}

// The title screen's column, built from the last button upwards.
std::string menuText() {
    std::string chain = "null";
    const char* labels[] = {"Quit", "Options", "Start"};
    for (int i = 0; i < 3; ++i) {
        std::string button = replaced(replaced(kButton, "%NEXT%", chain), "%TEXT%", labels[i]);
        button = replaced(replaced(button, "%Y%", std::to_string(80 - 40 * i)), "%ACTION%",
                          i == 1 ? kToOptions : "");
        chain = replaced(button, "%CLOSE%", i == 1 ? kToOptionsEnd : "");
    }
    return "PathNode \"Menu\" { Next node: NameNode \"Title\" {\n"
           "  Next node: RememberingTabstopManagerNode { Next node: " +
           chain + " } } }\n";
}

// Loads object files from memory and draws with the fixed glyph metrics
// (advance 10, line 16, base line 10 below a glyph's top). What it paints is
// summed up in `shown`: the characters, "#" for a picture, yellow runs in
// brackets that start with their first glyph's top left corner, "?" before
// a glyph neither white nor yellow.
class MenuHost : public GlyphHost {
public:
    MenuHost() { setSize(0.0f, 0.0f); }  // rectangles in the pointer's numbers
    IStream* createIStream(const char* name) override {
        auto found = files.find(name);
        if (found == files.end()) return nullptr;
        return new MemoryIStream(Bytes(found->second.begin(), found->second.end()));
    }
    bool charPaint(int character, int font, PaintData& data) override {
        const Vertex& v = data.vertex[0];
        Floats colour{v.red, v.green, v.blue, v.alpha};
        bool yellow = colour == Floats{1, 1, 0, 1};
        if (yellow != inYellow)
            shown += yellow ? "[" + printed(v.x) + "," + printed(v.y) + " " : "]";
        if (!yellow && colour != Floats{1, 1, 1, 1}) shown += "?";
        inYellow = yellow;
        shown += static_cast<char>(character);
        return GlyphHost::charPaint(character, font, data);
    }
    bool picturePaint(int picture, PaintData& data) override {
        shown += "#";
        return TestHost::picturePaint(picture, data);
    }
    std::map<std::string, std::string> files;
    std::string shown;
    bool inYellow = false;
};

using MenuTest = HostTest<MenuHost>;

TEST_F(MenuTest, TitleAndOptionsDrivenByInput) {
    {
        text::MemoryHost builder(false);  // keeps "System": the style is referred to by name
        builder.init();
        std::string error;
        ASSERT_TRUE(text::buildObjectFile(builder, menuText(), "menu.txt", "Menu", error)) << error;
        builder.exit();
        host.files = builder.files;
    }
    ASSERT_TRUE(host.load("Menu", nullptr));
    const std::string loaded =  // the screens keep files of their own
        "Kova: Loading: Menu\r\nKova: Loading: Title\r\nKova: Loading: Options\r\n";
    EXPECT_EQ(host.log.text, loaded);
    Data* name = static_cast<Data*>(host.findNamedObject("Name"));
    Data* volume = static_cast<Data*>(host.findNamedObject("Volume"));
    ASSERT_TRUE(name && volume);
    // Puts in the inputs (a button's name presses it, "release" lets Select go, "mX,Y" moves the
    // pointer, "'text" types), runs a frame of `elapsed` and sums it up: what was shown, "@" the
    // pointer, the focus lock count, the name and the volume.
    auto step = [&](const std::string& inputs, float elapsed) {
        std::istringstream words(inputs);
        for (std::string word; words >> word;) {
            float x, y;
            for (int button = 1; button < Button::Count; ++button)
                if (word == Button::buttonName(button)) host.buttonPress(button, 1, 1);
            if (word == "release") host.buttonRelease(Button::Select, 1);
            if (std::sscanf(word.c_str(), "m%f,%f", &x, &y) == 2) host.pointerMove(x, y);
            for (std::size_t i = 1; word[0] == '\'' && i < word.size(); ++i)
                host.unicodePress(word[i], 1, 1);
        }
        EXPECT_TRUE(host.update(elapsed));
        host.shown.clear();
        host.inYellow = false;
        EXPECT_TRUE(host.paint());
        char typed[16] = {};
        name->stringCopy(host, typed, sizeof(typed));
        const Coordinate2& at = host.pointerPosition();
        return host.shown + (host.inYellow ? "]" : "") + " @" + printed(at.x) + "," +
               printed(at.y) + " lock " + std::to_string(host.focusLockCount()) + " " + typed +
               " " + printed(volume->value(host));
    };
    // clang-format off
    const std::pair<const char*, float> inputs[] = {
        // Shown, the manager puts the pointer on the first button: "Start" is yellow and settled.
        {"", 1.0f}, {"", 0.0f},
        // Downwards: "Options" takes the focus; its level rises at 3 a second, so it slides in
        // from 30 to the left over a third of a second.
        {"Downwards", 0.0f}, {"", 0.1f}, {"", 0.1f}, {"", 0.2f},
        // Select on "Options": the path shows the options screen over half a second; the name
        // field and the slider are all it paints.
        {"Select release", 0.0f}, {"", 0.6f}, {"", 0.0f},
        // Typing into the field: Select starts editing (and locks the focus), Rightwards twice
        // goes to the end, characters go in up to the cap of 4, Select ends editing.
        {"m10,10", 0.0f}, {"Select Rightwards Rightwards 'exy", 0.0f}, {"Select release", 0.0f},
        // The slider: the value 5 puts the 11-wide cursor at 49.5. Select on it and a move to
        // the right end write 10; the release lets the focus go.
        {"m55,45", 0.0f}, {"Select", 0.0f}, {"m104.5,45", 0.0f}, {"release", 0.0f},
        // Cancel: back to the title, where the manager puts the pointer on the button it
        // remembered when the title was hidden.
        {"Cancel", 0.0f}, {"", 1.0f}};
    const char* expected[] = {
        "[1,6 Start]OptionsQuit @50,15 lock 0 Al 5", "[1,6 Start]OptionsQuit @50,15 lock 0 Al 5",
        "Start[-29,46 Options]Quit @50,55 lock 0 Al 5", "Start[-20,46 Options]Quit @50,55 lock 0 Al 5",
        "Start[-11,46 Options]Quit @50,55 lock 0 Al 5", "Start[1,46 Options]Quit @50,55 lock 0 Al 5",
        "StartOptionsQuit @50,55 lock 0 Al 5", "Al# @50,55 lock 0 Al 5", "Al# @50,55 lock 0 Al 5", "Al# @10,10 lock 0 Al 5", "Alex## @10,10 lock 1 Alex 5", "Alex# @10,10 lock 0 Alex 5",
        "Alex# @55,45 lock 0 Alex 5", "Alex# @55,45 lock 1 Alex 5", "Alex# @104.5,45 lock 1 Alex 10", "Alex# @104.5,45 lock 0 Alex 10",
        "Start[-29,46 Options]Quit @50,55 lock 0 Alex 10", "Start[1,46 Options]Quit @50,55 lock 0 Alex 10"};
    // clang-format on
    for (int i = 0; i < 18; ++i) {
        std::string state = step(inputs[i].first, inputs[i].second);
        EXPECT_EQ(state, expected[i]) << inputs[i].first;
    }
    EXPECT_EQ(host.log.text, loaded);
}

}  // namespace
}  // namespace kova_test
