#include "PictureQuad.h"
#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(PictureUVNode, Node)

// As PictureNode, with the texture coordinates of the chosen part passed on
// unchanged; a part of size 0 still sends them.
void PictureUVNode::onPaint(System& system, Mode&, Rectangle& rect, Rectangle* clip,
                            EffectPipe& pipe) {
    PaintData data;
    pictureQuad(data, rect, clip);
    const float right = uv_.x + size_.x;
    const float bottom = uv_.y + size_.y;
    const float us[4] = {uv_.x, right, right, uv_.x};
    const float vs[4] = {uv_.y, uv_.y, bottom, bottom};
    for (int i = 0; i < 4; ++i) {
        data.vertex[i].u = us[i];
        data.vertex[i].v = vs[i];
    }
    data.hasUV = true;
    pipe.picturePaint(system, picture_, data);
}

bool PictureUVNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) && stream.streamPicture(system, picture_, "Picture") &&
           uv_.stream(stream, "U", "V") && size_.stream(stream, "Width", "Height");
}

}  // namespace kova
}  // namespace tarn
