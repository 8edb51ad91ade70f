// The widget nodes: a text field edited from a keyboard or a pad, a slider
// dragged with the pointer, and the breadcrumb of a navigation tree. The
// glyph host's glyphs advance 10 ('W' 16), lines are 16 + font high and
// glyphs 12 + font high with the base line 10 below their top.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

using Lines = std::vector<std::string>;

// Lists what reaches it: glyphs as "c x,y x,y zZ" (top left and bottom right
// corners), pictures as "#N ...", yellow ones with a "*". The summary holds
// the glyphs' characters, yellow runs in brackets, and "|x" for a picture.
class WidgetHost : public GlyphHost {
public:
    bool charPaint(int character, int font, PaintData& data) override {
        return note(std::string(1, static_cast<char>(character)), data) &&
               GlyphHost::charPaint(character, font, data);
    }
    bool picturePaint(int picture, PaintData& data) override {
        return note("#" + std::to_string(picture), data);
    }
    bool note(const std::string& head, const PaintData& d) {
        bool yellow = true;
        for (const Vertex& v : d.vertex)
            yellow = yellow && Floats{v.red, v.green, v.blue, v.alpha} == Floats{1, 1, 0, 1};
        char text[96];
        std::snprintf(text, sizeof(text), " %g,%g %g,%g z%g%s", d.vertex[0].x, d.vertex[0].y,
                      d.vertex[2].x, d.vertex[2].y, d.vertex[0].z, yellow ? " *" : "");
        records.push_back(head + text);
        if (head[0] == '#') return summary += "|" + std::to_string(int(d.vertex[0].x)), true;
        if (yellow != yellowRun) summary += yellow ? "[" : "]";
        yellowRun = yellow;
        return summary += head, true;
    }
    Lines records;
    std::string summary;
    bool yellowRun = false;
};

class WidgetTest : public HostTest<WidgetHost> {
protected:
    Lines painted() {
        Lines out;
        out.swap(host.records);
        host.summary.clear();
        host.yellowRun = false;
        return out;
    }
    SliderNode* slider(Node*& slot, float minimum, float maximum, float visible, float value) {
        SliderNode* node = make<SliderNode>(slot);
        make<FloatData>(node->data())->set(host, value);
        node->minimumValue() = minimum;
        node->maximumValue() = maximum;
        node->numberVisible() = visible;
        return node;
    }
    EffectPipe pipe;
};

// Inputs: '<' '>' '^' '_' press Left, Right, Up, Down; '#' Delete; '~'
// Backspace; '!' Select; '?' Right from input index 0; '*' the host empties
// the text; '\x01' types 0x100 and '\x02' 0x141; any other character is typed.
// Every run starts with the Select that switches editing on. The field is 35
// wide from x 100 (three characters fit) and shows the painted characters
// and where the cursor bar stands.
TEST_F(WidgetTest, EditingSequencesChangeTheTextAndTheCursor) {
    // clang-format off
    struct Case { const char *start, *inputs, *text; int maxCharacters, cursor; const char* shown; } cases[] = {
        {"", "abcd", "abcd", -1, 4, "bcd|130"}, {"", "abcde<<<<", "abcde", -1, 1, "bcde|100"},  // scrolled to the cursor
        {"", "aWb", "aWb", -1, 3, "Wb|126"}, {"abc", ">#", "ac", -1, 1, "ac|110"}, {"abc", ">>~", "ac", -1, 1, "ac|110"},
        {"abc", "~<", "abc", -1, 0, "abc|100"}, {"abc", ">>>>#", "abc", -1, 3, "abc|130"}, {"", "_", "A", -1, 0, "A|100"},
        {"", "^", "z", -1, 0, "z|100"}, {" z", "^>_", "z ", -1, 1, "z |110"},
        {"ab", "x!y>", "xab", -1, 1, "xab"},  // input after editing ends is ignored
        {"ab", "xyz", "xab", 3, 1, "xab|110"}, {"ab", ">>_^", "ab", 2, 2, "ab|120"},  // the cap holds for Up and Down too
        {"ab", "x>>_", "ab", 0, 2, "ab|120"}, {"abcd", "#>~", "cd", 2, 0, "cd|100"},  // a text above the cap may shrink
        {"abc", ">>>*x", "x", -1, 1, "x|110"}, {"ab", "?\x02\x01", "Aab", -1, 1, "Aab|110"}};
    // clang-format on
    const std::string buttons = "@!@@@<^>_@@@@@#~";  // each key at its button's number
    TransformNode* field = make<TransformNode>(host.firstNode());
    field->position() = Coordinate2{420.0f, 290.0f};
    field->size() = Coordinate2{35.0f, 30.0f};
    host.pointerMove(110.0f, 60.0f);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " / " + c.inputs);
        EditNode* edit = make<EditNode>(field->transformedNode());
        edit->font() = 2;
        Data* text = make<StringData>(edit->string());
        text->set(host, c.start);
        edit->maxCharacters() = c.maxCharacters;
        host.update(0.0f);  // the field's region takes the focus
        host.buttonPress(Button::Select, 1, 1);
        for (const char* p = c.inputs; *p; ++p) {
            host.update(0.0f);
            if (buttons.find(*p) != std::string::npos) host.buttonPress(buttons.find(*p), 1, 1);
            if (*p == '?') host.buttonPress(Button::Rightwards, 0, 1);
            if (*p == '*') text->set(host, "");
            if (std::string("<>^_#~!?*").find(*p) == std::string::npos)
                host.unicodePress(*p == 1 ? 0x100 : *p == 2 ? 0x141 : *p, 1, 1);
        }
        host.update(0.0f);
        edit->onUpdate(host, host.mode(), host.clipRect(), -edit->blink());  // the bar shows
        painted();
        host.paint();
        char now[64];
        text->stringCopy(host, now, sizeof(now));
        bool editing = std::string(c.inputs).find('!') == std::string::npos;
        EXPECT_EQ(now + (" " + std::to_string(edit->cursor())) + " " + host.summary,
                  c.text + (" " + std::to_string(c.cursor)) + " " + c.shown);
        EXPECT_EQ(host.focusLockCount(), editing ? 1 : 0);
        EXPECT_TRUE(Node::clear(host, field->transformedNode()));  // gives the lock back
        EXPECT_EQ(host.focusLockCount(), 0);
    }
}

// Font 2 in a field 35 wide from x 100. Select switches editing on even
// before there is a text; the cursor bar shows for 0.4 s and hides for 0.4 s.
TEST_F(WidgetTest, EditFieldPaintsItsGlyphsAndBlinksTheCursor) {
    Node* root = nullptr;
    EditNode* edit = make<EditNode>(root);
    edit->font() = 2;
    Rectangle area{100.0f, 50.0f, 35.0f, 30.0f, 4.0f};
    Mode mode;
    EXPECT_FALSE(edit->onButtonPress(host, area, mode, Button::Select, 1, 1));  // on, with no text
    make<StringData>(edit->string())->set(host, "aW");
    EXPECT_TRUE(edit->onButtonPress(host, area, mode, Button::Downwards, 1, 1));
    // clang-format off
    const std::pair<float, const char*> blinks[] = {
        {0.0f, "bW"}, {0.4f, "bW|100"}, {0.375f, "bW|100"}, {0.05f, "bW"}, {0.375f, "bW"}, {0.05f, "bW|100"}};
    // clang-format on
    for (const auto& b : blinks) {
        edit->onUpdate(host, mode, area, b.first);
        painted();
        edit->onPaint(host, mode, area, nullptr, pipe);
        EXPECT_EQ(host.summary, b.second) << edit->blink();
    }
    EXPECT_EQ(painted(),
              (Lines{"b 101,58 109,72 z4", "W 111,58 125,72 z4", "#0 100,50 102,68 z4"}));
    EXPECT_FALSE(edit->onButtonPress(host, area, mode, Button::Select, 1, 1));  // ends editing
    EXPECT_TRUE(Node::clear(host, root));
}

// A track 100 wide from x -50. The press is made at a distance from the
// track's left edge and pages the cursor towards the pointer.
TEST_F(WidgetTest, SliderCursorFollowsTheValueAndAPressWritesIt) {
    Rectangle area{-50.0f, 10.0f, 100.0f, 20.0f, 3.0f};
    // clang-format off
    struct Case { float minimum, maximum, visible, value; const char* cursor; float press, written; } cases[] = {
        {0, 10, 2, 5, "-10,10 10,30", 10, 0}, {0, 10, 2, 5, "-10,10 10,30", 95, 10},  // 20 wide, 8 per unit; paging stops at the right end
        {0, 10, 2, 4.5f, "-14,10 6,30", 5, 0},  // paging stops at the left end
        {0, 10, 2, 15, "70,10 90,30", 50, 5},   // a value out of range is shown as it is
        {10, 0, 2, 5, "-10,10 10,30", 10, 10}, {10, 0, 2, 2, "14,10 34,30", 95, 0},  // reversed: the left end is the minimum
        {3, 3, 2, 7, "-50,10 50,30", 10, 7},  // no range: the whole track, nothing written
        {0, 10, 0, 5, "0,10 0,30", 10, 5}, {0, 10, 10, 5, "-50,10 50,30", 10, 5},  // the cursor fills the track
        {0, 10, 1e-30f, 9, "40,10 40,30", 10, 1},  // a hair-thin cursor pages at once
        {NAN, INFINITY, -1, 9, "-50,10 nan,30", 10, 9}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        Node* root = nullptr;
        SliderNode* s = slider(root, c.minimum, c.maximum, c.visible, c.value);
        make<PictureNode>(s->cursorNode());
        Mode idle;
        EXPECT_TRUE(s->iterateUpdate(host, idle, area, 0.0f));
        s->iteratePaint(host, idle, area, nullptr, pipe);
        EXPECT_EQ(painted(), Lines{std::string("#0 ") + c.cursor + " z3"});
        Mode mode(2.0f, 2.0f, true);
        mode.setFocus(host, true);
        host.pointerPosition().x = area.x + c.press;
        EXPECT_TRUE(s->onButtonPress(host, area, mode, Button::Select, 0, 1));
        EXPECT_EQ((Floats{s->data()->value(host), 1.0f * host.focusLockCount()}),
                  (Floats{c.written, 1.0f}));
        // A release after a press that another node took leaves the lock alone.
        EXPECT_FALSE(s->onButtonRelease(host, area, mode, Button::Select, 0) ||
                     s->onButtonReleaseOutside(host, area, mode, Button::Select, 0));
        EXPECT_EQ(host.focusLockCount(), 0);
        EXPECT_TRUE(Node::clear(host, root));
    }
}

// The first slider of the table above on a track from x -300, reached through
// a transform and the host's input.
TEST_F(WidgetTest, SliderIsDraggedWithSelectAndThePointer) {
    TransformNode* region = make<TransformNode>(host.firstNode());
    region->position() = Coordinate2{20.0f, 40.0f};
    region->size() = Coordinate2{100.0f, 20.0f};
    SliderNode* s = slider(region->transformedNode(), 0.0f, 10.0f, 2.0f, 1.0f);
    make<PictureNode>(s->nextNode(1))->pictureHandle() = 9;  // slot 1 is the cursor
    // clang-format off
    // press: 1 press Select, 2 a repeated press, -1 release, 0 none.
    struct Step { float pointer; int press; float value, cursor; bool dragging; } steps[] = {
        {18, 0, 1, 8, false}, {18, 1, 1, 8, true}, {50, 0, 5, 40, true}, {500, 0, 10, 80, true},
        {-100, 0, 0, 0, true}, {-100, -1, 0, 0, false}, {70, 0, 0, 0, false}, {70, 1, 7.5f, 60, true},
        {70, -1, 7.5f, 60, false}, {30, 1, 2.5f, 20, true}, {30, -1, 2.5f, 20, false}, {10, 2, 2.5f, 20, false}};
    // clang-format on
    for (const Step& step : steps) {
        SCOPED_TRACE(&step - steps);
        host.pointerMove(-300.0f + step.pointer, -190.0f);
        if (step.press > 0) host.buttonPress(Button::Select, 0, step.press);
        if (step.press < 0) host.buttonRelease(Button::Select, 0);
        EXPECT_TRUE(host.update(0.0f));
        EXPECT_EQ(
            (Floats{s->data()->value(host), s->cursorPosition(), 1.0f * host.focusLockCount()}),
            (Floats{step.value, step.cursor, step.dragging ? 1.0f : 0.0f}));
    }
    s->data()->set(host, 10.0f);  // idle, the cursor follows the variable
    EXPECT_TRUE(host.update(0.0f));
    EXPECT_TRUE(host.paint());
    EXPECT_EQ(painted(), Lines{"#9 -220,-200 -200,-180 z0"});

    host.buttonPress(Button::Select, 0, 1);  // a slider cleared in mid-drag unlocks the focus
    EXPECT_TRUE(host.update(0.0f));
    EXPECT_EQ(host.focusLockCount(), 1);
    EXPECT_TRUE(Node::clear(host, host.firstNode()));
    EXPECT_EQ(host.focusLockCount(), 0);
}

// Font 1; each line is centred in an area 400 wide from x -100.
TEST_F(WidgetTest, NavigateViewPaintsTheBreadcrumbWithItsCursor) {
    Node* root = nullptr;
    NavigateViewNode* view = make<NavigateViewNode>(root);
    view->font() = 1;
    Rectangle area{-100.0f, 50.0f, 400.0f, 30.0f, 2.0f};
    NavigateTree* tree = make<NavigateTree>();
    view->tree() = tree;
    std::vector<Data*> texts;
    for (int parent = 0, i = 0; i < 3; ++i) {
        parent = tree->insertChildItemLast(host, parent);
        texts.push_back(make<StringData>(tree->navigateTreeObject(parent)->description()));
        texts.back()->set(host, i == 0 ? "File" : i == 1 ? "Open" : "Recent");
    }
    // clang-format off
    struct Case { int step; std::string shown, first, last; } cases[] = {
        {0, "[File] - Open - Recent|0", "F 1,57 9,70 z2 *", "#0 0,68 40,69 z2 *"},
        {1, "File - [Open] - Recent|70", "F 1,57 9,70 z2", "#0 70,68 110,69 z2 *"},
        // An empty description brings no separator and nothing to highlight.
        {2, "File - Recent", "F 36,57 44,70 z2", "t 156,57 164,70 z2"},
        // After a line feed the text goes on one line lower, centred again.
        {3, "File - [Open] - Recent|125", "F 56,57 64,70 z2", "#0 125,68 165,69 z2 *"},
        {4, std::string(511, 'a'), "a -2454,57 -2446,70 z2", "a 2646,57 2654,70 z2"}};
    // clang-format on
    for (const Case& c : cases) {
        if (c.step == 1) tree->moveFocusIn();
        if (c.step == 2) texts[1]->set(host, "");
        if (c.step == 3) texts[1]->set(host, "Op\nen");
        if (c.step == 4) texts[0]->set(host, std::string(600, 'a').c_str());  // cut at 511
        view->onPaint(host, host.mode(), area, nullptr, pipe);
        std::string shown = host.summary;
        Lines records = painted();
        EXPECT_EQ((Lines{shown, records.front(), records.back()}),
                  (Lines{c.shown, c.first, c.last}));
    }
    // The shown item follows the cursor, except while the screen hides.
    Mode& mode = host.mode();
    EXPECT_FALSE(view->onPreHide(host, area, mode) || !view->onUpdate(host, mode, area, 0.0f));
    tree->moveFocusOut();
    EXPECT_FALSE(view->onPostHide(host, area, mode));
    int hidden = view->shownItem();
    EXPECT_TRUE(view->onUpdate(host, mode, area, 0.0f));
    EXPECT_EQ((std::vector<int>{hidden, view->shownItem()}), (std::vector<int>{0, tree->root()}));
    EXPECT_TRUE(Node::clear(host, root));  // the tree goes with the view
}

}  // namespace
}  // namespace kova_test
