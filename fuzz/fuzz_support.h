// What the fuzz targets share: a host that serves named files from memory and
// knows every resource name it is asked about, node classes that use every
// field type, and the check that nothing outlives System::exit.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "file_host.h"

namespace kova_fuzz {

using namespace tarn::kova;
using kova_test::Bytes;

// Every log write must be one whole line of the engine's own form. With
// KOVA_FUZZ_LOG set in the environment the lines are shown, which helps when
// reading a reproducer.
class LogCheck : public OStream {
public:
    int writeBuffer(const void* data, int size) override;

private:
    bool verbose_ = std::getenv("KOVA_FUZZ_LOG") != nullptr;
};

// Resource handles are positions in a list of the names seen so far, so a
// name read from a file maps to a handle and back to the same name.
class FuzzHost : public kova_test::FileHost {
public:
    OStream* infoOStream() override { return &logCheck_; }
    int pictureHandle(const char* name) override { return handleOf(name); }
    int fontHandle(const char* name) override { return handleOf(name); }
    int soundHandle(const char* name) override { return handleOf(name); }
    const char* pictureName(int handle) override { return nameOf(handle); }
    const char* fontName(int handle) override { return nameOf(handle); }
    const char* soundName(int handle) override { return nameOf(handle); }
    float pictureWidth(int) override { return 16.0f; }
    float pictureHeight(int) override { return 16.0f; }

private:
    int handleOf(const char* name);
    const char* nameOf(int handle);

    std::vector<std::string> resources_;
    LogCheck logCheck_;
};

// A node with a field of every type, a child slot that it walks like a
// region, and a list of nodes. It keeps its own name so files can name it.
class FieldNode : public Node {
    KOVA_RUNTIME_CLASS(FieldNode)
public:
    FieldNode() = default;
    ~FieldNode() override;

    const char* name() override { return name_; }
    bool setName(const char* name) override;
    bool onStream(System& system, Stream& stream) override;
    Mode* mode() override { return &ownField; }
    void iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) override;
    bool iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
    void onPaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                 EffectPipe& pipe) override;
    bool onButtonPress(System& system, Rectangle& rect, Mode& mode, int button, int inputIndex,
                       int repeatCount) override;

    // Public, so seed files can be made with any values.
    unsigned char ubyteField = 0;
    signed char sbyteField = 0;
    unsigned short ushortField = 0;
    short sshortField = 0;
    unsigned int ulongField = 0;
    int slongField = 0;
    float floatField = 0.0f;
    bool boolField = false;
    int intField = 0;
    char* stringField = nullptr;
    unsigned short* wstringField = nullptr;
    unsigned short wcharField = 0;
    int pictureField = 0;
    int fontField = 0;
    int soundField = 0;
    int indexField = 0;
    Rectangle areaField{-100.0f, -100.0f, 200.0f, 200.0f, 0.0f};
    Mode ownField{1.0f, 1.0f, false};
    Object* objectField = nullptr;
    Event* eventField = nullptr;
    Action* actionField = nullptr;
    Data* dataField = nullptr;
    Effect* effectField = nullptr;
    Function* functionField = nullptr;
    Style* styleField = nullptr;
    Tree* treeField = nullptr;
    Node* childField = nullptr;
    ObjectList listField{Node::absoluteClass()};

private:
    char* name_ = nullptr;

    bool streamNumbers(Stream& stream);
    bool streamTexts(System& system, Stream& stream);
    bool streamReferences(System& system, Stream& stream);
};

// The same node kept in an object file of its own when it is named.
class OwnFileNode : public FieldNode {
    KOVA_RUNTIME_CLASS(OwnFileNode)
public:
    bool isStreamOwner() override { return true; }
};

// Aborts, naming the class, when any class still has live instances.
inline void requireNothingAlive(const char* when) {
    for (RuntimeClass* c = RuntimeClass::firstClass(nullptr); c; c = c->nextClass(nullptr)) {
        if (c->classInstanceCount() != 0) {
            std::fprintf(stderr, "%s: %d live instances of %s\n", when, c->classInstanceCount(),
                         c->fullName());
            std::abort();
        }
    }
}

}  // namespace kova_fuzz
