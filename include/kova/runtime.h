// Kova object runtime: the engine allocator and string helpers, run-time class
// records with creation by class name and live-instance counting, and the
// Object base with its life-cycle hooks.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>

#if defined(_WIN32)
#if defined(KOVA_BUILDING_DLL)
#define KOVA_API __declspec(dllexport)
#else
#define KOVA_API __declspec(dllimport)
#endif
#else
#define KOVA_API __attribute__((visibility("default")))
#endif

// Lets the compiler check the arguments of printf-style functions.
#if defined(__GNUC__)
#define KOVA_PRINTF_FORMAT(formatIndex, firstArgument) \
    __attribute__((format(printf, formatIndex, firstArgument)))
#else
#define KOVA_PRINTF_FORMAT(formatIndex, firstArgument)
#endif

namespace tarn {
namespace kova {

class RuntimeObject;
class System;
class Stream;
class IStream;
class OStream;

// Static allocator and string helpers. Every engine object is allocated and
// freed here, so a host can see where the engine's memory comes from.
class KOVA_API Memory {
public:
    static void* operator new(std::size_t size);
    static void* operator new[](std::size_t size);
    static void operator delete(void* p);
    static void operator delete[](void* p);

    static void memoryCopy(void* dst, const void* src, std::size_t n);
    static void memoryMove(void* dst, void* src, std::size_t n);

    static char* stringCreate(std::size_t n);
    static void stringDelete(char*& s);
    static unsigned int stringLength(const char* s);
    static char* stringDuplicate(const char* s);
    static void stringCopy(char* dst, const char* src);
    static void stringCopy(char* dst, const unsigned short* src);
    static void stringCopy(unsigned short* dst, const char* src);
    static void stringConcatenate(char* dst, const char* src);
    static int stringCompare(const char* a, const char* b);
    static int stringCompareNcs(const char* a, const char* b);
    static char* stringChar(const char* s, int c);
    static char* stringCharReverse(const char* s, int c);
    static int stringCharReplace(char* s, int from, int to);

    static unsigned short* wstringCreate(std::size_t n);
    static void wstringDelete(unsigned short*& s);
    static unsigned int wstringLength(const unsigned short* s);
    static unsigned short* wstringDuplicate(const unsigned short* s);

    static float stringToFloat(const char* s);
    static float wstringToFloat(const unsigned short* s);
    // Writes the digits without rounding; out must hold the integer part, the
    // point, the decimals and the terminator.
    static void floatToString(float value, int decimals, char* out);
    static void intToString(int value, char* out);
};

// One record per engine class. All records are linked into one chain ordered
// by short name, so the loader can find classes by name and code can test
// whether an object belongs to a class family.
class KOVA_API RuntimeClass {
public:
    explicit RuntimeClass(const char* fullName);
    virtual ~RuntimeClass();
    RuntimeClass(const RuntimeClass&) = delete;
    RuntimeClass& operator=(const RuntimeClass&) = delete;

    virtual RuntimeClass* parentClass();
    virtual RuntimeObject* create();
    virtual const char* description();
    virtual void increaseClassInstance();
    virtual void decreaseClassInstance();
    virtual int classInstanceCount();
    virtual int classInstanceSize();

    const char* name() const { return fullName_ + shortNameIndex_; }
    const char* fullName() const { return fullName_; }
    RuntimeClass* next() const { return next_; }

    bool is(RuntimeClass* c);
    bool is(const char* fullName);

    static RuntimeClass* firstClass(RuntimeClass* filter);
    RuntimeClass* nextClass(RuntimeClass* filter);
    static bool isClass(void* p);
    static RuntimeClass* findClass(const char* name);
    static int totalClassInstanceCount();
    static int totalClassMemoryCount();

private:
    static RuntimeClass*& head();
    static RuntimeClass** buckets(bool shortNames);
    void link();

    RuntimeClass* next_ = nullptr;
    const char* fullName_;
    int shortNameIndex_ = 0;
    // The chain's look-up index: records whose full (short) names hash alike.
    RuntimeClass* nextSameFullHash_ = nullptr;
    RuntimeClass* nextSameShortHash_ = nullptr;
};

// The record of one class X with run-time parent P. create() builds an X with
// its default constructor; classes without one cannot be created by name.
template <class X>
class ClassRecord : public RuntimeClass {
public:
    ClassRecord(const char* fullName, RuntimeClass* (*parent)())
        : RuntimeClass(fullName), parent_(parent) {}

    // Asked for every step of every kind-of test, so the parent's record,
    // which never changes, is looked up once.
    RuntimeClass* parentClass() override {
        if (!parentRecord_ && parent_) parentRecord_ = parent_();
        return parentRecord_;
    }
    RuntimeObject* create() override {
        if constexpr (std::is_default_constructible_v<X>) {
            void* memory = Memory::operator new(sizeof(X));
            return memory ? new (memory) X() : nullptr;
        } else {
            return nullptr;
        }
    }
    const char* description() override { return X::description(); }
    void increaseClassInstance() override { ++count_; }
    void decreaseClassInstance() override { --count_; }
    int classInstanceCount() override { return count_; }
    int classInstanceSize() override { return static_cast<int>(sizeof(X)); }

private:
    RuntimeClass* (*parent_)();
    RuntimeClass* parentRecord_ = nullptr;
    int count_ = 0;
};

// Declares the run-time record operations of a class; put it in the class body.
#define KOVA_RUNTIME_CLASS(X)                           \
public:                                                 \
    static ::tarn::kova::RuntimeClass* absoluteClass(); \
    ::tarn::kova::RuntimeClass* actualClass() override; \
    int memorySize() override;                          \
    void kill() override;                               \
                                                        \
private:

// Defines them in the class's source file. The file-level static builds the
// record when the library loads, so the whole chain exists before the host
// calls anything. Hosts may use it for classes of their own, with a full name
// of their choice.
#define KOVA_IMPLEMENT_CLASS_NAMED(X, FULLNAME, PARENT_RECORD)              \
    ::tarn::kova::RuntimeClass* X::absoluteClass() {                        \
        static ::tarn::kova::RuntimeClass* record =                         \
            new ::tarn::kova::ClassRecord<X>(FULLNAME, PARENT_RECORD);      \
        return record;                                                      \
    }                                                                       \
    ::tarn::kova::RuntimeClass* X::actualClass() {                          \
        return X::absoluteClass();                                          \
    }                                                                       \
    int X::memorySize() {                                                   \
        return static_cast<int>(sizeof(X));                                 \
    }                                                                       \
    void X::kill() {                                                        \
        this->~X();                                                         \
        ::tarn::kova::Memory::operator delete(this);                        \
    }                                                                       \
    namespace {                                                             \
    ::tarn::kova::RuntimeClass* const kovaRecordOf##X = X::absoluteClass(); \
    }

// Engine classes: run-time name "tarn::kova::X" and run-time parent PARENT.
#define KOVA_IMPLEMENT_CLASS(X, PARENT) \
    KOVA_IMPLEMENT_CLASS_NAMED(X, "tarn::kova::" #X, &PARENT::absoluteClass)

// The root of every engine object. Its static create and destroy are the only
// counted way objects are born and die.
class KOVA_API RuntimeObject {
public:
    RuntimeObject() = default;
    virtual ~RuntimeObject() = default;
    RuntimeObject(const RuntimeObject&) = delete;
    RuntimeObject& operator=(const RuntimeObject&) = delete;

    static RuntimeClass* absoluteClass();
    virtual RuntimeClass* actualClass();
    virtual int memorySize();
    virtual void kill();
    virtual bool onCreate() { return true; }
    virtual bool onDestroy() { return true; }

    static const char* description() { return nullptr; }

    static bool create(RuntimeObject*& ref, RuntimeClass* cls);
    static bool destroy(RuntimeObject*& ref);

    // Typed forms, so a reference of a derived type can be used directly.
    template <class T>
    static bool create(T*& ref, RuntimeClass* cls) {
        RuntimeObject* object = ref;
        bool ok = create(object, cls);
        ref = static_cast<T*>(object);
        return ok;
    }
    template <class T>
    static bool destroy(T*& ref) {
        RuntimeObject* object = ref;
        bool ok = destroy(object);
        ref = static_cast<T*>(object);
        return ok;
    }
};

// Base of every nameable, streamable engine object. It adds no data, only the
// hooks through which creation, clearing, streaming, loading, saving and
// registration reach each class.
class KOVA_API Object : public RuntimeObject {
    KOVA_RUNTIME_CLASS(Object)
public:
    Object() = default;

    virtual const char* name() { return nullptr; }
    virtual bool setName(const char*) { return false; }
    virtual bool isStreamOwner() { return false; }
    virtual bool mustHaveName() { return false; }
    virtual bool onCreate(System& system);
    virtual bool onClear(System& system, Stream& stream);
    virtual bool onStream(System& system, Stream& stream);
    virtual bool onLoad(System& system, IStream& stream);
    virtual bool onSave(System& system, OStream& stream);
    virtual bool onRegister(System& system, Stream& stream);
    using RuntimeObject::onCreate;

    bool canHaveName(System& system);

    static bool create(System& system, Object*& ref, RuntimeClass* cls);
    static bool create(System& system, Object*& ref, Object* object);
    static bool clear(System& system, Object*& ref);
    static bool load(System& system, Object*& ref, IStream& in);
    static bool save(System& system, Object*& ref, OStream& out);
    static bool loadNewStream(System& system, Object*& ref, const char* name);
    static bool saveNewStream(System& system, Object*& ref);

    // Typed forms of create and clear for references to derived classes.
    template <class T>
    static bool create(System& system, T*& ref, RuntimeClass* cls) {
        Object* object = ref;
        bool ok = create(system, object, cls);
        ref = static_cast<T*>(object);
        return ok;
    }
    template <class T>
    static bool clear(System& system, T*& ref) {
        Object* object = ref;
        bool ok = clear(system, object);
        ref = static_cast<T*>(object);
        return ok;
    }

protected:
    static bool loadNew(System& system, Object*& ref, IStream& in, const char* name);
};

}  // namespace kova
}  // namespace tarn
