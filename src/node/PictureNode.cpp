#include "PictureQuad.h"
#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(PictureNode, Node)

// Handle 0 is painted like any other: whether it means "no picture" is the
// host's choice. A refused picture leaves nothing to stop, so the pipe's
// answer is not needed.
void PictureNode::onPaint(System& system, Mode&, Rectangle& rect, Rectangle* clip,
                          EffectPipe& pipe) {
    PaintData data;
    pictureQuad(data, rect, clip);
    pipe.picturePaint(system, picture_, data);
}

bool PictureNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) && stream.streamPicture(system, picture_, "Picture");
}

}  // namespace kova
}  // namespace tarn
