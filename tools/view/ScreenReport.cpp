#include "ScreenReport.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "NamedObjects.h"
#include "PathCarrier.h"

namespace tarn {
namespace kova {
namespace view {

namespace {

// Walks the focused path as the engine's input does and keeps the deepest
// tab stop that the pointer is over.
class FocusProbe : public Iterator {
public:
    FocusProbe() : Iterator(SearchFocused) {}

    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override {
        if (!node || !mode.hasFocus()) return;
        const Coordinate2& at = system.pointerPosition();
        if (TabstopNode::isTabstop(node) && at.x >= rect.x && at.x < rect.x + rect.width &&
            at.y >= rect.y && at.y < rect.y + rect.height) {
            found = node;
            area = rect;
        }
        node->iterateIterator(system, mode, rect, *this);
    }

    Node* found = nullptr;
    Rectangle area;
};

std::string format(const char* pattern, double a, double b = 0.0, double c = 0.0, double d = 0.0) {
    char text[160];
    std::snprintf(text, sizeof(text), pattern, a, b, c, d);
    return text;
}

// Breaks a line into pieces of at most columns characters (UTF-8 sequences
// count as one), later pieces indented by two spaces.
void addWrapped(std::vector<std::string>& lines, const std::string& line, int columns) {
    std::string piece;
    int used = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        bool starts = (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
        if (starts && used >= columns && columns > 2) {
            lines.push_back(piece);
            piece = "  ";
            used = 2;
        }
        piece += line[i];
        used += starts;
    }
    lines.push_back(piece);
}

}  // namespace

std::vector<std::string> ScreenReport::lines(System& system, const FrameTimes& times,
                                             const std::string& error, const ViewLog& log,
                                             int columns) {
    std::vector<std::string> lines;
    addWrapped(lines,
               format("frame %.2f ms  update %.3f ms  paint %.3f ms", times.frame, times.update,
                      times.paint),
               columns);
    int nodes = 0;
    for (RuntimeClass* c = RuntimeClass::firstClass(Node::absoluteClass()); c;
         c = c->nextClass(Node::absoluteClass())) {
        nodes += c->classInstanceCount();
    }
    addWrapped(lines,
               "nodes " + std::to_string(nodes) + "  objects " +
                   std::to_string(RuntimeClass::totalClassInstanceCount()),
               columns);
    for (const NamedObject& named : namedObjects(system)) {
        if (!named.object->actualClass()->is(PathNode::absoluteClass())) continue;
        std::string path = "path " + named.fullName + ":";
        std::vector<std::string> screens =
            PathCarrier::screens(system, static_cast<PathNode&>(*named.object));
        for (std::size_t i = 0; i < screens.size(); ++i)
            path += (i == 0 ? " " : " > ") + screens[i];
        addWrapped(lines, screens.empty() ? path + " (empty)" : path, columns);
    }
    const Coordinate2& pointer = system.pointerPosition();
    addWrapped(lines,
               "focus " + focus(system) + format("  pointer %.0f,%.0f", pointer.x, pointer.y),
               columns);
    addWrapped(lines, "classes " + classCounts(), columns);
    if (!error.empty()) addWrapped(lines, "error " + error, columns);
    const auto& logLines = log.lines();
    std::size_t first = logLines.size() > kLogLines ? logLines.size() - kLogLines : 0;
    for (std::size_t i = first; i < logLines.size(); ++i)
        addWrapped(lines, logLines[i], columns);
    return lines;
}

std::string ScreenReport::focus(System& system) {
    FocusProbe probe;
    if (system.firstNode()) {
        probe.iterate(system, system.firstNode(), system.clipRect(), system.mode());
    }
    if (!probe.found) return "none";
    const Rectangle& r = probe.area;
    return std::string(probe.found->actualClass()->name()) +
           format(" at %.0f,%.0f %.0fx%.0f", r.x, r.y, r.width, r.height);
}

std::string ScreenReport::classCounts() {
    std::vector<std::pair<int, std::string>> counts;
    for (RuntimeClass* c = RuntimeClass::firstClass(nullptr); c; c = c->nextClass(nullptr)) {
        if (c->classInstanceCount() != 0) counts.emplace_back(-c->classInstanceCount(), c->name());
    }
    std::sort(counts.begin(), counts.end());
    std::string text;
    for (std::size_t i = 0; i < counts.size() && i < kClasses; ++i)
        text += (i == 0 ? "" : "  ") + counts[i].second + " " + std::to_string(-counts[i].first);
    if (counts.size() > kClasses) {
        text += "  and " + std::to_string(counts.size() - kClasses) + " more classes";
    }
    return text.empty() ? "none" : text;
}

}  // namespace view
}  // namespace kova
}  // namespace tarn
