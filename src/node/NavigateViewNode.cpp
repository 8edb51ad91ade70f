#include "PictureQuad.h"
#include "kova/container.h"
#include "kova/node.h"
#include "kova/stream.h"
#include "kova/style.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(NavigateViewNode, Node)

namespace {

const int BreadcrumbSize = 512;  // bytes, the terminator included
const char Separator[] = " - ";
const char LineFeed = 10;
const char CarriageReturn = 13;

// The breadcrumb of a navigation tree: the descriptions of the current items
// from the top level down, and the part that names the cursor's item.
class Breadcrumb {
public:
    Breadcrumb(System& system, NavigateTree& tree) {
        text[0] = 0;
        int cursor = tree.focusHandle();
        int top = cursor;
        while (tree.parent(top))
            top = tree.parent(top);
        for (int item = top; item && length < BreadcrumbSize - 1; item = tree.child(item)) {
            int start = length;
            length += clampCopied(tree.copyDescription(system, item, text + length, room()));
            if (item == cursor) {
                highlightStart = start;
                highlightEnd = length - 1;
            }
            if (length > start && tree.child(item)) append(Separator);
        }
        text[length] = 0;
    }

    bool highlighted(int index) const { return index >= highlightStart && index <= highlightEnd; }

    char text[BreadcrumbSize];
    int length = 0;
    int highlightStart = 0;
    int highlightEnd = -1;  // an empty range: nothing is highlighted

private:
    int room() const { return BreadcrumbSize - length; }
    // A copy that filled the room reports the room's size but keeps its last
    // byte for the terminator; a host's tree may report anything at all.
    int clampCopied(int copied) const {
        if (copied < 0) return 0;
        return copied < room() ? copied : room() - 1;
    }
    void append(const char* part) {
        for (; *part && length < BreadcrumbSize - 1; ++part)
            text[length++] = *part;
        text[length] = 0;
    }
};

float advanceOf(const CharacterMetrics& m) {
    return (m.width + m.after) + m.before;
}

// The width of the line that starts at from, up to a line feed or the end;
// carriage returns take no room.
float lineWidth(System& system, int font, const char* from) {
    float width = 0.0f;
    for (; *from && *from != LineFeed; ++from) {
        if (*from == CarriageReturn) continue;
        CharacterMetrics m;
        system.charMetrics(static_cast<signed char>(*from), font, m);
        width += advanceOf(m);
    }
    return width;
}

void paintYellow(PaintData& data) {
    for (Vertex& v : data.vertex) {
        v.red = 1.0f;
        v.green = 1.0f;
        v.blue = 0.0f;
        v.alpha = 1.0f;
    }
}

}  // namespace

// A file may put a plain tree into the field; it has no cursor to show.
NavigateTree* NavigateViewNode::navigateTree() {
    if (!tree_ || !tree_->actualClass()->is(NavigateTree::absoluteClass())) return nullptr;
    return static_cast<NavigateTree*>(tree_);
}

// The shown item is kept for hosts and tools that want to know what the
// screen showed before it started to hide. Painting follows the tree's live
// cursor, so the breadcrumb never names an item that has been removed since.
bool NavigateViewNode::onUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    if (!Node::onUpdate(system, mode, rect, elapsed)) return false;
    NavigateTree* tree = navigateTree();
    if (tree && !hiding_) shownItem_ = tree->focusHandle();
    return true;
}

bool NavigateViewNode::onPreHide(System&, Rectangle&, Mode&) {
    hiding_ = true;
    return false;
}

bool NavigateViewNode::onPostHide(System&, Rectangle&, Mode&) {
    hiding_ = false;
    return false;
}

// Each line is centred in the area on its own. A description with a line
// feed continues one line height further down; the underline goes under the
// line where the highlighted part starts
// and is as wide as its characters' advances. Characters are passed on as signed
// values, as every narrow text is painted.
void NavigateViewNode::onPaint(System& system, Mode&, Rectangle& rect, Rectangle* clip,
                               EffectPipe& pipe) {
    NavigateTree* tree = navigateTree();
    if (!tree) return;
    Breadcrumb crumb(system, *tree);
    const float lineHeight = system.fontHeight(font_);
    float base = rect.y + lineHeight;
    float x = rect.x + (rect.width - lineWidth(system, font_, crumb.text)) * 0.5f;
    bool underlining = false;
    float underlineX = 0.0f;
    float underlineY = 0.0f;
    float underlineWidth = 0.0f;
    for (int i = 0; i < crumb.length; ++i) {
        int character = static_cast<signed char>(crumb.text[i]);
        if (character == CarriageReturn) continue;
        if (character == LineFeed) {
            base += lineHeight;
            x = rect.x + (rect.width - lineWidth(system, font_, crumb.text + i + 1)) * 0.5f;
            continue;
        }
        CharacterMetrics m;
        system.charMetrics(character, font_, m);
        PaintData data;
        pictureQuad(data, Rectangle{x + m.before, base - m.ascent, m.width, m.height, rect.z},
                    clip);
        if (crumb.highlighted(i)) {
            paintYellow(data);
            if (!underlining) {
                underlining = true;
                underlineX = x;
                underlineY = base + 1.0f;
            }
            underlineWidth += advanceOf(m);
        }
        if (!pipe.charPaint(system, character, font_, i, data)) return;
        x += advanceOf(m);
    }
    if (underlineWidth == 0.0f) return;
    PaintData data;
    pictureQuad(data, Rectangle{underlineX, underlineY, underlineWidth, 1.0f, rect.z}, clip);
    paintYellow(data);
    pipe.picturePaint(system, 0, data);
}

bool NavigateViewNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) &&
           stream.streamTree(system, tree_, "Navigate tree", NavigateTree::absoluteClass()) &&
           stream.streamFont(system, font_, "Font");
}

}  // namespace kova
}  // namespace tarn
