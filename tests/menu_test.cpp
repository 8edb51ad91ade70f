// A whole menu as a game ships it: written as text, built into object files,
// loaded with System::load and driven only through the host's input calls.
// Title: three buttons in a column under a remembering tab-stop manager; the
// focused one turns yellow and slides in as its level rises. Options: a name
// field and a volume slider; Cancel goes back.
#include <gtest/gtest.h>

#include "TextForm.h"
#include "test_support.h"

namespace kova_test {
namespace {

const char* const kButton = R"txt(
    TransformNode {
        Next node: %NEXT%
        X: 0  Y: %Y%  Width: 100  Height: 30
        Transformed node: TabstopNode {
            Next node: %ACTION% NormalToFocusEffectNode {
                Next node: FocusEffectNode {
                    Next node: TextNode {
                        Next node: null
                        String: StringData { "String <do not edit>": "%TEXT%" }
                        Style: @"System"
                    }
                    Effect: ColorEffect { Red: 1  Green: 1  Blue: 0  Alpha: 1 }
                }
                Effect: MoveEffect {
                    "Move length": FloatData { "Value <do not edit>": 30 }
                    "Move direction": null
                }
            }%CLOSE%
        }
    })txt";

const char* const kToOptions = R"txt(CullEventActionNode {
                Next node:)txt";

const char* const kToOptionsEnd = R"txt(
                Action: SetPathAction {
                    "Path node": @"Menu"
                    "Destination node": NameNode "Options" {
                        Next node: TransformNode {
                            Next node: TransformNode {
                                Next node: CullEventActionNode {
                                    Next node: null
                                    Action: SetPathAction {
                                        "Path node": @"Menu"
                                        "Destination node": @"Title"
                                        "In time": 0  "Out time": 0  "In wait time": 0
                                        "Out wait time": 0  "Paint outnode over innode": false
                                    }
                                    Event: ButtonEvent {
                                        "Input index (0 == all indexes)": 0
                                        "Event type": ButtonPress  "Button type": Cancel
                                    }
                                }
                                X: 0  Y: 40  Width: 110  Height: 10
                                Transformed node: SliderNode {
                                    Next node: null
                                    "Cursor node": PictureNode { Next node: null  Picture: "" }
                                    Data: FloatData "Volume" { "Value <do not edit>": 5 }
                                    "Minimum value": 0  "Maximum value": 10  "Number visible": 1
                                }
                            }
                            X: 0  Y: 0  Width: 60  Height: 20
                            Transformed node: EditNode {
                                Next node: null
                                Font: ""
                                String: StringData "Name" { "String <do not edit>": "Al" }
                                "Max characters(-1 = no limit)": 4
                            }
                        }
                    }
                    "In time": 0.5  "Out time": 0.5  "In wait time": 0  "Out wait time": 0
                    "Paint outnode over innode": false
                }
                Event: ButtonEvent {
                    "Input index (0 == all indexes)": 0
                    "Event type": ButtonPress  "Button type": Select
                }
            })txt";

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
        bool options = i == 1;
        std::string button = replaced(kButton, "%NEXT%", chain);
        button = replaced(button, "%Y%", std::to_string(80 - 40 * i));
        button = replaced(button, "%TEXT%", labels[i]);
        button = replaced(button, "%ACTION%", options ? kToOptions : "");
        chain = replaced(button, "%CLOSE%", options ? kToOptionsEnd : "");
    }
    return "PathNode \"Menu\" {\n  Next node: NameNode \"Title\" {\n"
           "    Next node: RememberingTabstopManagerNode {\n      Next node: " +
           chain + "\n    }\n  }\n}\n";
}

// Loads object files from memory and draws with the fixed glyph metrics
// (advance 10, line 16, base line 10 below a glyph's top).
class MenuHost : public GlyphHost {
public:
    MenuHost() { setSize(0.0f, 0.0f); }  // rectangles in the pointer's numbers
    IStream* createIStream(const char* name) override {
        auto found = files.find(name);
        if (found == files.end()) return nullptr;
        return new MemoryIStream(Bytes(found->second.begin(), found->second.end()));
    }
    std::map<std::string, std::string> files;
};

struct Glyph {
    char character;
    Floats topLeft;  // x, y of vertex 0
    Floats color;    // of vertex 0
};

// The glyphs painted since the host had made `calls` and `painted` records.
std::vector<Glyph> glyphsSince(const MenuHost& host, std::size_t calls, std::size_t painted) {
    std::vector<Glyph> out;
    for (std::size_t i = calls; i < host.calls.size(); ++i) {
        bool glyph = host.calls[i].rfind("charPaint ", 0) == 0;
        if (!glyph && host.calls[i].rfind("picturePaint ", 0) != 0) continue;
        const Vertex& v = host.painted[painted++].vertex[0];
        if (glyph)
            out.push_back({static_cast<char>(std::stoi(host.calls[i].substr(10))),
                           {v.x, v.y},
                           {v.red, v.green, v.blue, v.alpha}});
    }
    return out;
}

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
    auto pointer = [&] { return Floats{host.pointerPosition().x, host.pointerPosition().y}; };
    auto frame = [&](float elapsed) {
        EXPECT_TRUE(host.update(elapsed));
        std::size_t calls = host.calls.size(), painted = host.painted.size();
        EXPECT_TRUE(host.paint());
        return glyphsSince(host, calls, painted);
    };
    // Shown, the manager puts the pointer on the first button: "Start" is
    // yellow and settled; the others are white.
    EXPECT_EQ(pointer(), (Floats{50, 15}));
    frame(1.0f);
    auto shown = frame(0.0f);
    ASSERT_EQ(shown.size(), 16u);  // Start, Options, Quit
    EXPECT_EQ(shown[0].character, 'S');
    EXPECT_EQ(shown[0].topLeft, (Floats{1, 6}));
    EXPECT_EQ(shown[0].color, (Floats{1, 1, 0, 1}));
    EXPECT_EQ(shown[5].color, (Floats{1, 1, 1, 1}));

    // Downwards: "Options" takes the focus; its level rises at 3 a second, so
    // it slides in from 30 to the left over a third of a second.
    host.buttonPress(Button::Downwards, 1, 1);
    const struct {
        float elapsed, optionsX;
    } slide[] = {{0.0f, -29}, {0.1f, -20}, {0.1f, -11}, {0.2f, 1}};
    for (const auto& step : slide) {
        SCOPED_TRACE(step.optionsX);
        auto glyphs = frame(step.elapsed);
        EXPECT_EQ(pointer(), (Floats{50, 55}));
        EXPECT_EQ(glyphs[5].character, 'O');
        EXPECT_NEAR(glyphs[5].topLeft[0], step.optionsX, 1e-4);
        EXPECT_EQ(glyphs[5].topLeft[1], 46);
        EXPECT_EQ(glyphs[5].color, (Floats{1, 1, 0, 1}));
        EXPECT_EQ(glyphs[0].color, (Floats{1, 1, 1, 1}));
    }

    // Select on "Options": the path shows the options screen over half a
    // second; the name field and the slider are its only glyph and picture.
    host.buttonPress(Button::Select, 1, 1);
    host.buttonRelease(Button::Select, 1);
    frame(0.0f);
    frame(0.6f);
    auto options = frame(0.0f);
    ASSERT_EQ(options.size(), 2u);
    EXPECT_EQ(options[0].character, 'A');

    // Typing into the field: Select starts editing (and locks the focus),
    // Rightwards twice goes to the end, characters go in up to the cap of 4,
    // Select ends editing.
    host.pointerMove(10.0f, 10.0f);
    frame(0.0f);
    host.buttonPress(Button::Select, 1, 1);
    host.buttonPress(Button::Rightwards, 1, 1);
    host.buttonPress(Button::Rightwards, 1, 1);
    for (int c : {'e', 'x', 'y'})
        host.unicodePress(c, 1, 1);
    frame(0.0f);
    EXPECT_EQ(host.focusLockCount(), 1);
    host.buttonPress(Button::Select, 1, 1);
    host.buttonRelease(Button::Select, 1);
    frame(0.0f);
    EXPECT_EQ(host.focusLockCount(), 0);
    Data* name = static_cast<Data*>(host.findNamedObject("Name"));
    ASSERT_NE(name, nullptr);
    char typed[16] = {};
    name->stringCopy(host, typed, sizeof(typed));
    EXPECT_STREQ(typed, "Alex");

    // The slider (110 wide, 0 to 10, one visible): the value 5 puts the
    // 11-wide cursor at 49.5. Select on it and a move to the right end
    // write 10; the release lets the focus go.
    Data* volume = static_cast<Data*>(host.findNamedObject("Volume"));
    ASSERT_NE(volume, nullptr);
    host.pointerMove(55.0f, 45.0f);
    frame(0.0f);
    host.buttonPress(Button::Select, 1, 1);
    frame(0.0f);
    host.pointerMove(104.5f, 45.0f);
    frame(0.0f);
    EXPECT_EQ(volume->value(host), 10.0f);
    host.buttonRelease(Button::Select, 1);
    frame(0.0f);
    EXPECT_EQ(host.focusLockCount(), 0);
    EXPECT_EQ(volume->value(host), 10.0f);

    // Cancel: back to the title, where the manager puts the pointer on the
    // button it remembered when the title was hidden.
    host.buttonPress(Button::Cancel, 1, 1);
    frame(0.0f);
    EXPECT_EQ(pointer(), (Floats{50, 55}));
    auto back = frame(1.0f);
    ASSERT_EQ(back.size(), 16u);
    EXPECT_EQ(back[5].color, (Floats{1, 1, 0, 1}));
    EXPECT_EQ(host.log.text, loaded);
}

}  // namespace
}  // namespace kova_test
