#include "scene.h"

#include <vector>

namespace kova_scene {

bool SceneHost::picturePaint(int picture, PaintData& data) {
    ++quads;
    checksum += data.vertex[2].x - data.vertex[0].x + static_cast<float>(picture);
    return true;
}

bool SceneHost::charPaint(int character, int, PaintData& data) {
    ++glyphs;
    checksum += data.vertex[0].x + static_cast<float>(character);
    return true;
}

bool SceneHost::charMetrics(int, int, CharacterMetrics& m) {
    m.before = 1.0f;
    m.width = 8.0f;
    m.after = 1.0f;
    m.height = 12.0f;
    m.ascent = 10.0f;
    return true;
}

int SceneHost::pictureHandle(const char* name) {
    return name && *name ? 1 : 0;
}

const char* SceneHost::pictureName(int handle) {
    return handle ? "tile" : nullptr;
}

void PictureLeaf::onPaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                          EffectPipe& pipe) {
    PaintData data;
    data.clipRect = clip;
    float left = rect.x + area.x;
    float top = rect.y + area.y;
    float xs[4] = {left, left + area.width, left + area.width, left};
    float ys[4] = {top, top, top + area.height, top + area.height};
    for (int i = 0; i < 4; ++i) {
        data.vertex[i].x = xs[i];
        data.vertex[i].y = ys[i];
        data.vertex[i].z = rect.z;
        data.vertex[i].alpha = mode.currentLevel() > 0.0f ? 1.0f : 0.5f;
    }
    pipe.picturePaint(system, picture, data);
}

bool PictureLeaf::onButtonPress(System& system, Rectangle&, Mode&, int, int, int) {
    if (auto* scene = dynamic_cast<SceneHost*>(&system)) ++scene->presses;
    return false;
}

bool PictureLeaf::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) && stream.streamPicture(system, picture, "Picture") &&
           area.stream(stream);
}

void RegionNode::iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) {
    iterator.iterateChild(system, child, area, own);
    Node::iterateIterator(system, mode, rect, iterator);
}

bool RegionNode::iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    Coordinate2& at = system.pointerPosition();
    bool inside = mode.isInside() && at.x >= area.x && at.x <= area.x + area.width &&
                  at.y >= area.y && at.y <= area.y + area.height;
    own.update(system, this, child, area, elapsed, inside, mode.targetLevel() >= 1.0f);
    if (child && !child->iterateUpdate(system, own, area, elapsed)) return false;
    return Node::iterateUpdate(system, mode, rect, elapsed);
}

void RegionNode::iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                              EffectPipe& pipe) {
    if (child) child->iteratePaint(system, own, area, clip, pipe);
    Node::iteratePaint(system, mode, rect, clip, pipe);
}

bool RegionNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) &&
           stream.streamChildNode(system, child, "Child", nullptr) && area.stream(stream);
}

ScreenNode::~ScreenNode() {
    Memory::stringDelete(name_);
}

bool ScreenNode::setName(const char* name) {
    char* copy = Memory::stringDuplicate(name);
    if (name && !copy) return false;
    Memory::stringDelete(name_);
    name_ = copy;
    return true;
}

bool fillScene(System& system, RegionNode* root, int count) {
    const int fanout = 8;
    std::vector<Node*> nodes{root};
    std::vector<Node*> lastChild{nullptr};
    for (int k = 1; k < count; ++k) {
        int parentIndex = (k - 1) / fanout;
        auto* parent = static_cast<RegionNode*>(nodes[static_cast<std::size_t>(parentIndex)]);
        Node* last = lastChild[static_cast<std::size_t>(parentIndex)];
        Node*& slot = last ? last->nextNode(0) : parent->child;
        bool region = fanout * k + 1 < count;
        RuntimeClass* cls = region ? RegionNode::absoluteClass() : PictureLeaf::absoluteClass();
        if (!Node::create(system, slot, cls)) return false;
        if (!region) {
            auto* leaf = static_cast<PictureLeaf*>(slot);
            leaf->area.x = static_cast<float>((k % fanout) * 40 - 160);
            leaf->area.y = static_cast<float>((k / fanout % 8) * 40 - 160);
        }
        lastChild[static_cast<std::size_t>(parentIndex)] = slot;
        nodes.push_back(slot);
        lastChild.push_back(nullptr);
    }
    return true;
}

void sendFrameInput(System& system, int frame) {
    float offset = static_cast<float>(frame % 16);
    system.pointerMove(10.0f + offset, 20.0f - offset);
    system.buttonPress(Button::Select, 0, 1);
    system.buttonRelease(Button::Select, 0);
    system.unicodePress('a' + frame % 26, 0, 1);
    system.unicodeRelease('a' + frame % 26, 0);
}

KOVA_IMPLEMENT_CLASS_NAMED(PictureLeaf, "kova_scene::PictureLeaf", &Node::absoluteClass)
KOVA_IMPLEMENT_CLASS_NAMED(RegionNode, "kova_scene::RegionNode", &Node::absoluteClass)
KOVA_IMPLEMENT_CLASS_NAMED(ScreenNode, "kova_scene::ScreenNode", &RegionNode::absoluteClass)

}  // namespace kova_scene
