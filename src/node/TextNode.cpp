#include "kova/data.h"
#include "kova/node.h"
#include "kova/stream.h"
#include "kova/style.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(TextNode, Node)

// Without a text the style is not even looked at; Style::paint stands in
// the system style for a missing one.
void TextNode::onPaint(System& system, Mode&, Rectangle& rect, Rectangle* clip, EffectPipe& pipe) {
    if (!string_) return;
    Style::paint(system, style_, rect, clip, pipe, string_, 0);
}

bool TextNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) &&
           stream.streamData(system, string_, "String", nullptr) &&
           stream.streamStyle(system, style_, "Style", nullptr);
}

}  // namespace kova
}  // namespace tarn
