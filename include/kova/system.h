// Kova System: the central engine object. The host derives from it, supplies
// all input and output through its virtual host operations, and drives it
// once per frame.
#pragma once

#include "kova/geometry.h"
#include "kova/node.h"
#include "kova/runtime.h"

namespace tarn {
namespace kova {

class Data;
class Function;
class MessageManager;
class NameTree;
class Pointer;
class Style;
struct CharacterMetrics;

class KOVA_API System : public Object {
    KOVA_RUNTIME_CLASS(System)
public:
    System(float width, float height);
    ~System() override;

    virtual bool init();
    virtual bool exit();
    virtual void setSize(float width, float height);
    virtual bool update(float elapsed);
    virtual bool paint();
    virtual bool pointerMove(float x, float y);

    // Host operations; the defaults are what the engine does without a host.
    virtual OStream* infoOStream() { return nullptr; }
    virtual IStream* createIStream(const char*) { return nullptr; }
    virtual OStream* createOStream(const char*) { return nullptr; }
    virtual void deleteIStream(IStream* stream);
    virtual void deleteOStream(OStream* stream);
    virtual bool setPointerPosition(float&, float&) { return true; }
    virtual bool charPaint(int, int, PaintData&) { return false; }
    virtual bool charMetrics(int, int, CharacterMetrics&) { return false; }
    virtual float charKerning(int, int, int) { return 0.0f; }
    virtual float fontHeight(int) { return 0.0f; }
    virtual int fontHandle(const char*) { return 0; }
    virtual const char* fontName(int) { return nullptr; }
    virtual bool picturePaint(int, PaintData&) { return false; }
    virtual int pictureHandle(const char*) { return 0; }
    virtual const char* pictureName(int) { return nullptr; }
    virtual float pictureWidth(int) { return 0.0f; }
    virtual float pictureHeight(int) { return 0.0f; }
    virtual bool soundPlay(int, float) { return false; }
    virtual int soundHandle(const char*) { return 0; }
    virtual const char* soundName(int) { return nullptr; }
    virtual void onPrePaint() {}
    virtual void onPostPaint() {}
    virtual bool onPreUpdate(float) { return true; }
    virtual bool onPostUpdate(float) { return true; }
    virtual void onSetSize(Coordinate2&, Coordinate2&) {}

    bool onRegister(System& system, Stream& stream) override;

    // The engine's log: one formatted line to the host's information stream.
    void printf(const char* format, ...) KOVA_PRINTF_FORMAT(2, 3);

    // Registration and naming of objects.
    Object* registerObject(Object* object, const char* directory);
    Data* registerData(Data* data, const char* directory);
    Function* registerFunction(Function* function, const char* directory);
    Style* registerStyle(Style* style, const char* directory);
    Object* reRegisterObject(Object* object, const char* directory, bool destroyOld,
                             bool creationDone);
    bool addNamedObject(Object* object, const char* directory);
    bool removeNamedObject(Object* object);
    Object* findNamedObject(const char* fullName);
    bool copyObjectFullName(Object* object, char* buffer, int size);
    bool isNameableObject(Object* object);
    bool setObjectName(Object* object, const char* path);
    bool callFunction(const char* fullName);

    // Loading and saving object files, optionally through a cache file.
    bool load(const char* name, const char* cacheName);
    bool load(const char* name, Object*& object);
    bool save();
    bool streamAll(Stream& stream);
    IStream* createObjectIStream(const char* name);
    OStream* createObjectOStream(const char* name);

    // Bookkeeping of the object-file reader and writer, which guards against
    // damaged files: how deeply records and own files are nested right now,
    // and how many records the current load has read.
    struct RecordNesting {
        int records = 0;
        int files = 0;
        long long recordsRead = 0;
        int nodeWalk = 0;               // depth of the node walk under way
        bool nodeWalkReported = false;  // a too deep walk is logged once
    };
    RecordNesting& recordNesting() { return recordNesting_; }

    // Input reports from the host, queued until the next update.
    bool buttonPress(int button, int inputIndex, int repeatCount);
    bool buttonRelease(int button, int inputIndex);
    bool unicodePress(int character, int inputIndex, int repeatCount);
    bool unicodeRelease(int character, int inputIndex);
    void postMessage(int type, int inputIndex, float first, float second, float third);

    float width() const { return clipRect_.width; }
    float height() const { return clipRect_.height; }
    Rectangle& clipRect() { return clipRect_; }
    Node*& firstNode() { return firstNode_; }
    Pointer*& pointer() { return pointer_; }
    Style* systemStyle() { return systemStyle_; }
    Mode& mode() { return mode_; }
    NameTree* nameTree() { return nameTree_; }
    MessageManager* messageManager() { return messageManager_; }
    Coordinate2& pointerPosition() { return pointerPosition_; }
    Coordinate2& pointerOldPosition() { return pointerOldPosition_; }

    int focusLockCount() const { return focusLockCount_; }
    void increaseLockCount() { ++focusLockCount_; }
    void decreaseLockCount() { --focusLockCount_; }

private:
    Rectangle clipRect_;
    Node* firstNode_ = nullptr;
    Pointer* pointer_ = nullptr;
    Style* systemStyle_ = nullptr;
    Mode mode_;
    int focusLockCount_ = 0;
    NameTree* nameTree_ = nullptr;
    Coordinate2 pointerPosition_;
    Coordinate2 pointerOldPosition_;
    MessageManager* messageManager_ = nullptr;
    IStream* cacheIStream_ = nullptr;
    OStream* cacheOStream_ = nullptr;
    RecordNesting recordNesting_;

    void openCache(const char* cacheName);
    void closeCache();
    void sendToTree(int type);
};

inline NodeWalkScope::NodeWalkScope(System& system) : system_(system) {
    System::RecordNesting& nesting = system.recordNesting();
    tooDeep_ = ++nesting.nodeWalk > DeepestWalk;
    if (tooDeep_ && !nesting.nodeWalkReported) reportTooDeep(system);
}

inline NodeWalkScope::~NodeWalkScope() {
    --system_.recordNesting().nodeWalk;
}

}  // namespace kova
}  // namespace tarn
