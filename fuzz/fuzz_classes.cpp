#include "fuzz_support.h"

#include <cstring>

namespace kova_fuzz {

int LogCheck::writeBuffer(const void* data, int size) {
    const char* text = static_cast<const char*>(data);
    if (size < 8 || std::memcmp(text, "Kova: ", 6) != 0 ||
        (size < 1023 && std::memcmp(text + size - 2, "\r\n", 2) != 0)) {
        std::fprintf(stderr, "malformed log line: %.*s\n", size, text);
        std::abort();
    }
    if (verbose_) std::fwrite(text, 1, static_cast<std::size_t>(size), stderr);
    return size;
}

int FuzzHost::handleOf(const char* name) {
    for (std::size_t i = 0; i < resources_.size(); ++i) {
        if (resources_[i] == name) return static_cast<int>(i) + 1;
    }
    resources_.push_back(name);
    return static_cast<int>(resources_.size());
}

const char* FuzzHost::nameOf(int handle) {
    if (handle < 1 || handle > static_cast<int>(resources_.size())) return nullptr;
    return resources_[static_cast<std::size_t>(handle) - 1].c_str();
}

FieldNode::~FieldNode() {
    Memory::stringDelete(name_);
    Memory::stringDelete(stringField);
    Memory::wstringDelete(wstringField);
}

bool FieldNode::setName(const char* name) {
    char* copy = Memory::stringDuplicate(name);
    if (name && !copy) return false;
    Memory::stringDelete(name_);
    name_ = copy;
    return true;
}

bool FieldNode::streamNumbers(Stream& stream) {
    return stream.streamUbyte(ubyteField, "Ubyte") && stream.streamSbyte(sbyteField, "Sbyte") &&
           stream.streamUshort(ushortField, "Ushort") &&
           stream.streamSshort(sshortField, "Sshort") && stream.streamUlong(ulongField, "Ulong") &&
           stream.streamSlong(slongField, "Slong") && stream.streamFloat(floatField, "Float") &&
           stream.streamBool(boolField, "Bool") && stream.streamInt(intField, "Int") &&
           stream.streamWchar(wcharField, "Wchar") &&
           stream.streamIndex(indexField, nullptr, nullptr, "Index") && areaField.stream(stream);
}

bool FieldNode::streamTexts(System& system, Stream& stream) {
    return stream.streamString(stringField, "String") &&
           stream.streamWstring(wstringField, "Wstring") &&
           stream.streamPicture(system, pictureField, "Picture") &&
           stream.streamFont(system, fontField, "Font") &&
           stream.streamSound(system, soundField, "Sound");
}

bool FieldNode::streamReferences(System& system, Stream& stream) {
    return stream.streamObject(system, objectField, "Object", nullptr) &&
           stream.streamEvent(system, eventField, "Event", nullptr) &&
           stream.streamAction(system, actionField, "Action", nullptr) &&
           stream.streamData(system, dataField, "Data", nullptr) &&
           stream.streamEffect(system, effectField, "Effect", nullptr) &&
           stream.streamFunction(system, functionField, "Function", nullptr) &&
           stream.streamStyle(system, styleField, "Style", nullptr) &&
           stream.streamTree(system, treeField, "Tree", nullptr) &&
           stream.streamChildNode(system, childField, "Child", nullptr) &&
           stream.streamList(system, listField, "List");
}

bool FieldNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) && streamNumbers(stream) && streamTexts(system, stream) &&
           streamReferences(system, stream);
}

void FieldNode::iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) {
    iterator.iterateChild(system, childField, areaField, ownField);
    Node::iterateIterator(system, mode, rect, iterator);
}

bool FieldNode::iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    Coordinate2& at = system.pointerPosition();
    bool inside = mode.isInside() && at.x >= areaField.x && at.x <= areaField.x + areaField.width &&
                  at.y >= areaField.y && at.y <= areaField.y + areaField.height;
    ownField.update(system, this, childField, areaField, elapsed, inside,
                    mode.targetLevel() >= 1.0f);
    if (childField && !childField->iterateUpdate(system, ownField, areaField, elapsed))
        return false;
    return Node::iterateUpdate(system, mode, rect, elapsed);
}

void FieldNode::iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                             EffectPipe& pipe) {
    if (childField) childField->iteratePaint(system, ownField, areaField, clip, pipe);
    Node::iteratePaint(system, mode, rect, clip, pipe);
}

void FieldNode::onPaint(System& system, Mode&, Rectangle& rect, Rectangle* clip, EffectPipe& pipe) {
    PaintData data;
    data.clipRect = clip;
    float left = rect.x + areaField.x;
    float top = rect.y + areaField.y;
    float right = left + areaField.width;
    float bottom = top + areaField.height;
    float xs[4] = {left, right, right, left};
    float ys[4] = {top, top, bottom, bottom};
    for (int i = 0; i < 4; ++i) {
        data.vertex[i].x = xs[i];
        data.vertex[i].y = ys[i];
        data.vertex[i].z = rect.z;
    }
    pipe.picturePaint(system, pictureField, data);
}

bool FieldNode::onButtonPress(System&, Rectangle&, Mode&, int button, int, int) {
    return boolField && button == ubyteField;
}

KOVA_IMPLEMENT_CLASS_NAMED(FieldNode, "kova_fuzz::FieldNode", &Node::absoluteClass)
KOVA_IMPLEMENT_CLASS_NAMED(OwnFileNode, "kova_fuzz::OwnFileNode", &FieldNode::absoluteClass)

}  // namespace kova_fuzz
